// Bindings through the real main loop on the fake platform: physical keys reach the game only
// through the actions, so a rebound key draws, the key it replaced no longer does, and a demo
// recorded with any bindings replays identically with the defaults. The program's own keys
// never reach the game, and their effects are remembered for the next start.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/game_data_dir.h"
#include "app/command_line.h"
#include "platform/common/notice.h"
#include "platform/common/settings.h"

namespace {

const Program& P() { return *app_program(); }

class KeyBindings : public GameDataDir {
 protected:
  void SetUp() override {
    GameDataDir::SetUp();
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME", "XDG_CONFIG_DIRS", "XDG_PICTURES_DIR"})
      setenv(name, (dir_ / name).c_str(), 1);
  }
  void TearDown() override {
    settings_reset();
    GameDataDir::TearDown();
  }
  // The command line as main hands it over (it reads the settings), then the program.
  int32_t run(std::vector<const char*> words, const std::function<void(uint64_t)>& script) {
    fake_reset();  // frames count from 1 again; the settings come from the command line below
    words.insert(words.begin(), "zorvane");
    words.push_back(nullptr);
    Options options;
    EXPECT_EQ(app_handle_options(static_cast<int>(words.size()) - 1, const_cast<char**>(words.data()), &options), -1);
    fake_capture_frames(false);
    fake_on_present([&](uint64_t frame) {
      if (frame <= 2000) script(frame);
      if (frame == 2001) fake_close_window();
    });
    return app_main(options);
  }
  // Into a new game, then the keys named held from frame 10 to 30: whether a stix was drawn,
  // and at what speed (1 slow, 2 fast).
  int32_t draw_with(std::vector<const char*> words, std::vector<const char*> codes) {
    int32_t speed = 0;
    const int32_t status = run(words, [&](uint64_t frame) {
      if (frame == 1 || frame == 2) fake_set_key(VK_RETURN, frame == 1);  // "New Game"
      if (frame == 10) {
        EXPECT_EQ(P().frontend.screen_state, SCREEN_GAME);
        for (const char* c : codes) EXPECT_TRUE(fake_set_code(c, true)) << c;
      }
      if (frame == 30) {
        speed = P().round.player.player_drawing ? P().round.player.stix_speed : 0;
        fake_release_all_keys();
        fake_close_window();  // part of the input, so a replay ends where the recording did
      }
    });
    EXPECT_EQ(status, 0);
    return speed;
  }
  std::string config(const std::string& text) {
    const std::string path = (dir_ / "zorvane.toml").string();
    std::ofstream(path) << text;
    return path;
  }
};

TEST_F(KeyBindings, ASlowKeyOfTheFilesDrawsSlowlyAndCtrlNoLongerDoes) {
  EXPECT_EQ(draw_with({}, {"ControlLeft", "ArrowUp"}), 1) << "the defaults: Ctrl draws slowly";
  EXPECT_EQ(draw_with({}, {"ShiftRight", "ArrowUp"}), 2);
  const std::string file = config("[keys]\nslow = [\"KeyZ\"]\n");
  EXPECT_EQ(draw_with({"--config", file.c_str()}, {"KeyZ", "ArrowUp"}), 1);
  EXPECT_EQ(draw_with({"--config", file.c_str()}, {"ControlLeft", "ArrowUp"}), 0);
  EXPECT_EQ(draw_with({"--config", file.c_str()}, {"ShiftLeft", "ArrowUp"}), 2) << "fast keeps its defaults";
}

TEST_F(KeyBindings, ADemoRecordedWithABindingReplaysIdenticallyWithTheDefaults) {
  const std::string file = config("[keys]\nslow = [\"KeyZ\"]\nup = [\"KeyW\"]\n");
  const std::string demo = (dir_ / "bound.zdemo").string();
  EXPECT_EQ(draw_with({"--config", file.c_str(), "--record", demo.c_str()}, {"KeyZ", "KeyW"}), 1);
  settings_reset();
  fake_reset();
  fake_capture_frames(false);
  Options replay;
  replay.demo = DemoMode::TIME;
  replay.demo_file = demo;
  testing::internal::CaptureStdout();
  EXPECT_EQ(app_main(replay), 0) << "the replay's frames differ from the recording's";
  testing::internal::GetCapturedStdout();
}

TEST_F(KeyBindings, ProgramKeysNeverReachTheGameAndAreRemembered) {
  // M, then F11, while the menu runs: the menu sees no key (its selection stays), the sound is
  // muted with its notice, and the window choice flips.
  int32_t selection = -1, first_selection = -2;
  int32_t status = run({}, [&](uint64_t frame) {
    if (frame == 2) first_selection = P().frontend.menu.menu_selection;
    if (frame == 3) fake_set_code("KeyM", true);
    if (frame == 5) fake_set_code("KeyM", false);
    if (frame == 6) {
      EXPECT_EQ(notice_text(), "Sound off");
    }
    if (frame == 7) fake_set_code("F11", true);
    if (frame == 9) fake_set_code("Minus", true);
    if (frame == 11) {
      fake_release_all_keys();
      selection = P().frontend.menu.menu_selection;
      platform_post_message(PLATFORM_EVENT_QUIT);
    }
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(selection, first_selection);
  std::ifstream state(dir_ / "XDG_STATE_HOME/zorvane/state.toml");
  std::stringstream text;
  text << state.rdbuf();
  EXPECT_NE(text.str().find("fullscreen = false"), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("volume = 90"), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("muted = false"), std::string::npos) << "a volume step turns the sound back on";
  // The next start finds them, and --print-config shows them, commented out.
  settings_reset();
  const char* words[] = {"zorvane", "--print-config", nullptr};
  Options options;
  testing::internal::CaptureStdout();
  EXPECT_EQ(app_handle_options(2, const_cast<char**>(words), &options), 0);
  const std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_EQ(settings_now().volume, 90);
  EXPECT_FALSE(settings_now().fullscreen);
  EXPECT_NE(printed.find("# volume = 90"), std::string::npos) << printed;
}

}  // namespace

namespace {

class PrintConfig : public KeyBindings {
 protected:
  std::string print(std::vector<const char*> words) {
    words.insert(words.begin(), "zorvane");
    words.push_back("--print-config");
    words.push_back(nullptr);
    Options options;
    testing::internal::CaptureStdout();
    EXPECT_EQ(app_handle_options(static_cast<int>(words.size()) - 1, const_cast<char**>(words.data()), &options), 0);
    const std::string text = testing::internal::GetCapturedStdout();
    return text.substr(text.find('\n') + 1);  // past the line naming where it was read
  }
};

}  // namespace

// The program's own --print-config, saved as the configuration and printed again, is the same
// file: nothing is lost or changed on the way.
TEST_F(PrintConfig, ThePrintedFileReadBackPrintsTheSame) {
  const std::string file =
      config("[keys]\nslow = [\"KeyZ\"]\nfast = [\"Space\", \"Ctrl+KeyX\"]\nmute = []\n"
             "[sound]\nvolume = 35\n[window]\nscale = \"integer\"\nfullscreen = false\n");
  const std::string first = print({"--config", file.c_str()});
  EXPECT_NE(first.find("slow = [\"KeyZ\"]"), std::string::npos) << first;
  EXPECT_NE(first.find("cancel = []"), std::string::npos) << "Space went to fast\n" << first;
  const std::string again = config(first);
  EXPECT_EQ(print({"--config", again.c_str()}), first);
}
