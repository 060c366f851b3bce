// The ten pictures as the game reads them: through its own BMP loader, in the one palette, at
// sizes that hold every rectangle copied out of them, with the artwork where the screens and
// the sprite engine expect it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "asset_files.h"
#include "display/bitmap.h"

namespace {

struct Loaded {
  BitmapFile bitmap{};
  bool ok = false;
  ~Loaded() { bitmap_unload(&bitmap); }
  int32_t width() const { return bitmap.info_header.biWidth; }
  int32_t height() const { return bitmap.info_header.biHeight; }
  uint8_t at(int32_t x, int32_t y) const { return bitmap.pixels[y * width() + x]; }
};

void load(const char* name, Loaded* out) {
  out->ok = bitmap_load(&out->bitmap, (generated_dir() + "/" + name).c_str()) == 1;
}

float mean_luma(const Loaded& p, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  double sum = 0.0;
  for (int32_t y = y0; y < y1; ++y)
    for (int32_t x = x0; x < x1; ++x) sum += luma(palette_entry(p.at(x, y)));
  return static_cast<float>(sum / ((x1 - x0) * (y1 - y0)));
}

TEST(Pictures, EveryFileLoadsAsAnEightBitPictureInTheGamePalette) {
  PALETTEENTRY palette[256];
  assetgen_palette(palette);
  for (const PictureSpec& spec : PICTURES) {
    Loaded p;
    load(spec.file_name, &p);
    ASSERT_TRUE(p.ok) << spec.file_name;
    EXPECT_EQ(p.bitmap.info_header.biBitCount, 8) << spec.file_name;
    EXPECT_GE(p.width(), spec.used_width) << spec.file_name;
    EXPECT_GE(p.height(), spec.used_height) << spec.file_name;
    // The loader takes rows as width bytes with no padding.
    EXPECT_EQ(p.width() % 4, 0) << spec.file_name;
    for (int32_t i = 0; i < 256; ++i) {
      EXPECT_EQ(p.bitmap.palette[i].peRed, palette[i].peRed) << spec.file_name << " entry " << i;
      EXPECT_EQ(p.bitmap.palette[i].peGreen, palette[i].peGreen) << spec.file_name << " entry " << i;
      EXPECT_EQ(p.bitmap.palette[i].peBlue, palette[i].peBlue) << spec.file_name << " entry " << i;
    }
    // What the game reads is what was painted.
    const Picture painted = spec.make();
    ASSERT_EQ(painted.width, p.width());
    ASSERT_EQ(painted.height, p.height());
    EXPECT_EQ(0, std::memcmp(painted.pixels.data(), p.bitmap.pixels, painted.pixels.size())) << spec.file_name;
  }
}

TEST(Pictures, TheSameBytesEveryTime) {
  const std::string again = asset_temp_dir("again");
  ASSERT_EQ(assetgen_write_pictures(again.c_str()), 1);
  for (const PictureSpec& spec : PICTURES) {
    const std::vector<uint8_t> a = file_bytes(generated_dir() + "/" + spec.file_name);
    ASSERT_FALSE(a.empty()) << spec.file_name;
    EXPECT_EQ(a, file_bytes(again + "/" + spec.file_name)) << spec.file_name;
  }
  std::filesystem::remove_all(again);
}

TEST(Pictures, TheBuildsDataFolderHoldsTheSameFiles) {
  for (const PictureSpec& spec : PICTURES)
    EXPECT_EQ(file_bytes(std::string(ZORVANE_DATA_DIR) + "/" + spec.file_name), file_bytes(generated_dir() + "/" + spec.file_name))
        << spec.file_name;
}

TEST(Pictures, ClaimedGroundNeverLooksLikeOpenFieldWallStixOrQix) {
  Loaded star;
  load("STAR.BMP", &star);
  ASSERT_TRUE(star.ok);
  int32_t hues[4] = {};  // a rich scene: every nebula colour shows somewhere
  for (int32_t y = 0; y < 469; ++y) {
    for (int32_t x = 0; x < 469; ++x) {
      const uint8_t v = star.at(x, y);
      ASSERT_NE(v, PAL_BLACK) << x << "," << y;
      ASSERT_TRUE(v != PAL_BORDER && v != PAL_INNER_BORDER && v != PAL_STIX) << x << "," << y;
      ASSERT_TRUE(v < PAL_TRAIL_FIRST || v > PAL_TRAIL_LAST) << x << "," << y;
      if (v >= RAMP_NEBULA.first && v < RAMP_NEBULA.first + RAMP_NEBULA.count) ++hues[0];
      if (v >= RAMP_ROSE.first && v < RAMP_ROSE.first + RAMP_ROSE.count) ++hues[1];
      if (v >= RAMP_TEAL.first && v < RAMP_TEAL.first + RAMP_TEAL.count) ++hues[2];
      if (v >= RAMP_RUST.first && v < RAMP_RUST.first + RAMP_RUST.count) ++hues[3];
    }
  }
  for (int32_t h : hues) EXPECT_GT(h, 2000);
}

TEST(Pictures, MenuBackdropIsDarkWhereTheScreensWrite) {
  Loaded menu;
  load("MENUPIC.BMP", &menu);
  ASSERT_TRUE(menu.ok);
  const float centre = mean_luma(menu, 100, 100, 540, 430);    // buttons, tables, the about page
  const float credit = mean_luma(menu, 260, 28, 420, 46);      // "Created by Quarrel Forge"
  const float margins = (mean_luma(menu, 0, 0, 90, 480) + mean_luma(menu, 550, 0, 640, 480)) / 2.0f;
  EXPECT_LT(centre, 20.0f);
  EXPECT_LT(credit, 25.0f);
  EXPECT_GT(margins, 2.0f * centre);
}

TEST(Pictures, ButtonFaceIsDarkUnderItsLabel) {
  Loaded button;
  load("MENURECT.BMP", &button);
  ASSERT_TRUE(button.ok);
  // Labels stand 10 pixels in and 3 down, about 14 high.
  for (int32_t y = 3; y < 18; ++y)
    for (int32_t x = 10; x < 90; ++x) EXPECT_LT(luma(palette_entry(button.at(x, y))), 70.0f) << x << "," << y;
  // A bevel: the top edge lit, the bottom edge in shadow, both inside the 99 x 23 shown.
  EXPECT_GT(luma(palette_entry(button.at(50, 1))), luma(palette_entry(button.at(50, 21))) + 80.0f);
}

// Bounding box of the non-transparent pixels of a 16 x 16 frame.
struct Box {
  int32_t left = 99, top = 99, right = -1, bottom = -1;
};
Box frame_box(const Loaded& sheet, int32_t fx, int32_t fy) {
  Box b;
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 16; ++x)
      if (sheet.at(fx + x, fy + y) != 0) {
        b.left = std::min(b.left, x), b.right = std::max(b.right, x);
        b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
      }
  return b;
}

