// Where each setting comes from (command line, then what was remembered, then the player's file,
// then the defaults), the --print-config text reading back to the settings in force, and the
// remembered choices saved at most once a second, atomically, never by a replay.
#include "platform/common/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/common/audio_mixer.h"
#include "platform/common/settings_files.h"
#include "platform/platform.h"

namespace {

SettingsSources sources(const char* config, const char* state) {
  SettingsSources s;
  s.config_name = "zorvane.toml";
  s.config = config_parse(config, s.config_name, ConfigKind::PLAYER);
  s.state_name = "state.toml";
  s.state = config_parse(state, s.state_name, ConfigKind::STATE);
  return s;
}

bool same(const Settings& a, const Settings& b) {
  for (int32_t i = 0; i < ACTION_COUNT; ++i)
    if (a.keys.keys[i] != b.keys.keys[i]) return false;
  return a.volume == b.volume && a.muted == b.muted && a.fullscreen == b.fullscreen &&
         a.integer_scale == b.integer_scale && a.window_width == b.window_width && a.window_height == b.window_height;
}

std::vector<std::string> saves;
bool fail_saves = false;
bool record_save(const std::string& text) {
  saves.push_back(text);
  return !fail_saves;
}

}  // namespace

TEST(Settings, CommandLineThenRememberedThenFileThenDefaults) {
  const char* file = "[sound]\nvolume = 50\nmuted = true\n[window]\nfullscreen = false\nscale = \"integer\"\n";
  const char* state = "[window]\nfullscreen = true\nwidth = 900\nheight = 700\n[sound]\nvolume = 80\n";
  Settings s = settings_merge(sources("", ""));
  EXPECT_TRUE(same(s, Settings{}));
  EXPECT_EQ(s.volume, 100);
  EXPECT_TRUE(s.fullscreen);
  s = settings_merge(sources(file, ""));
  EXPECT_EQ(s.volume, 50);
  EXPECT_TRUE(s.muted);
  EXPECT_FALSE(s.fullscreen);
  EXPECT_TRUE(s.integer_scale);
  // What the last game left wins over the file; what it did not remember (mute) stays the file's.
  s = settings_merge(sources(file, state));
  EXPECT_EQ(s.volume, 80);
  EXPECT_TRUE(s.muted);
  EXPECT_TRUE(s.fullscreen);
  EXPECT_EQ(s.window_width, 900);
  EXPECT_EQ(s.window_height, 700);
  // The environment's window over both, the command line over everything.
  SettingsSources src = sources(file, state);
  src.env_windowed = true;
  EXPECT_FALSE(settings_merge(src).fullscreen);
  src.command_windowed = 0;
  EXPECT_TRUE(settings_merge(src).fullscreen);
  src.command_integer_scale = 0;
  EXPECT_FALSE(settings_merge(src).integer_scale);
  // A state file that is not TOML is ignored whole: the file decides again.
  s = settings_merge(sources(file, "[window\n"));
  EXPECT_EQ(s.volume, 50);
}

TEST(Settings, PrintedConfigurationReadsBackToTheSettingsInForce) {
  const char* files[] = {
      "",
      "[keys]\nslow = [\"KeyZ\"]\nfast = [\"KeyZ\", \"Space\"]\nmute = []\n[sound]\nvolume = 30\n",
      "[window]\nfullscreen = false\nscale = \"integer\"\n[sound]\nmuted = true\n",
      "[keys]\nconfirm = [\"Alt+KeyA\", \"Ctrl+Shift+F5\"]\nfullscreen = [\"F10\"]\n",
  };
  const char* states[] = {"", "[window]\nfullscreen = false\nwidth = 800\nheight = 640\n[sound]\nvolume = 60\nmuted = true\n"};
  for (const char* file : files)
    for (const char* state : states)
      for (int32_t command : {-1, 1}) {
        SCOPED_TRACE(std::string(file) + "|" + state + "|" + std::to_string(command));
        SettingsSources src = sources(file, state);
        src.command_windowed = command;
        const std::string printed = settings_print(src);
        SettingsSources back = src;
        back.config = config_parse(printed, "printed.toml", ConfigKind::PLAYER);
        EXPECT_TRUE(back.config.valid);
        EXPECT_TRUE(back.config.messages.empty()) << back.config.messages[0];
        EXPECT_TRUE(same(settings_merge(back), settings_merge(src))) << printed;
        // Without what was remembered, the printed file is the player's file again.
        SettingsSources alone = back;
        alone.state = ConfigRead{};
        SettingsSources file_alone = src;
        file_alone.state = ConfigRead{};
        EXPECT_TRUE(same(settings_merge(alone), settings_merge(file_alone))) << printed;
      }
  // The remembered four are there, commented out.
  const std::string printed = settings_print(sources("", states[1]));
  for (const char* line : {"# volume = 60", "# muted = true", "# fullscreen = false", "800 x 640"})
    EXPECT_NE(printed.find(line), std::string::npos) << line << "\n" << printed;
  for (int32_t a = 0; a < ACTION_COUNT; ++a)
    EXPECT_NE(printed.find(std::string("\n") + ACTIONS[a].name + " = ["), std::string::npos) << ACTIONS[a].name;
}

