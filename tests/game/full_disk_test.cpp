// Hi-score saves onto a file system that is full, then read-only, then writable again: the old
// table stays on disk byte for byte, the game goes on with the new table in memory, one line
// says so, and the first save that can be written writes everything. It needs a small file
// system of its own, which tests/game/full_disk.sh mounts (as root) and names in
// ZORVANE_FULL_DISK_DIR; without it the test is skipped.
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "game/game_fixture.h"
#include "game/hiscore.h"
#include "platform/common/storage.h"

namespace {

class FullDisk : public GameScreen {
 protected:
  void TearDown() override {
    storage_use_current_folder();
    GameScreen::TearDown();
  }
  // Ends the last life with this score and confirms the initials as offered ("AAA").
  static void game_over_and_save(int32_t score) {
    game_lives = 1, game_score = score, game_phase = PHASE_LIFE_LOST;
    run_frames(2);
    ASSERT_EQ(game_phase, PHASE_HISCORE_ENTRY);
    frames_with({VK_RETURN});
  }
  // Writes zeros into a new file until the file system refuses more.
  static void fill(const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0) << std::strerror(errno);
    const std::vector<char> block(4096, 0);
    while (write(fd, block.data(), block.size()) > 0) {
    }
    const int why = errno;
    close(fd);
    ASSERT_EQ(why, ENOSPC) << std::strerror(why);
  }
  static std::vector<std::string> names_in(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(FullDisk, TheOldTableStaysTheGameGoesOnAndTheNextWritableSaveWritesAll) {
  const char* disk_env = std::getenv("ZORVANE_FULL_DISK_DIR");
  if (!disk_env || !*disk_env) GTEST_SKIP() << "needs a small file system of its own (tests/game/full_disk.sh)";
  const std::string disk = disk_env, file = disk + "/scores.dat", filler = disk + "/filler";
  const std::string old_table = "TOP 5000\n" + repeat("- 0\n", 9);
  write_file(file, old_table);
  StorageEnvironment env;
  env.scores_option = file;
  env.data_option = std::filesystem::current_path().string();  // the pictures and sounds linked there
  storage_configure(env);

  // Full: the save fails, the file is as it was, one line tells why, a new game starts.
  fill(filler);
  testing::internal::CaptureStderr();
  game_over_and_save(500);
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(read_file(file), old_table);
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find(file), std::string::npos) << said;
  EXPECT_NE(said.find(std::strerror(ENOSPC)), std::string::npos) << said;
  EXPECT_EQ((Values{game_phase, game_score, game_lives}), (Values{PHASE_PLAYING, 0, 5}));
  run_frames(30);
  EXPECT_EQ(game_phase, PHASE_PLAYING);
  EXPECT_EQ(names_in(disk), (std::vector<std::string>{"filler", "scores.dat"}));  // no temporary file left
  std::string shown;
  ASSERT_TRUE(platform_scores_read(&shown));
  EXPECT_EQ(shown, "TOP 5000\nAAA 500\n" + repeat("- 0\n", 8));  // the table of this run

  // Read-only: fails the same way, and says nothing more.
  const bool remounted = mount(nullptr, disk.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  if (remounted) {
    testing::internal::CaptureStderr();
    game_over_and_save(600);
    said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(read_file(file), old_table);
    EXPECT_EQ(said, "");
    EXPECT_EQ(game_phase, PHASE_PLAYING);
    ASSERT_EQ(mount(nullptr, disk.c_str(), nullptr, MS_REMOUNT, nullptr), 0) << std::strerror(errno);
  }

  // Space again: the next save writes the table with every score of the run.
  std::filesystem::remove(filler);
  game_over_and_save(700);
  const std::string expected = remounted ? "TOP 5000\nAAA 700\nAAA 600\nAAA 500\n" + repeat("- 0\n", 6)
                                         : "TOP 5000\nAAA 700\nAAA 500\n" + repeat("- 0\n", 7);
  EXPECT_EQ(read_file(file), expected);
  EXPECT_EQ(names_in(disk), std::vector<std::string>{"scores.dat"});
  EXPECT_EQ(game_phase, PHASE_PLAYING);
}

}  // namespace
