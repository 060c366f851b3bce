// Lines into locked memory, the line clipper, text and device-context rectangles.
#include <set>
#include <utility>
#include <vector>

#include "display/draw.h"
#include "display/gdi.h"
#include "display/palette.h"
#include "display_fixture.h"

namespace {

using Points = std::set<std::pair<int, int>>;

// The pixels a line writes into a 16 x 16 memory with pitch 16, the line moved by (4, 4) so that
// a stray write on either side would show.
Points line_pixels(int x0, int y0, int x1, int y1) {
  std::vector<uint8_t> memory(16 * 16, 0);
  EXPECT_EQ(draw_line(x0 + 4, y0 + 4, x1 + 4, y1 + 4, 9, memory.data(), 16), 1);
  Points points;
  for (int i = 0; i < 256; ++i)
    if (memory[i] != 0) {
      EXPECT_EQ(memory[i], 9);
      points.insert({i % 16 - 4, i / 16 - 4});
    }
  return points;
}

}  // namespace

TEST(DrawLine, KeepsItsTwoThresholds) {
  // Mostly horizontal: ends one row short of its end point.
  EXPECT_EQ(line_pixels(0, 0, 2, 1), (Points{{0, 0}, {1, 0}, {2, 0}}));
  EXPECT_EQ(line_pixels(0, 0, 4, 2), (Points{{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}}));
  // Mostly vertical: ends exactly on its end point.
  EXPECT_EQ(line_pixels(0, 0, 1, 2), (Points{{0, 0}, {1, 1}, {1, 2}}));
  EXPECT_EQ(line_pixels(0, 0, 4, 4), (Points{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}));
}

TEST(DrawLine, DependsOnDirectionOnlyWhenSloped) {
  EXPECT_EQ(line_pixels(2, 1, 0, 0), (Points{{2, 1}, {1, 1}, {0, 1}}));
  EXPECT_NE(line_pixels(2, 1, 0, 0), line_pixels(0, 0, 2, 1));
  EXPECT_EQ(line_pixels(3, 3, 3, 3), (Points{{3, 3}}));
  EXPECT_EQ(line_pixels(0, 2, 5, 2), line_pixels(5, 2, 0, 2));
  EXPECT_EQ(line_pixels(0, 2, 5, 2).size(), 6u);
  EXPECT_EQ(line_pixels(1, 5, 1, 0), line_pixels(1, 0, 1, 5));
  EXPECT_EQ(line_pixels(1, 5, 1, 0).size(), 6u);
}

TEST(ClipLine, CutsToTheScreen) {
  int32_t x0 = -10, y0 = 240, x1 = 700, y1 = 240;
  ASSERT_EQ(clip_line(&x0, &y0, &x1, &y1), 1);
  EXPECT_EQ((std::vector<int32_t>{x0, y0, x1, y1}), (std::vector<int32_t>{0, 240, 639, 240}));

  x0 = 100, y0 = -100, x1 = 100 + 200, y1 = 100;  // 45 degrees through the top edge
  ASSERT_EQ(clip_line(&x0, &y0, &x1, &y1), 1);
  EXPECT_EQ(x0, 200);
  EXPECT_EQ(y0, 0);
  EXPECT_EQ(x1, 300);

  x0 = -20, y0 = -20, x1 = 10, y1 = 10;  // from the corner region through the corner
  ASSERT_EQ(clip_line(&x0, &y0, &x1, &y1), 1);
  EXPECT_EQ(x0, 0);
  EXPECT_EQ(y0, 0);

  x0 = 0, y0 = 1, x1 = 3, y1 = -1;  // intersection 1.5 rounds up by the added half
  ASSERT_EQ(clip_line(&x0, &y0, &x1, &y1), 1);
  EXPECT_EQ(x1, 2);
  EXPECT_EQ(y1, 0);

  x0 = -5, y0 = -5, x1 = -1, y1 = 600;  // wholly left
  EXPECT_EQ(clip_line(&x0, &y0, &x1, &y1), 0);
  x0 = -50, y0 = 40, x1 = 40, y1 = -50;  // passes the corner outside
  EXPECT_EQ(clip_line(&x0, &y0, &x1, &y1), 0);

  std::vector<uint8_t> screen(640 * 480, 0);
  EXPECT_EQ(draw_clip_line(-100, 479, 1000, 479, 3, screen.data(), 640), 1);
  EXPECT_EQ(screen[479 * 640], 3);
  EXPECT_EQ(screen[479 * 640 + 639], 3);
  EXPECT_EQ(draw_clip_line(-100, 500, 1000, 500, 3, screen.data(), 640), 0);
}

