// The SDL window and presentation, run under SDL's dummy video driver.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl/present_sdl.h"

namespace {

// Never open a real full-screen window when the suite is started by hand.
const int dummy_video = setenv("SDL_VIDEODRIVER", "dummy", 0);

struct Picture {
  std::vector<uint8_t> pixels;
  uint8_t palette[256][3] = {};
};

// Index 1 everywhere except a 2x2 block of index 2 in the top left corner and index 3 at the
// bottom right pixel; the palette gives each index a distinct colour.
Picture test_picture(int32_t pitch) {
  Picture p;
  p.pixels.assign(static_cast<size_t>(pitch) * 480, 1);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) p.pixels[static_cast<size_t>(y) * pitch + x] = 2;
  p.pixels[static_cast<size_t>(479) * pitch + 639] = 3;
  for (int i = 0; i < 256; ++i) {
    p.palette[i][0] = static_cast<uint8_t>(i);
    p.palette[i][1] = static_cast<uint8_t>(255 - i);
    p.palette[i][2] = static_cast<uint8_t>(i * 7);
  }
  p.palette[2][0] = 200, p.palette[2][1] = 10, p.palette[2][2] = 30;
  return p;
}

void expect_colour(int32_t x, int32_t y, const uint8_t want[3]) {
  uint8_t got[3] = {};
  ASSERT_EQ(present_read_pixel(x, y, got), 1);
  EXPECT_EQ(got[0], want[0]) << "at " << x << "," << y;
  EXPECT_EQ(got[1], want[1]) << "at " << x << "," << y;
  EXPECT_EQ(got[2], want[2]) << "at " << x << "," << y;
}

}  // namespace

TEST(PresentFit, WholeFactorCentredAndShrinkWhenTooSmall) {
  auto expect = [](PresentRect r, int32_t x, int32_t y, int32_t w, int32_t h) {
    EXPECT_EQ(r.x, x); EXPECT_EQ(r.y, y); EXPECT_EQ(r.w, w); EXPECT_EQ(r.h, h);
  };
  expect(present_fit_rect(1920, 1080, 640, 480), 320, 60, 1280, 960);
  expect(present_fit_rect(1279, 959, 640, 480), 319, 239, 640, 480);  // a pixel short of 2x
  expect(present_fit_rect(800, 300, 640, 480), 200, 0, 400, 300);     // too small: shrunk
}

TEST(Display, RefusesAnythingButEightBitsAndPositiveSizes) {
  ASSERT_NE(platform_window_create("Marrowin"), 0);
  EXPECT_EQ(platform_display_open(640, 480, 16), 0);
  EXPECT_EQ(platform_display_open(640, 480, 32), 0);
  EXPECT_EQ(platform_display_open(0, 480, 8), 0);
  EXPECT_EQ(platform_display_open(640, -1, 8), 0);
  EXPECT_EQ(platform_display_open(640, 480, 8), 1);
  platform_window_destroy();
  // Without a window there is nothing to present into.
  EXPECT_EQ(platform_display_open(640, 480, 8), 0);
}

TEST(Display, FramesShowThroughThePaletteScaledAndCentred) {
  ASSERT_NE(platform_window_create("Marrowin"), 0);
  ASSERT_EQ(platform_display_open(640, 480, 8), 1);
  const int32_t pitch = 704;  // wider than the picture: rows must be read at the pitch
  Picture p = test_picture(pitch);
  for (int i = 0; i < 3; ++i) platform_present(p.pixels.data(), pitch, p.palette);

  int32_t out_w = 0, out_h = 0;
  ASSERT_EQ(present_output_size(&out_w, &out_h), 1);
  PresentRect r = present_fit_rect(out_w, out_h, 640, 480);
  ASSERT_GT(r.w, 0);
  int32_t scale = r.w / 640;
  ASSERT_GE(scale, 1);
  expect_colour(r.x, r.y, p.palette[2]);
  expect_colour(r.x + 2 * scale - 1, r.y + 2 * scale - 1, p.palette[2]);
  expect_colour(r.x + 2 * scale, r.y, p.palette[1]);
  expect_colour(r.x + r.w - 1, r.y + r.h - 1, p.palette[3]);
  expect_colour(r.x + r.w - 1 - scale, r.y + r.h - 1, p.palette[1]);
  const uint8_t black[3] = {0, 0, 0};
  if (r.x > 0) expect_colour(r.x - 1, r.y + 10, black);
  if (r.y > 0) expect_colour(r.x + 10, r.y - 1, black);

  // A new palette alone changes the colours.
  Picture q = p;
  q.palette[1][0] = 1, q.palette[1][1] = 2, q.palette[1][2] = 3;
  platform_present(q.pixels.data(), pitch, q.palette);
  expect_colour(r.x + 100, r.y + 100, q.palette[1]);
  platform_window_destroy();
}

TEST(Display, WindowedModeShowsThePictureAtItsOwnSize) {
  setenv("ZORVANE_WINDOWED", "1", 1);
  int32_t window = platform_window_create("Marrowin");
  unsetenv("ZORVANE_WINDOWED");
  ASSERT_NE(window, 0);
  int32_t w = 0, h = 0;
  ASSERT_EQ(present_output_size(&w, &h), 1);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  platform_window_destroy();
}

TEST(Display, PresentsArePacedByTheSixtyHertzClock) {
  ASSERT_NE(platform_window_create("Marrowin"), 0);
  ASSERT_EQ(platform_display_open(640, 480, 8), 1);
  Picture p = test_picture(640);
  platform_present(p.pixels.data(), 640, p.palette);  // line up with the clock
  const int n = 12;
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < n; ++i) platform_present(p.pixels.data(), 640, p.palette);
  auto presents = std::chrono::steady_clock::now() - start;
  EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(presents).count(), (n - 1) * 16);

  // A game frame of 30 ms misses one tick and takes the next: 30 frames per second.
  start = std::chrono::steady_clock::now();
  for (int i = 0; i < 6; ++i) {
    platform_sleep_ms(30);
    platform_present(p.pixels.data(), 640, p.palette);
  }
  auto frames = std::chrono::steady_clock::now() - start;
  EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(frames).count(), 5 * 33);

  start = std::chrono::steady_clock::now();
  for (int i = 0; i < n; ++i) platform_wait_frame_tick();
  auto waits = std::chrono::steady_clock::now() - start;
  EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(waits).count(), (n - 1) * 16);
  platform_window_destroy();
}
