// Finding the pictures and sounds: the order of the folders, what counts as a data file, the one
// line that reports missing ones, and the loaders going through the search.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "app/storage_fixture.h"
#include "display/bitmap.h"
#include "platform/fake/fake_platform.h"
#include "platform/platform.h"
#include "sound/sound.h"

namespace {

using Folders = std::vector<std::string>;

TEST(DataFolders, SearchOrderIsOptionEnvironmentBesideTheProgramThenInstalled) {
  struct Case {
    const char* what;
    StorageEnvironment env;
    Folders want;
  };
  const Case cases[] = {
      {"all four", {"/opt", "", "/env", "", "/home/p", "/games/build", "/usr/share/zorvane"},
       {"/opt", "/env", "/games/build/data", "/usr/share/zorvane"}},
      {"unset ones skipped", {"", "", "", "", "/home/p", "/usr/games", "/usr/share/zorvane"},
       {"/usr/games/data", "/usr/share/zorvane"}},
      {"a folder named twice is searched once", {"/d", "", "/d", "", "", "/b", "/b/data"}, {"/d", "/b/data"}},
      {"program at the root", {"", "", "", "", "", "/", ""}, {"/data"}},
      {"relative --data kept as given", {"mydata", "", "", "", "", "", ""}, {"mydata"}},
      {"nothing known", {}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(storage_data_folders(c.env), c.want) << c.what;
}

class DataSearch : public TempTree {
 protected:
  void SetUp() override {
    TempTree::SetUp();
    StorageEnvironment env;
    env.data_option = at("opt");
    env.zorvane_data = at("env");
    env.program_folder = at("build");
    env.installed_data = at("share/zorvane");
    // Each name lies in the folders from its own position on: the first one must win.
    const char* layers[] = {"opt", "env", "build/data", "share/zorvane"};
    const char* names[] = {"A.BMP", "B.BMP", "C.wav", "D.wav"};
    for (int n = 0; n < 4; ++n)
      for (int f = n; f < 4; ++f) put(std::string(layers[f]) + "/" + names[n], layers[f]);
    // Neither a folder nor a FIFO by a file's name counts (a FIFO would block the reader).
    std::filesystem::create_directories(at("opt/D.wav"));
    ASSERT_EQ(mkfifo(at("env/D.wav").c_str(), 0600), 0);
    storage_configure(env);
  }
};

TEST_F(DataSearch, EachNameComesFromTheFirstFolderHoldingItAsAFile) {
  const std::pair<const char*, std::string> cases[] = {
      {"A.BMP", at("opt/A.BMP")},
      {"B.BMP", at("env/B.BMP")},
      {"C.wav", at("build/data/C.wav")},
      {"D.wav", at("share/zorvane/D.wav")},
  };
  testing::internal::CaptureStderr();
  for (const auto& [name, want] : cases) {
    EXPECT_EQ(platform_data_path(name), want) << name;
    EXPECT_EQ(storage_find_data(name), want) << name;
  }
  // A path is not searched for.
  EXPECT_EQ(platform_data_path("/nowhere/A.BMP"), "/nowhere/A.BMP");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(DataSearch, MissingFilesAreReportedOnceWithEveryFolderSearched) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(platform_data_path("STAR.BMP"), "");
  EXPECT_EQ(platform_data_path("quit.wav"), "");
  EXPECT_EQ(storage_find_data("quit.wav"), "");
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find("STAR.BMP"), std::string::npos) << said;
  for (const char* folder : {"opt", "env", "build/data", "share/zorvane"})
    EXPECT_NE(said.find(at(folder)), std::string::npos) << folder << " not named in: " << said;
}

// The game's loaders ask the search, from a current folder that holds nothing, and the sound
// keeps its bare name for the logs.
TEST_F(TempTree, PicturesAndSoundsLoadFromTheDataFolderWhateverTheCurrentFolder) {
  StorageEnvironment env;
  env.data_option = ZORVANE_DATA_DIR;
  storage_configure(env);
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(root_);
  BitmapFile sheet{};
  EXPECT_EQ(bitmap_load(&sheet, "OBJECTS2.BMP"), 1);
  bitmap_unload(&sheet);
  fake_reset();
  ASSERT_EQ(sound_init(), 1);
  sound_effect(SND_MENUSELECT);
  EXPECT_EQ(fake_sound_labels(), std::vector<std::string>{"menuselect.wav"});
  sound_shutdown();
  std::filesystem::current_path(previous);
}

}  // namespace