TEST_F(DisplayTest, TextInksTheNearestPaletteColour) {
  if (!platform_glyph('W')) GTEST_SKIP() << "no font in this environment: glyph pixels cannot be checked";
  PALETTEENTRY p[256] = {};
  p[200] = PALETTEENTRY{250, 250, 0, 4};  // nearest to pure yellow
  p[201] = PALETTEENTRY{255, 0, 0, 4};
  palette_set_all(p);
  display_fill(display_back, 0);
  ASSERT_EQ(draw_text("Wi", 100, 50, rgb(255, 255, 0), display_back), 1);
  int32_t ink = 0;
  for (int32_t y = 0; y < 480; ++y)
    for (int32_t x = 0; x < 640; ++x) {
      const uint8_t v = back_at(x, y);
      if (v == 0) continue;
      ASSERT_EQ(v, 200) << x << "," << y;
      EXPECT_GE(x, 100);
      EXPECT_LT(x, 130);
      EXPECT_GE(y, 50);
      EXPECT_LT(y, 70);
      ++ink;
    }
  EXPECT_GT(ink, 20);
  EXPECT_EQ(display_back->dc_held, 0);  // the context went back

  // Cut by the clipper, not refused.
  const Rect left_half{0, 0, 320, 480};
  Clipper* clipper = display_attach_clipper(display_back, 1, &left_half);
  display_fill(display_back, 0);
  EXPECT_EQ(draw_text("WWWWWWWW", 300, 50, rgb(255, 255, 0), display_back), 1);
  int32_t right_of_clip = 0, left_of_clip = 0;
  for (int32_t y = 40; y < 80; ++y)
    for (int32_t x = 290; x < 420; ++x) (x < 320 ? left_of_clip : right_of_clip) += back_at(x, y) != 0;
  EXPECT_GT(left_of_clip, 0);
  EXPECT_EQ(right_of_clip, 0);
  display_back->clipper = nullptr;
  clipper_release(clipper);
  EXPECT_EQ(draw_text("off", -5000, 5000, 0xFFFFFF, display_back), 1);
}

TEST_F(DisplayTest, DeviceContextRectanglesAreRightBottomExclusive) {
  PALETTEENTRY p[256] = {};
  p[3] = PALETTEENTRY{255, 255, 0, 4};
  p[4] = PALETTEENTRY{255, 0, 0, 4};
  palette_set_all(p);
  DeviceContext dc;
  ASSERT_EQ(surface_get_dc(display_back, &dc), 1);
  const Rect frame{489, 135, 639, 147};
  EXPECT_EQ(gdi_frame_rect(&dc, &frame, rgb(255, 255, 0)), 1);
  const Rect bar{490, 136, 638, 146};
  EXPECT_EQ(gdi_fill_rect(&dc, &bar, rgb(255, 0, 0)), 1);
  const Rect empty{490, 136, 490, 146};
  EXPECT_EQ(gdi_fill_rect(&dc, &empty, rgb(255, 255, 0)), 1);
  surface_release_dc(display_back, &dc);
  EXPECT_EQ(gdi_fill_rect(&dc, &bar, 0), 0);  // the context is no longer out

  EXPECT_EQ(back_at(489, 135), 3);
  EXPECT_EQ(back_at(638, 146), 3);
  EXPECT_EQ(back_at(639, 140), 0);
  EXPECT_EQ(back_at(560, 147), 0);
  EXPECT_EQ(back_at(490, 136), 4);
  EXPECT_EQ(back_at(637, 145), 4);
  EXPECT_EQ(count_back_not(0), 150 * 2 + 10 * 2 + 148 * 10);

  EXPECT_EQ(draw_rectangle(630, 470, 700, 500, 9, display_back), 1);
  EXPECT_EQ(back_at(639, 479), 9);
  EXPECT_EQ(back_at(629, 479), 0);
}
