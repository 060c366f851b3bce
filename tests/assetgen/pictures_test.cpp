// The ten pictures as the game reads them: through its own BMP loader, in the one palette, at
// sizes that hold every rectangle copied out of them, with the artwork where the screens and
// the sprite engine expect it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "asset_files.h"
#include "display/bitmap.h"

namespace {

struct Loaded {
  BitmapFile bitmap{};
  bool ok = false;
  explicit Loaded(const char* name) { ok = bitmap_load(&bitmap, (generated_dir() + "/" + name).c_str()) == 1; }
  ~Loaded() { bitmap_unload(&bitmap); }
  int32_t width() const { return bitmap.info_header.biWidth; }
  uint8_t at(int32_t x, int32_t y) const { return bitmap.pixels[y * width() + x]; }
  float luma_at(int32_t x, int32_t y) const { return luma(palette_entry(at(x, y))); }
  float mean_luma(int32_t x0, int32_t y0, int32_t x1, int32_t y1) const {
    float sum = 0.0f;
    for (int32_t y = y0; y < y1; ++y)
      for (int32_t x = x0; x < x1; ++x) sum += luma_at(x, y);
    return sum / static_cast<float>((x1 - x0) * (y1 - y0));
  }
};

TEST(Pictures, EveryFileLoadsAsAnEightBitPictureInTheGamePaletteHoldingWhatWasPainted) {
  PALETTEENTRY palette[256];
  assetgen_palette(palette);
  for (const PictureSpec& pic : PICTURES) {
    SCOPED_TRACE(pic.file_name);
    const Loaded p(pic.file_name);
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.bitmap.info_header.biBitCount, 8);
    EXPECT_GE(p.width(), pic.used_width);
    EXPECT_GE(p.bitmap.info_header.biHeight, pic.used_height);
    EXPECT_EQ(p.width() % 4, 0);  // the loader takes rows as width bytes with no padding
    for (int32_t i = 0; i < 256; ++i) {
      const PALETTEENTRY a = p.bitmap.palette[i], b = palette[i];
      EXPECT_TRUE(a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue) << "entry " << i;
    }
    const Picture painted = pic.make();
    ASSERT_EQ(painted.width, p.width());
    ASSERT_EQ(painted.height, p.bitmap.info_header.biHeight);
    EXPECT_EQ(0, std::memcmp(painted.pixels.data(), p.bitmap.pixels, painted.pixels.size()));
  }
}

TEST(Pictures, ClaimedGroundNeverLooksLikeOpenFieldWallStixOrTrail) {
  const Loaded star("STAR.BMP");
  ASSERT_TRUE(star.ok);
  for (int32_t y = 0; y < 469; ++y)
    for (int32_t x = 0; x < 469; ++x) {
      const uint8_t v = star.at(x, y);
      ASSERT_TRUE(v != PAL_BLACK && v != PAL_BORDER && v != PAL_INNER_BORDER && v != PAL_STIX &&
                  (v < PAL_TRAIL_FIRST || v > PAL_TRAIL_LAST))
          << int(v) << " at " << x << "," << y;
    }
}

TEST(Pictures, BackdropsAreDarkWhereTheScreensWriteAndLitAroundIt) {
  struct Dark {
    const char* file;
    int32_t x0, y0, x1, y1;
    float max_mean, max_pixel;
  };
  const Dark cases[] = {
      {"MENUPIC.BMP", 100, 100, 540, 430, 20.0f, 256.0f},  // buttons, tables, the about page
      {"MENUPIC.BMP", 260, 28, 420, 46, 25.0f, 256.0f},    // "Created by Quarrel Forge"
      {"MENURECT.BMP", 10, 3, 90, 18, 256.0f, 70.0f},      // a button's label
      {"SQUARE.BMP", 6, 6, 25, 25, 30.0f, 256.0f},         // the well the QIX icon sits in
  };
  for (const Dark& d : cases) {
    SCOPED_TRACE(testing::Message() << d.file << " at " << d.x0 << "," << d.y0);
    const Loaded p(d.file);
    ASSERT_TRUE(p.ok);
    float brightest = 0.0f;
    for (int32_t y = d.y0; y < d.y1; ++y)
      for (int32_t x = d.x0; x < d.x1; ++x) brightest = std::max(brightest, p.luma_at(x, y));
    EXPECT_LT(p.mean_luma(d.x0, d.y0, d.x1, d.y1), d.max_mean);
    EXPECT_LT(brightest, d.max_pixel);
  }
  const Loaded menu("MENUPIC.BMP"), button("MENURECT.BMP"), square("SQUARE.BMP");
  EXPECT_GT(menu.mean_luma(0, 0, 90, 480) + menu.mean_luma(550, 0, 640, 480), 4.0f * menu.mean_luma(100, 100, 540, 430));
  EXPECT_GT(button.luma_at(50, 1), button.luma_at(50, 21) + 80.0f);  // a bevel inside the 99 x 23 shown
  EXPECT_GT(square.luma_at(15, 1), 120.0f);                          // the tile's frame
}

