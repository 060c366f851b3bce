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

// Index 1 everywhere except a 2x2 block of index 2 in the top left corner and index 3 at the
// bottom right pixel; the palette gives each index a distinct colour.
struct Picture {
  explicit Picture(int32_t pitch) : pixels(static_cast<size_t>(pitch) * 480, 1) {
    pixels[0] = pixels[1] = pixels[pitch] = pixels[pitch + 1] = 2;
    pixels[static_cast<size_t>(479) * pitch + 639] = 3;
    for (int i = 0; i < 256; ++i)
      palette[i][0] = uint8_t(i), palette[i][1] = uint8_t(255 - i), palette[i][2] = uint8_t(i * 7);
    palette[2][0] = 200, palette[2][1] = 10, palette[2][2] = 30;
  }
  std::vector<uint8_t> pixels;
  uint8_t palette[256][3] = {};
};

std::vector<int> shown_at(int32_t x, int32_t y) {
  uint8_t got[3] = {};
  EXPECT_EQ(present_read_pixel(x, y, got), 1);
  return {got[0], got[1], got[2]};
}
std::vector<int> colour(const uint8_t rgb[3]) { return {rgb[0], rgb[1], rgb[2]}; }

}  // namespace

TEST(PresentFit, WholeFactorCentredAndShrinkWhenTooSmall) {
  auto fit = [](int32_t w, int32_t h) {
    const PresentRect r = present_fit_rect(w, h, 640, 480);
    return std::vector<int32_t>{r.x, r.y, r.w, r.h};
  };
  EXPECT_EQ(fit(1920, 1080), (std::vector<int32_t>{320, 60, 1280, 960}));
  EXPECT_EQ(fit(1279, 959), (std::vector<int32_t>{319, 239, 640, 480}));  // a pixel short of 2x
  EXPECT_EQ(fit(800, 300), (std::vector<int32_t>{200, 0, 400, 300}));     // too small: shrunk
}

TEST(Display, RefusesAnythingButEightBitsAndPositiveSizes) {
  ASSERT_NE(platform_window_create("Marrowin"), 0);
  EXPECT_EQ(platform_display_open(640, 480, 16) + platform_display_open(640, 480, 32), 0);
  EXPECT_EQ(platform_display_open(0, 480, 8) + platform_display_open(640, -1, 8), 0);
  EXPECT_EQ(platform_display_open(640, 480, 8), 1);
  platform_window_destroy();
  EXPECT_EQ(platform_display_open(640, 480, 8), 0);  // without a window there is nothing to present into
}

TEST(Display, FramesShowThroughThePaletteScaledAndCentred) {
  ASSERT_NE(platform_window_create("Marrowin"), 0);
  ASSERT_EQ(platform_display_open(640, 480, 8), 1);
  const int32_t pitch = 704;  // wider than the picture: rows must be read at the pitch
  Picture p(pitch);
  for (int i = 0; i < 3; ++i) platform_present(p.pixels.data(), pitch, p.palette);

  int32_t out_w = 0, out_h = 0;
  ASSERT_EQ(present_output_size(&out_w, &out_h), 1);
  const PresentRect r = present_fit_rect(out_w, out_h, 640, 480);
  const int32_t scale = r.w / 640;
  ASSERT_GE(scale, 1);
  EXPECT_EQ(shown_at(r.x, r.y), colour(p.palette[2]));
  EXPECT_EQ(shown_at(r.x + 2 * scale - 1, r.y + 2 * scale - 1), colour(p.palette[2]));
  EXPECT_EQ(shown_at(r.x + 2 * scale, r.y), colour(p.palette[1]));
  EXPECT_EQ(shown_at(r.x + r.w - 1, r.y + r.h - 1), colour(p.palette[3]));
  EXPECT_EQ(shown_at(r.x + r.w - 1 - scale, r.y + r.h - 1), colour(p.palette[1]));
  if (r.x > 0 && r.y > 0) {  // black bars around the picture
    EXPECT_EQ(shown_at(r.x - 1, r.y + 10), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(shown_at(r.x + 10, r.y - 1), (std::vector<int>{0, 0, 0}));
  }

  p.palette[1][0] = 1, p.palette[1][1] = 2, p.palette[1][2] = 3;  // a new palette alone changes the colours
  platform_present(p.pixels.data(), pitch, p.palette);
  EXPECT_EQ(shown_at(r.x + 100, r.y + 100), (std::vector<int>{1, 2, 3}));
  platform_window_destroy();
}

TEST(Display, PresentsArePacedByTheSixtyHertzClock) {
  ASSERT_NE(platform_window_create("Marrowin"), 0);
  ASSERT_EQ(platform_display_open(640, 480, 8), 1);
  Picture p(640);
  auto present = [&] { platform_present(p.pixels.data(), 640, p.palette); };
  auto ms_for = [](int n, auto step) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < n; ++i) step();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  };
  present();  // line up with the clock
  EXPECT_GE(ms_for(12, present), 11 * 16);
  // A game frame of 30 ms misses one tick and takes the next: 30 frames per second.
  EXPECT_GE(ms_for(6, [&] { platform_sleep_ms(30); present(); }), 5 * 33);
  EXPECT_GE(ms_for(12, platform_wait_frame_tick), 11 * 16);
  platform_window_destroy();
}
