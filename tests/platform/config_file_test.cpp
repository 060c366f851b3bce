// The settings reader: a table of good texts and of every kind of mistake, each mistake on its
// own line of the file with the rest still applying, a text that is not TOML ignored whole, and
// the file rules (only regular files, at most 64 KiB, never blocking on a FIFO).
#include "platform/common/config_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/common/settings_files.h"
#include "platform/platform.h"

namespace {

struct Case {
  const char* text;
  ConfigKind kind;
  std::vector<int32_t> lines;  // the lines complained about, in order
  const char* said;            // part of the first complaint
  SettingValues values;        // what still applies
};

std::vector<int32_t> lines_of(const ConfigRead& r) {
  std::vector<int32_t> lines;
  for (const std::string& m : r.messages) {
    EXPECT_EQ(m.rfind("f.toml:", 0), 0u) << m;
    EXPECT_EQ(m.find('\n'), std::string::npos) << m;
    lines.push_back(std::atoi(m.c_str() + 7));
  }
  return lines;
}

SettingValues v(int32_t volume, int32_t muted, int32_t fullscreen, int32_t scale, int32_t w = -1, int32_t h = -1) {
  return SettingValues{volume, muted, fullscreen, scale, w, h};
}

bool same(const SettingValues& a, const SettingValues& b) {
  return a.volume == b.volume && a.muted == b.muted && a.fullscreen == b.fullscreen &&
         a.integer_scale == b.integer_scale && a.window_width == b.window_width && a.window_height == b.window_height;
}

}  // namespace