TEST(Pictures, ArtStaysInsideWhatIsShownAndOnTheHotSpots) {
  struct Art {
    const char* file;
    int32_t x0, y0, w, h;                // the cell
    int32_t left, top, right, bottom;    // where its art may lie
    int32_t centre2_x, centre2_y;        // twice the art's centre, -1 for either when free
  };
  const Art cases[] = {
      // Sprites: the blit never shows the last column and row; Markers and Sparx are drawn
      // two cells up-left of their grid point, so they centre on (7, 7). The pointer lies left
      // of the buttons drawn over it from column 10 and points at the label's middle row.
      {"OBJECTS2.BMP", FRAME_MARKER_B_X, FRAME_Y, 16, 16, 0, 0, 14, 14, 14, 14},
      {"OBJECTS2.BMP", FRAME_MARKER_A_X, FRAME_Y, 16, 16, 0, 0, 14, 14, 14, 14},
      {"OBJECTS2.BMP", FRAME_SPARX_X, FRAME_Y, 16, 16, 0, 0, 14, 14, 14, 14},
      {"OBJECTS2.BMP", FRAME_POINTER_X, FRAME_Y, 16, 16, 0, 0, 9, 14, -1, 16},
      {"OBJECTS2.BMP", FRAME_FUSE_X, FRAME_Y, 16, 16, 0, 0, 14, 14, -1, -1},
      {"QIX.BMP", 0, 0, 32, 32, 4, 4, 26, 26, -1, -1},      // inside the icon tile's frame
      {"SKULL.BMP", 0, 0, 16, 16, 0, 0, 12, 15, -1, -1},    // 14-pixel spacing of the lives row
      {"TITLE.BMP", 0, 0, 120, 13, 0, 0, 119, 11, -1, -1},  // 119 x 12 shown
  };
  for (const Art& a : cases) {
    SCOPED_TRACE(testing::Message() << a.file << " cell " << a.x0);
    const Loaded p(a.file);
    ASSERT_TRUE(p.ok);
    int32_t left = 999, top = 999, right = -1, bottom = -1;
    for (int32_t y = 0; y < a.h; ++y)
      for (int32_t x = 0; x < a.w; ++x)
        if (p.at(a.x0 + x, a.y0 + y) != 0)
          left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
    ASSERT_GE(right, 0) << "no art";
    EXPECT_TRUE(left >= a.left && top >= a.top && right <= a.right && bottom <= a.bottom)
        << left << "," << top << " .. " << right << "," << bottom;
    if (a.centre2_x >= 0) {
      EXPECT_EQ(left + right, a.centre2_x);
    }
    if (a.centre2_y >= 0) {
      EXPECT_EQ(top + bottom, a.centre2_y);
    }
    const int32_t hot_x = a.centre2_x >= 0 ? a.centre2_x / 2 : right;  // the pointer's tip
    if (a.centre2_y >= 0) {
      EXPECT_NE(p.at(a.x0 + hot_x, a.y0 + a.centre2_y / 2), 0);
    }
  }
  // The Fuse stands one cell right of its point and five above: the point is frame pixel
  // (4, 5), where the flame burns hottest.
  const Loaded sheet("OBJECTS2.BMP");
  float hottest = 0.0f;
  for (int32_t y = 0; y < 15; ++y)
    for (int32_t x = 0; x < 15; ++x) hottest = std::max(hottest, sheet.luma_at(FRAME_FUSE_X + x, FRAME_Y + y));
  EXPECT_EQ(sheet.luma_at(FRAME_FUSE_X + 4, FRAME_Y + 5), hottest);
  // Keycaps under "Up", beside "Left" and "Right", above "Down"; the corners see-through.
  const Loaded arrows("ARROWS.BMP");
  ASSERT_TRUE(arrows.ok);
  for (const auto& [x, y] : {std::pair{37, 10}, {10, 37}, {64, 37}, {37, 64}}) EXPECT_NE(arrows.at(x, y), 0) << x << "," << y;
  EXPECT_EQ(arrows.at(5, 5), 0);
  EXPECT_EQ(arrows.at(70, 70), 0);
}

}  // namespace