TEST(Settings, ChangesAreSavedAtMostOnceASecondAndAtTheEndButNeverByAReplay) {
  saves.clear();
  fail_saves = false;
  settings_begin(sources("", "[sound]\nvolume = 70\n"), true, record_save);
  EXPECT_EQ(settings_now().volume, 70);
  EXPECT_EQ(mixer_master_gain(), mixer_volume_gain(70));
  settings_tick(0);
  EXPECT_TRUE(saves.empty()) << "nothing changed, nothing written";
  settings_set_volume(60);
  settings_tick(100);
  ASSERT_EQ(saves.size(), 1u);
  EXPECT_NE(saves[0].find("volume = 60"), std::string::npos);
  settings_set_muted(true);
  EXPECT_EQ(mixer_master_gain(), 0);
  settings_tick(600);
  settings_set_volume(50);
  settings_tick(1099);
  EXPECT_EQ(saves.size(), 1u) << "a second has not passed";
  settings_tick(1100);
  ASSERT_EQ(saves.size(), 2u);
  EXPECT_NE(saves[1].find("volume = 50"), std::string::npos);
  EXPECT_NE(saves[1].find("muted = true"), std::string::npos);
  settings_set_fullscreen(false);
  settings_set_window_size(1000, 750);
  settings_finish();
  ASSERT_EQ(saves.size(), 3u);
  // What the game writes reads back as the state it holds.
  const ConfigRead back = config_parse(saves[2], "state.toml", ConfigKind::STATE);
  EXPECT_TRUE(back.messages.empty());
  EXPECT_EQ(back.values.fullscreen, 0);
  EXPECT_EQ(back.values.window_width, 1000);
  EXPECT_EQ(back.values.volume, 50);
  // A replay changes what it likes and writes nothing.
  saves.clear();
  settings_begin(sources("", ""), false, record_save);
  settings_set_volume(10);
  settings_tick(5000);
  settings_finish();
  EXPECT_TRUE(saves.empty());
  // A save that fails is tried no more: the game goes on.
  settings_begin(sources("", ""), true, record_save);
  fail_saves = true;
  settings_set_volume(20);
  settings_tick(0);
  settings_set_volume(30);
  settings_tick(5000);
  settings_finish();
  EXPECT_EQ(saves.size(), 1u);
  EXPECT_EQ(settings_now().volume, 30);
  settings_reset();
  EXPECT_EQ(mixer_master_gain(), MIX_UNITY);
}

class SettingsFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zorvane-settings-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME", "XDG_CONFIG_DIRS"})
      setenv(name, (root_ / name).c_str(), 1);
  }
  void TearDown() override {
    settings_reset();
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  static std::string text_of(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }
  std::filesystem::path root_;
};

TEST_F(SettingsFiles, TheStateFileIsReplacedWholeAndReadAtTheNextStart) {
  const std::filesystem::path state = root_ / "XDG_STATE_HOME/zorvane/state.toml";
  platform_configure_video(-1, -1);
  platform_configure_settings(nullptr, true);
  EXPECT_TRUE(settings_now().fullscreen);
  settings_set_fullscreen(false);
  settings_set_volume(40);
  settings_finish();
  ASSERT_TRUE(std::filesystem::is_regular_file(state));
  EXPECT_EQ(std::filesystem::status(state.parent_path()).permissions() & std::filesystem::perms::others_all,
            std::filesystem::perms::none);
  struct stat before;
  ASSERT_EQ(stat(state.c_str(), &before), 0);
  // The next start finds it; a change replaces the file (a new inode from the rename), leaving
  // no temporary file beside it.
  platform_configure_settings(nullptr, true);
  EXPECT_FALSE(settings_now().fullscreen);
  EXPECT_EQ(settings_now().volume, 40);
  settings_set_muted(true);
  settings_finish();
  struct stat after;
  ASSERT_EQ(stat(state.c_str(), &after), 0);
  EXPECT_NE(before.st_ino, after.st_ino);
  size_t files = 0;
  for (const auto& e : std::filesystem::directory_iterator(state.parent_path())) files += e.is_regular_file();
  EXPECT_EQ(files, 1u);
  EXPECT_NE(text_of(state).find("muted = true"), std::string::npos);
  // The command line still wins over what was remembered.
  platform_configure_video(0, -1);
  platform_configure_settings(nullptr, true);
  EXPECT_TRUE(settings_now().fullscreen);
  platform_configure_video(-1, -1);
}

TEST_F(SettingsFiles, AStateThatCannotBeWrittenIsToldOnceAndTheGameGoesOn) {
  // A file where the state's folder should be.
  std::filesystem::create_directories(root_ / "XDG_STATE_HOME");
  std::ofstream(root_ / "XDG_STATE_HOME/zorvane") << "in the way";
  platform_configure_settings(nullptr, true);
  testing::internal::CaptureStderr();
  settings_set_volume(50);
  settings_tick(0);
  settings_set_volume(40);
  settings_finish();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  EXPECT_NE(err.find("cannot write"), std::string::npos) << err;
  EXPECT_EQ(settings_now().volume, 40);
}
