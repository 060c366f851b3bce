// Where the hi-score table lives: the player's home by the base-directory rules, --scores over
// it, folders made at the first save, an old table copied home once and never touched, and a
// home that cannot be written costing one line and nothing else.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "app/storage_fixture.h"
#include "platform/platform.h"

namespace {

TEST(ScoresFile, OptionThenAbsoluteXdgDataHomeThenHome) {
  struct Case {
    const char* what;
    StorageEnvironment env;
    std::string want;
  };
  const Case cases[] = {
      {"--scores wins", {"", "my.dat", "", "/xdg", "/home/p", "", ""}, "my.dat"},
      {"XDG_DATA_HOME", {"", "", "", "/xdg/", "/home/p", "", ""}, "/xdg/zorvane/scores.dat"},
      {"relative XDG_DATA_HOME ignored", {"", "", "", "xdg", "/home/p", "", ""},
       "/home/p/.local/share/zorvane/scores.dat"},
      {"home only", {"", "", "", "", "/home/p", "", ""}, "/home/p/.local/share/zorvane/scores.dat"},
      {"no home at all", {}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(storage_scores_file(c.env), c.want) << c.what;
}

class Scores : public TempTree {
 protected:
  // A run of the game: the platform configured as at start-up.
  void start_run(const std::string& scores_option = "") {
    StorageEnvironment env;
    env.home = at("home");
    env.scores_option = scores_option;
    env.zorvane_data = at("data1");
    env.installed_data = at("data2");
    storage_configure(env);
  }
  std::string home_file() const { return at("home/.local/share/zorvane/scores.dat"); }
  static std::string read() {
    std::string text;
    return platform_scores_read(&text) ? text : "<none>";
  }
};

TEST_F(Scores, FoldersAreMadeAtTheFirstSaveAndEverySaveReplacesTheWholeFile) {
  start_run();
  EXPECT_EQ(read(), "<none>");
  EXPECT_FALSE(std::filesystem::exists(at("home/.local")));  // a read makes nothing
  ASSERT_TRUE(platform_scores_write("AAA 500\n"));
  EXPECT_EQ(text_of(home_file()), "AAA 500\n");
  struct stat st;
  ASSERT_EQ(stat(at("home/.local/share/zorvane").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  ASSERT_TRUE(platform_scores_write("BBB 900\nAAA 500\n"));
  EXPECT_EQ(read(), "BBB 900\nAAA 500\n");
  // Nothing but the table is left in its folder (no temporary files).
  int entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(at("home/.local/share/zorvane"))) entries += e.exists();
  EXPECT_EQ(entries, 1);
}

TEST_F(Scores, AnOldTableInADataFolderIsCopiedHomeOnceAndLeftAlone) {
  const std::string old_file = put("data2/scores.dat", "OLD 700\n");
  put("data1/STAR.BMP", "");  // the first data folder has no table
  start_run();
  EXPECT_EQ(read(), "OLD 700\n");
  EXPECT_EQ(text_of(home_file()), "OLD 700\n");
  ASSERT_TRUE(platform_scores_write("NEW 900\nOLD 700\n"));
  EXPECT_EQ(text_of(old_file), "OLD 700\n");
  // The next run finds the home table; a changed old file is not imported again.
  put("data2/scores.dat", "OLD 800\n");
  start_run();
  EXPECT_EQ(read(), "NEW 900\nOLD 700\n");
  EXPECT_EQ(text_of(old_file), "OLD 800\n");
}

TEST_F(Scores, ScoresOptionIsUsedAsItIsWithNoImport) {
  put("data1/scores.dat", "OLD 700\n");
  start_run(at("mine/table.dat"));
  EXPECT_EQ(read(), "<none>");
  ASSERT_TRUE(platform_scores_write("ZZZ 10\n"));
  EXPECT_EQ(text_of(at("mine/table.dat")), "ZZZ 10\n");
  EXPECT_FALSE(std::filesystem::exists(home_file()));
}

// A regular file where a folder should be stops even root, which ignores permissions.
TEST_F(Scores, AnUnwritableHomeCostsOneLineAndTheTableStillWorksThisRun) {
  put("home/.local", "not a folder");
  put("data1/scores.dat", "OLD 700\n");
  start_run();
  testing::internal::CaptureStderr();
  EXPECT_EQ(read(), "OLD 700\n");  // the import fails, the old table is still shown
  EXPECT_FALSE(platform_scores_write("NEW 900\nOLD 700\n"));
  EXPECT_FALSE(platform_scores_write("NEW 950\nOLD 700\n"));
  EXPECT_EQ(read(), "NEW 950\nOLD 700\n");
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find(home_file()), std::string::npos) << said;
  EXPECT_EQ(text_of(at("data1/scores.dat")), "OLD 700\n");
}

TEST_F(Scores, NoHomeAndAFifoForATableNeitherFailLoudlyNorBlock) {
  StorageEnvironment nowhere;
  storage_configure(nowhere);
  testing::internal::CaptureStderr();
  EXPECT_EQ(read(), "<none>");
  EXPECT_FALSE(platform_scores_write("AAA 1\n"));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("no home"), std::string::npos);
  // Opening a FIFO to read would wait for a writer forever.
  std::filesystem::create_directories(at("home/.local/share/zorvane"));
  ASSERT_EQ(mkfifo(home_file().c_str(), 0600), 0);
  start_run();
  EXPECT_EQ(read(), "<none>");
}

}  // namespace
