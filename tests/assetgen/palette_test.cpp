// The game palette: texts land on their exact colours, the playfield colours stand apart, and
// the QIX trail brightens towards its newest line.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <set>
#include <tuple>

#include "asset_files.h"
#include "display/palette.h"

namespace {

uint32_t colorref(const TextColour& c) { return c.red | (c.green << 8) | (c.blue << 16); }

TEST(Palette, EveryTextColourIsItsOwnExactEntryAndTheNearestMatch) {
  PALETTEENTRY palette[256];
  assetgen_palette(palette);
  // The game's own nearest-colour match, run on this palette.
  std::memcpy(current_palette, palette, sizeof palette);
  for (const TextColour& c : TEXT_COLOURS) {
    const PALETTEENTRY e = palette[c.index];
    EXPECT_EQ(e.peRed, c.red) << c.name;
    EXPECT_EQ(e.peGreen, c.green) << c.name;
    EXPECT_EQ(e.peBlue, c.blue) << c.name;
    EXPECT_EQ(palette_nearest(colorref(c)), c.index) << c.name;
    for (int32_t i = 0; i < 256; ++i)
      if (i != c.index) {
        EXPECT_GT(colour_distance2(palette[i], e), 0) << c.name << " repeated at " << i;
      }
  }
  EXPECT_EQ(palette_nearest(0x000000), PAL_BLACK);  // the text shadow
}

TEST(Palette, PlayfieldColoursArePairwiseFarApart) {
  const uint8_t field[] = {PAL_BLACK, PAL_INNER_BORDER, PAL_BORDER, PAL_STIX};
  for (uint8_t a : field)
    for (uint8_t b : field)
      if (a != b) {
        EXPECT_GT(colour_distance2(palette_entry(a), palette_entry(b)), 90 * 90) << int(a) << " vs " << int(b);
      }
  // The walls: the live border bright, the inner border dim.
  EXPECT_GT(luma(palette_entry(PAL_BORDER)), 200.0f);
  EXPECT_LT(luma(palette_entry(PAL_INNER_BORDER)), 110.0f);
  EXPECT_GT(luma(palette_entry(PAL_STIX)), 90.0f);
}

TEST(Palette, TrailRampRisesInBrightnessToTheNewestLine) {
  for (int32_t i = PAL_TRAIL_FIRST; i < PAL_TRAIL_LAST; ++i)
    EXPECT_LT(luma(palette_entry(static_cast<uint8_t>(i))), luma(palette_entry(static_cast<uint8_t>(i + 1)))) << i;
  EXPECT_GT(luma(palette_entry(PAL_TRAIL_LAST)), 4.0f * luma(palette_entry(PAL_TRAIL_FIRST)));
}

TEST(Palette, RampsRiseAndTheWholePaletteIsDistinct) {
  const PaletteRamp ramps[] = {RAMP_SPACE, RAMP_NEBULA, RAMP_ROSE, RAMP_TEAL, RAMP_EMBER,
                               RAMP_STEEL, RAMP_BRASS,  RAMP_BONE, RAMP_RUST, RAMP_GREEN};
  std::set<int32_t> used;
  for (const PaletteRamp& r : ramps) {
    for (int32_t i = 0; i + 1 < r.count; ++i)
      EXPECT_LE(luma(palette_entry(static_cast<uint8_t>(r.first + i))), luma(palette_entry(static_cast<uint8_t>(r.first + i + 1))));
    for (int32_t i = 0; i < r.count; ++i) EXPECT_TRUE(used.insert(r.first + i).second) << "ramps overlap at " << r.first + i;
  }
  // Ramps never take the fixed entries.
  for (int32_t fixed : {0, 1, 10, 12, 13, 31, 175, 250, 255}) EXPECT_EQ(used.count(fixed), 0u) << fixed;
  std::set<std::tuple<int, int, int>> colours;
  for (int32_t i = 0; i < 256; ++i) {
    const PALETTEENTRY e = palette_entry(static_cast<uint8_t>(i));
    colours.insert({e.peRed, e.peGreen, e.peBlue});
  }
  EXPECT_GE(colours.size(), 250u);
}

TEST(Palette, MatchPicksTheNearestEntryOfTheSetOnly) {
  IndexSet set = indexset_art();
  EXPECT_EQ(palette_match(&set, 255, 0, 0), PAL_RED);
  indexset_remove(&set, PAL_RED);
  const uint8_t near_red = palette_match(&set, 255, 0, 0);
  EXPECT_NE(near_red, PAL_RED);
  EXPECT_GT(palette_entry(near_red).peRed, 150);
  const IndexSet field = indexset_starfield();
  for (int32_t i = 0; i < field.count; ++i) {
    const uint8_t v = field.index[i];
    EXPECT_TRUE(v != 0 && v != PAL_BORDER && v != PAL_INNER_BORDER && v != PAL_STIX && (v < PAL_TRAIL_FIRST || v > PAL_TRAIL_LAST));
  }
}

}  // namespace
