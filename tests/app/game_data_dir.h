// A private copy of the generated data folder to run the program in, so that runs never share
// or pollute scores.dat, and a fresh fake platform with the shell's globals at program start.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/app.h"
#include "frontend/menu.h"
#include "platform/fake/fake_platform.h"

class GameDataDir : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_reset();
    screen_state = SCREEN_MENU;
    menu_selection = 0;
    menu_key_latch = 0;
    menu_frames = 0;
    namespace fs = std::filesystem;
    const fs::path source = ZORVANE_DATA_DIR;
    std::error_code ec;
    if (!fs::exists(source / "OBJECTS2.BMP", ec) || !fs::exists(source / "menuselect.wav", ec))
      GTEST_SKIP() << "no generated pictures and sounds in " << source << " yet";
    char pattern[] = "/tmp/zorvane-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    for (const fs::directory_entry& e : fs::directory_iterator(source)) {
      if (!e.is_regular_file() || e.path().filename() == "scores.dat") continue;
      fs::copy_file(e.path(), dir_ / e.path().filename(), ec);
    }
    previous_ = fs::current_path();
    fs::current_path(dir_);
  }

  void TearDown() override {
    fake_on_present(nullptr);
    fake_on_key_query(nullptr);
    if (dir_.empty()) return;
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(dir_, ec);
  }

  void remove_file(const char* name) { std::filesystem::remove(dir_ / name); }

  std::filesystem::path dir_;
  std::filesystem::path previous_;
};
