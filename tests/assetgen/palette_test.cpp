// The game palette: the screens' text colours land on exact entries, the playfield colours
// stand apart, and the QIX trail brightens towards its newest line.
#include <gtest/gtest.h>

#include <cstring>

#include "asset_files.h"
#include "display/palette.h"
#include "display/text.h"


namespace {

TEST(Palette, EveryTextColourOfTheGameIsOneExactEntryThatItsNearestMatchPicks) {
  PALETTEENTRY palette[256];
  assetgen_palette(palette);
  std::memcpy(current_palette, palette, sizeof palette);  // the game's own match runs on it
  for (COLORREF c : {COLOUR_WHITE, COLOUR_YELLOW, COLOUR_VIOLET, COLOUR_GREY, COLOUR_PALE_YELLOW, COLOUR_RED,
                     COLOUR_PURPLE, COLOUR_GOLD, COLOUR_MAGENTA, COLOUR_ORANGE, COLOUR_BLACK}) {
    SCOPED_TRACE(testing::Message() << std::hex << c);
    int32_t exact = 0;
    for (const PALETTEENTRY& e : palette) exact += rgb(e.peRed, e.peGreen, e.peBlue) == c;
    EXPECT_EQ(exact, 1);
    const PALETTEENTRY picked = palette[palette_nearest(c)];
    EXPECT_EQ(rgb(picked.peRed, picked.peGreen, picked.peBlue), c);
  }
  EXPECT_EQ(palette_nearest(COLOUR_BLACK), PAL_BLACK);  // the text shadow, transparent in sprites
}

TEST(Palette, PlayfieldColoursStandApartAndTheTrailBrightensToItsNewestLine) {
  const uint8_t field[] = {PAL_BLACK, PAL_INNER_BORDER, PAL_BORDER, PAL_STIX};
  for (uint8_t a : field)
    for (uint8_t b : field)
      if (a != b) {
        EXPECT_GT(colour_distance2(palette_entry(a), palette_entry(b)), 90 * 90) << int(a) << " vs " << int(b);
      }
  // The live border bright, the inner border dim.
  EXPECT_GT(luma(palette_entry(PAL_BORDER)), 200.0f);
  EXPECT_LT(luma(palette_entry(PAL_INNER_BORDER)), 110.0f);
  EXPECT_GT(luma(palette_entry(PAL_STIX)), 90.0f);
  for (int32_t i = PAL_TRAIL_FIRST; i < PAL_TRAIL_LAST; ++i)
    EXPECT_LT(luma(palette_entry(static_cast<uint8_t>(i))), luma(palette_entry(static_cast<uint8_t>(i + 1)))) << i;
  EXPECT_GT(luma(palette_entry(PAL_TRAIL_LAST)), 4.0f * luma(palette_entry(PAL_TRAIL_FIRST)));
}

}  // namespace