TEST(ConfigFile, GoodTextsAndEveryKindOfMistake) {
  const ConfigKind P = ConfigKind::PLAYER, S = ConfigKind::STATE;
  const Case cases[] = {
      {"", P, {}, "", v(-1, -1, -1, -1)},
      {"# nothing but a comment\n", P, {}, "", v(-1, -1, -1, -1)},
      {"[sound]\nvolume = 70\nmuted = true\n[window]\nfullscreen = false\nscale = \"integer\"\n", P, {}, "",
       v(70, 1, 0, 1)},
      {"[sound]\nvolume = 0\n[window]\nscale = \"fit\"\n", P, {}, "", v(0, -1, -1, 0)},
      // Wrong type or out of range: that setting keeps its default, the others apply.
      {"[sound]\nvolume = 101\nmuted = true\n", P, {2}, "volume takes a whole number from 0 to 100", v(-1, 1, -1, -1)},
      {"[sound]\nvolume = -1\n", P, {2}, "keeps its default", v(-1, -1, -1, -1)},
      {"[sound]\nvolume = 50.0\n", P, {2}, "whole number", v(-1, -1, -1, -1)},
      {"[sound]\nvolume = \"70\"\nmuted = 1\n", P, {2, 3}, "volume", v(-1, -1, -1, -1)},
      {"[window]\nfullscreen = \"yes\"\nscale = \"stretch\"\n", P, {2, 3}, "fullscreen takes true or false",
       v(-1, -1, -1, -1)},
      // Unknown settings, sections and places.
      {"volume = 70\n[sound]\nvolume = 60\n", P, {1}, "outside any section", v(60, -1, -1, -1)},
      {"[sound]\nvolume = 60\nloud = true\n", P, {3}, "unknown setting \"loud\" in [sound]", v(60, -1, -1, -1)},
      {"[video]\nfullscreen = true\n[window]\nfullscreen = false\n", P, {1}, "unknown section [video]",
       v(-1, -1, 0, -1)},
      {"[window]\nwidth = 800\n", P, {2}, "unknown setting \"width\"", v(-1, -1, -1, -1)},
      // The remembered state: its own settings, no keys.
      {"[window]\nfullscreen = false\nwidth = 800\nheight = 600\n[sound]\nvolume = 40\nmuted = false\n", S, {}, "",
       v(40, 0, 0, -1, 800, 600)},
      {"[window]\nwidth = 0\nheight = 99999\nscale = \"fit\"\n", S, {2, 3, 4}, "width takes a whole number",
       v(-1, -1, -1, -1)},
      {"[keys]\nslow = [\"KeyZ\"]\n", S, {1}, "unknown section [keys]", v(-1, -1, -1, -1)},
      // Not TOML: one line, the whole file ignored (even the good lines before the mistake).
      {"[sound]\nvolume = 70\nmuted = \n", P, {3}, "not a valid TOML file", v(-1, -1, -1, -1)},
      {"[\n", P, {1}, "not a valid TOML file", v(-1, -1, -1, -1)},
      {"[sound]\nvolume = 1\n[sound]\nvolume = 2\n", P, {3}, "not a valid TOML file", v(-1, -1, -1, -1)},
      {"\xff\xfe[sound]\n", P, {1}, "not a valid TOML file", v(-1, -1, -1, -1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const ConfigRead r = config_parse(c.text, "f.toml", c.kind);
    EXPECT_EQ(lines_of(r), c.lines);
    if (!r.messages.empty()) {
      EXPECT_NE(r.messages[0].find(c.said), std::string::npos) << r.messages[0];
    }
    EXPECT_TRUE(same(r.values, c.values));
    EXPECT_EQ(r.valid, std::string(c.said).find("not a valid") == std::string::npos);
  }
}

// toml++ 3.3 asserted on "[" and a line end (an abort, or undefined behaviour where assertions
// are compiled out), and fell through its "unreachable" white-space table on characters of
// U+FD36..U+FEFE (the fuzzer's find): here they are ordinary syntax errors. The sanitizer build
// would stop on either.
TEST(ConfigFile, TheLibrarysFaultsAreParseErrorsNotCrashes) {
  for (const char* text : {"[\n", "[", "[\r\n", "a = 1\n[\n", "[[\n", "[keys]\n[\n", "\xEF\xBB\xBB\n\xEF\xBB\xBFnrr",
                           "\xEF\xB7\x90 = 1\n", "a = 1 \xEF\xBB\xBB\n"}) {
    const ConfigRead r = config_parse(text, "f.toml", ConfigKind::PLAYER);
    EXPECT_FALSE(r.valid) << text;
    ASSERT_EQ(r.messages.size(), 1u) << text;
  }
}

TEST(ConfigFile, KeysInFileOrderWithTheirMistakes) {
  const ConfigRead r = config_parse(
      "[keys]\n"
      "slow = [\"KeyZ\"]\n"                 // 2
      "fast = \"KeyX\"\n"                   // 3: not a list
      "warp = [\"F5\"]\n"                   // 4: no such action
      "cancel = [\"KeyC\", \"Kez\"]\n"      // 5: one unknown key: cancel keeps its default
      "menu = [3]\n"                        // 6
      "confirm = [\"Alt+Alt+Enter\"]\n"     // 7
      "pause = [\"KeyP\", \"Shift+KeyP\"]\n"  // 8
      "mute = []\n",                        // 9
      "f.toml", ConfigKind::PLAYER);
  EXPECT_TRUE(r.valid);
  EXPECT_EQ(lines_of(r), (std::vector<int32_t>{3, 4, 5, 6, 7}));
  EXPECT_NE(r.messages[2].find("unknown key \"Kez\" for cancel"), std::string::npos) << r.messages[2];
  ASSERT_EQ(r.keys.size(), 3u);
  EXPECT_EQ(r.keys[0].action, ACTION_SLOW);
  EXPECT_EQ(r.keys[0].line, 2);
  EXPECT_EQ(r.keys[1].action, ACTION_PAUSE);
  EXPECT_EQ(r.keys[1].keys.size(), 2u);
  EXPECT_EQ(r.keys[2].action, ACTION_MUTE);
  EXPECT_TRUE(r.keys[2].keys.empty());
}

class ConfigFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zorvane-config-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  std::string put(const std::string& relative, const std::string& text) {
    const std::filesystem::path p = root_ / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
    return p.string();
  }
  std::filesystem::path root_;
};

TEST_F(ConfigFiles, OnlyRegularFilesOfAtMost64KiBAndAFifoNeverBlocks) {
  const std::string good = put("good.toml", "[sound]\nvolume = 30\n");
  EXPECT_EQ(settings_read_file(good, ConfigKind::PLAYER, true).values.volume, 30);
  // Missing: the defaults, silently unless the file was asked for by name.
  EXPECT_TRUE(settings_read_file((root_ / "none.toml").string(), ConfigKind::PLAYER, false).messages.empty());
  EXPECT_EQ(settings_read_file((root_ / "none.toml").string(), ConfigKind::PLAYER, true).messages.size(), 1u);
  // A FIFO with no writer: opening it for reading would wait forever.
  const std::string fifo = (root_ / "fifo.toml").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  ConfigRead r = settings_read_file(fifo, ConfigKind::PLAYER, true);
  ASSERT_EQ(r.messages.size(), 1u);
  EXPECT_NE(r.messages[0].find("not a regular file"), std::string::npos) << r.messages[0];
  // The whole-file read below it refuses a FIFO too, instead of waiting for a writer (it is what
  // every data file, demo and score table goes through).
  std::string text = "old";
  EXPECT_FALSE(platform_file_read(fifo.c_str(), &text, 1024));
  EXPECT_TRUE(text.empty());
  std::filesystem::create_directories(root_ / "folder.toml");
  r = settings_read_file((root_ / "folder.toml").string(), ConfigKind::PLAYER, true);
  ASSERT_EQ(r.messages.size(), 1u);
  EXPECT_NE(r.messages[0].find("folder"), std::string::npos);
  // 64 KiB of comments is still a file; one byte more is refused whole.
  std::string big = "[sound]\nvolume = 20\n";
  big += std::string(CONFIG_MAX_BYTES - big.size() - 1, '#') + "\n";
  EXPECT_EQ(settings_read_file(put("big.toml", big), ConfigKind::PLAYER, true).values.volume, 20);
  r = settings_read_file(put("bigger.toml", big + "#"), ConfigKind::PLAYER, true);
  EXPECT_EQ(r.values.volume, -1);
  ASSERT_EQ(r.messages.size(), 1u);
  EXPECT_NE(r.messages[0].find("larger than 64 KiB"), std::string::npos);
}

TEST_F(ConfigFiles, TheXdgPlacesInOrder) {
  SettingsEnvironment env;
  env.home = (root_ / "home").string();
  // Nothing anywhere: no file.
  env.xdg_config_dirs = (root_ / "sys1").string();
  EXPECT_EQ(settings_config_path(env), "");
  // The system-wide file, first folder of XDG_CONFIG_DIRS that has one (relative ones ignored).
  const std::string sys2 = put("sys2/zorvane/zorvane.toml", "");
  put("sys3/zorvane/zorvane.toml", "");
  env.xdg_config_dirs = "relative:" + (root_ / "sys1").string() + ":" + (root_ / "sys2").string() + ":" +
                        (root_ / "sys3").string();
  EXPECT_EQ(settings_config_path(env), sys2);
  // The player's own, in ~/.config; a relative XDG_CONFIG_HOME is ignored.
  const std::string own = put("home/.config/zorvane/zorvane.toml", "");
  env.xdg_config_home = "relative/config";
  EXPECT_EQ(settings_config_path(env), own);
  const std::string xdg = put("xdg/zorvane/zorvane.toml", "");
  env.xdg_config_home = (root_ / "xdg").string();
  EXPECT_EQ(settings_config_path(env), xdg);
  // --config instead of all of them, even when it names nothing.
  env.config_option = "mine.toml";
  EXPECT_EQ(settings_config_path(env), "mine.toml");
  // The state: $XDG_STATE_HOME if absolute, else ~/.local/state.
  EXPECT_EQ(settings_state_path(env), env.home + "/.local/state/zorvane/state.toml");
  env.xdg_state_home = "state";
  EXPECT_EQ(settings_state_path(env), env.home + "/.local/state/zorvane/state.toml");
  env.xdg_state_home = (root_ / "st").string();
  EXPECT_EQ(settings_state_path(env), (root_ / "st/zorvane/state.toml").string());
  env = SettingsEnvironment{};
  EXPECT_EQ(settings_state_path(env), "");
}

// The fuzzer's find: the parser describes some errors over two lines, and a quoted key may hold
// a line end; every message stays one line.
TEST(ConfigFile, EveryMessageIsOneLine) {
  for (const char* text : {"[sound]\nmuted = fals\nidn[we\now]\n", "[sound]\n\"a\\nb\" = 1\n", "[\"x\\ty\"]\n"}) {
    const ConfigRead r = config_parse(text, "f.toml", ConfigKind::PLAYER);
    ASSERT_FALSE(r.messages.empty()) << text;
    for (const std::string& m : r.messages) {
      EXPECT_EQ(m.find('\n'), std::string::npos) << m;
      EXPECT_EQ(m.find('\t'), std::string::npos) << m;
    }
  }
}
