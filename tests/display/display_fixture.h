// A fresh fake platform and a 640 x 480 x 8 display for each test, and small helpers.
#pragma once
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "display/display.h"
#include "platform/fake/fake_platform.h"

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_reset();
    ASSERT_TRUE(display_init(640, 480, 8));
  }
  void TearDown() override { display_shutdown(); }

  static uint8_t back_at(int32_t x, int32_t y) { return display.display_back->pixels[y * display.display_back->pitch + x]; }
  static int32_t count_back_not(uint8_t value) {
    int32_t n = 0;
    for (int32_t y = 0; y < display.display_back->height; ++y)
      for (int32_t x = 0; x < display.display_back->width; ++x) n += back_at(x, y) != value;
    return n;
  }
};

// Red, green, blue and flags of a palette entry, for one-line comparisons.
inline std::vector<int> entry(const PALETTEENTRY& e) { return {e.peRed, e.peGreen, e.peBlue, e.peFlags}; }

// A file name in the test's temporary folder, one per process: CTest runs the cases side by
// side, and two of them writing the same picture would read each other's bytes.
inline std::string temp_path(const std::string& name) {
  return ::testing::TempDir() + "zorvane_display_" + std::to_string(getpid()) + "_" + name;
}