TEST(Pictures, SpriteFramesKeepTheirArtInsideWhatTheBlitShowsAndOnTheirHotSpots) {
  Loaded sheet;
  load("OBJECTS2.BMP", &sheet);
  ASSERT_TRUE(sheet.ok);
  const int32_t frames[] = {FRAME_MARKER_B_X, FRAME_MARKER_A_X, FRAME_SPARX_X, FRAME_POINTER_X, FRAME_FUSE_X};
  for (int32_t fx : frames) {
    const Box b = frame_box(sheet, fx, FRAME_Y);
    ASSERT_GE(b.right, 0) << "empty frame at " << fx;
    EXPECT_LE(b.right, 14) << fx;  // the last column and row are never shown
    EXPECT_LE(b.bottom, 14) << fx;
  }
  // Markers and Sparx are drawn two cells up-left of their grid point: centred on (7, 7).
  for (int32_t fx : {FRAME_MARKER_B_X, FRAME_MARKER_A_X, FRAME_SPARX_X}) {
    const Box b = frame_box(sheet, fx, FRAME_Y);
    EXPECT_EQ(b.left + b.right, 14) << fx;
    EXPECT_EQ(b.top + b.bottom, 14) << fx;
    EXPECT_NE(sheet.at(fx + 7, FRAME_Y + 7), 0) << fx;
  }
  // The two blink frames differ, and A is the bright one.
  float a = 0.0f, b = 0.0f;
  for (int32_t y = 0; y < 15; ++y)
    for (int32_t x = 0; x < 15; ++x) {
      a += luma(palette_entry(sheet.at(FRAME_MARKER_A_X + x, FRAME_Y + y)));
      b += luma(palette_entry(sheet.at(FRAME_MARKER_B_X + x, FRAME_Y + y)));
    }
  EXPECT_GT(a, b * 1.3f);
  // The Fuse frame stands one cell right of its point and five above the screen offset: the
  // point is frame pixel (4, 5), where the flame burns hottest.
  float hottest = 0.0f;
  for (int32_t y = 0; y < 15; ++y)
    for (int32_t x = 0; x < 15; ++x) hottest = std::max(hottest, luma(palette_entry(sheet.at(FRAME_FUSE_X + x, FRAME_Y + y))));
  EXPECT_EQ(luma(palette_entry(sheet.at(FRAME_FUSE_X + 4, FRAME_Y + 5))), hottest);
  // The pointer lies left of the buttons, which are drawn over it from column 10 on, and
  // points right at the middle of the label.
  const Box p = frame_box(sheet, FRAME_POINTER_X, FRAME_Y);
  EXPECT_LE(p.right, 9);
  EXPECT_EQ(p.top + p.bottom, 16);
  EXPECT_NE(sheet.at(FRAME_POINTER_X + p.right, FRAME_Y + 8), 0);
}

