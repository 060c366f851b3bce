// A started program (start-up run in a private data folder) to drive screens frame by frame.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <string>

#include "app/app.h"
#include "app/game_data_dir.h"
#include "display/palette.h"
#include "platform/fake/fake_platform.h"

class StartedProgram : public GameDataDir {
 protected:
  void SetUp() override {
    GameDataDir::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    app_window = 1;
    app_instance = 1;
    ASSERT_EQ(app_startup(), 1);
    started_ = true;
    fake_keep_frames(4);
  }
  void TearDown() override {
    // ZORVANE_SAVE_FRAMES=<folder> keeps each test's last frame as a picture to look at.
    const char* save_to = std::getenv("ZORVANE_SAVE_FRAMES");
    if (save_to && fake_frame_count() > 0) {
      const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
      fake_save_frame(fake_last_frame(), std::string(save_to) + "/" + info->test_suite_name() + "." +
                                             info->name() + ".ppm");
    }
    if (started_) app_shutdown();
    GameDataDir::TearDown();
  }

  // Holds exactly these keys down while one call runs.
  template <typename F>
  static void with_keys(std::initializer_list<int32_t> keys, F run) {
    fake_release_all_keys();
    for (int32_t k : keys) fake_set_key(k, true);
    run();
    fake_release_all_keys();
  }

  // Pixels of the frame in [x0, x1) x [y0, y1) drawn in the palette entry nearest to colour.
  static int32_t count_colour(const FakeFrame& f, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour) {
    uint8_t index = palette_nearest(colour);
    int32_t n = 0;
    for (int32_t y = y0; y < y1; ++y)
      for (int32_t x = x0; x < x1; ++x)
        if (f.at(x, y) == index) ++n;
    return n;
  }

  bool started_ = false;
};
