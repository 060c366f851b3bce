// A fresh fake platform and the shell's globals as at program start, run in a private copy of
// the generated data folder so that runs never share scores.dat and pictures can be taken away.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/app.h"
#include "game/game.h"
#include "frontend/frontend.h"
#include "platform/fake/fake_platform.h"
#include "world.h"

using Labels = std::vector<std::string>;

class GameDataDir : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_reset();
    screen_state = SCREEN_MENU;
    menu_selection = menu_key_latch = menu_frames = 0;
    char pattern[] = "/tmp/zorvane-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    std::filesystem::copy(ZORVANE_DATA_DIR, dir_);   // the files only, not the folders
    std::filesystem::remove(dir_ / "scores.dat");
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    if (started_) app_shutdown();
    fake_on_present(nullptr);
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(dir_, ec);
  }
  // Start-up as the program runs it, with a window for the sound to attach to.
  void start() {
    game_set_now(platform_time_seconds());
    ASSERT_EQ(app_startup(), 1);
    started_ = true;
  }
  std::filesystem::path dir_, previous_;
  bool started_ = false;
};

// The screens' tests start from a started program.
class StartedProgram : public GameDataDir {
 protected:
  void SetUp() override {
    GameDataDir::SetUp();
    if (!HasFatalFailure()) start();
  }
};
