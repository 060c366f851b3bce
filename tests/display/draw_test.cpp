// Lines into locked memory, text and device-context rectangles.
#include <set>
#include <utility>
#include <vector>

#include "display/draw.h"
#include "display/draw_extras.h"
#include "display/gdi.h"
#include "display/palette.h"
#include "display_fixture.h"
#include "platform/common/storage.h"

namespace {

using Points = std::set<std::pair<int, int>>;

// The pixels a line writes into a 16 x 16 memory with pitch 16, the line moved by (4, 4) so that
// a stray write on either side would show.
Points line_pixels(int x0, int y0, int x1, int y1) {
  std::vector<uint8_t> memory(16 * 16, 0);
  EXPECT_TRUE(draw_line(x0 + 4, y0 + 4, x1 + 4, y1 + 4, 9, memory.data(), 16));
  Points points;
  for (int i = 0; i < 256; ++i)
    if (memory[i] != 0) {
      EXPECT_EQ(memory[i], 9);
      points.insert({i % 16 - 4, i / 16 - 4});
    }
  return points;
}

}  // namespace

TEST(DrawLine, KeepsItsTwoThresholdsAndDependsOnDirectionOnlyWhenSloped) {
  const struct {
    int x0, y0, x1, y1;
    Points want;
  } lines[] = {
      {0, 0, 2, 1, {{0, 0}, {1, 0}, {2, 0}}},  // mostly horizontal: ends one row short
      {0, 0, 4, 2, {{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}}},
      {2, 1, 0, 0, {{2, 1}, {1, 1}, {0, 1}}},  // drawn the other way: other pixels
      {0, 0, 1, 2, {{0, 0}, {1, 1}, {1, 2}}},  // mostly vertical: ends on its end point
      {0, 0, 4, 4, {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}},
      {3, 3, 3, 3, {{3, 3}}},
      {5, 2, 0, 2, {{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}}},
      {1, 5, 1, 0, {{1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}}},
  };
  for (const auto& l : lines) EXPECT_EQ(line_pixels(l.x0, l.y0, l.x1, l.y1), l.want) << l.x0 << l.y0 << l.x1 << l.y1;
}

// The glyph table is read from the build's data folder, as the game reads it from its own.
struct BuildDataFolder {
  BuildDataFolder() {
    StorageEnvironment env;
    env.data_option = ZORVANE_DATA_DIR;
    storage_configure(env);
  }
  ~BuildDataFolder() { storage_use_current_folder(); }
};

TEST_F(DisplayTest, TextInksTheNearestPaletteColourAndIsClipped) {
  const BuildDataFolder data;
  ASSERT_TRUE(platform_glyph('W')) << "no glyph table in " << ZORVANE_DATA_DIR;
  PALETTEENTRY p[256] = {};
  p[200] = PALETTEENTRY{250, 250, 0, 4};  // nearest to pure yellow
  p[201] = PALETTEENTRY{255, 0, 0, 4};
  palette_set_all(p);
  const Rect clip{0, 0, 108, 480};  // cuts the W, hides the i
  Clipper* clipper = display_attach_clipper(display.display_back, 1, &clip);
  ASSERT_TRUE(draw_text("Wi", 100, 50, rgb(255, 255, 0), display.display_back));
  int32_t ink = 0;
  for (int32_t y = 0; y < 480; ++y)
    for (int32_t x = 0; x < 640; ++x)
      if (const uint8_t v = back_at(x, y)) {
        ASSERT_EQ(v, 200) << x << "," << y;
        ASSERT_TRUE(x >= 100 && x < 108 && y >= 50 && y < 70) << x << "," << y;
        ++ink;
      }
  EXPECT_GT(ink, 10);
  EXPECT_EQ(display.display_back->dc_held, 0);  // the context went back
  display.display_back->clipper = nullptr;
  clipper_release(clipper);
  EXPECT_TRUE(draw_text("off", -5000, 5000, 0xFFFFFF, display.display_back));
}

TEST_F(DisplayTest, DeviceContextRectanglesAreRightBottomExclusive) {
  PALETTEENTRY p[256] = {};
  p[3] = PALETTEENTRY{255, 255, 0, 4};
  p[4] = PALETTEENTRY{255, 0, 0, 4};
  palette_set_all(p);
  DeviceContext dc;
  ASSERT_TRUE(surface_get_dc(display.display_back, &dc));
  const Rect frame{489, 135, 639, 147}, bar{490, 136, 638, 146}, empty{490, 136, 490, 146};
  EXPECT_TRUE(gdi_frame_rect(&dc, &frame, rgb(255, 255, 0)));
  EXPECT_TRUE(gdi_fill_rect(&dc, &bar, rgb(255, 0, 0)));
  EXPECT_TRUE(gdi_fill_rect(&dc, &empty, rgb(255, 255, 0)));
  surface_release_dc(display.display_back, &dc);
  EXPECT_FALSE(gdi_fill_rect(&dc, &bar, 0));  // the context is no longer out

  EXPECT_EQ((std::vector<int>{back_at(489, 135), back_at(638, 146), back_at(639, 140), back_at(560, 147)}),
            (std::vector<int>{3, 3, 0, 0}));
  EXPECT_EQ(back_at(490, 136) + back_at(637, 145), 8);
  EXPECT_EQ(count_back_not(0), 150 * 2 + 10 * 2 + 148 * 10);

  EXPECT_TRUE(draw_rectangle(630, 470, 700, 500, 9, display.display_back));  // clipped to the surface
  EXPECT_EQ(back_at(639, 479) + back_at(629, 479), 9);
}