TEST(Pictures, IconTileArrowsAndSkullSitWhereTheScreensPutThem) {
  Loaded square, qix, arrows, skull, title;
  load("SQUARE.BMP", &square);
  load("QIX.BMP", &qix);
  load("ARROWS.BMP", &arrows);
  load("SKULL.BMP", &skull);
  load("TITLE.BMP", &title);
  ASSERT_TRUE(square.ok && qix.ok && arrows.ok && skull.ok && title.ok);
  // The tile is a frame round a dark well, the QIX drawn over it stays inside the frame.
  EXPECT_LT(mean_luma(square, 6, 6, 25, 25), 30.0f);
  EXPECT_GT(luma(palette_entry(square.at(15, 1))), 120.0f);
  for (int32_t y = 0; y < 32; ++y)
    for (int32_t x = 0; x < 32; ++x)
      if (qix.at(x, y) != 0) {
        EXPECT_TRUE(x >= 4 && x <= 26 && y >= 4 && y <= 26) << x << "," << y;
        EXPECT_TRUE(qix.at(x, y) >= PAL_TRAIL_FIRST && qix.at(x, y) <= PAL_TRAIL_LAST);
      }
  // Keycaps top-centre, left, right and bottom-centre, under "Up", beside "Left"/"Right",
  // above "Down"; the corners between them stay see-through.
  EXPECT_NE(arrows.at(37, 10), 0);
  EXPECT_NE(arrows.at(10, 37), 0);
  EXPECT_NE(arrows.at(64, 37), 0);
  EXPECT_NE(arrows.at(37, 64), 0);
  EXPECT_EQ(arrows.at(5, 5), 0);
  EXPECT_EQ(arrows.at(70, 70), 0);
  // The skull fits the 14-pixel spacing of the lives row: 13 x 15 shown.
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 13; x < 16; ++x) EXPECT_EQ(skull.at(x, y), 0);
  // The title's letters fit in the 119 x 12 that is shown.
  for (int32_t x = 0; x < 120; ++x) EXPECT_EQ(title.at(x, 12), 0);
  int32_t ink = 0;
  for (int32_t y = 0; y < 12; ++y)
    for (int32_t x = 0; x < 119; ++x) ink += title.at(x, y) != 0;
  EXPECT_GT(ink, 119 * 12 / 2);
}

}  // namespace
