// Glyphs of the system font through SDL2_ttf: rendered once, kept, hard-edged.
#include <gtest/gtest.h>

#include "platform/platform.h"

TEST(Glyphs, LettersHaveHardEdgedInkSpacesHaveOnlyAdvanceAndBothAreCached) {
  const PlatformGlyph* a = platform_glyph('A');
  const PlatformGlyph* space = platform_glyph(' ');
  ASSERT_TRUE(a && a->mask && space);
  EXPECT_GE(a->height, 10);  // a line about as tall as a classic desktop system font
  EXPECT_LE(a->height, 20);
  int ink = 0;
  for (int32_t i = 0; i < a->width * a->height; ++i) {
    EXPECT_LE(a->mask[i], 1);  // no anti-aliasing
    ink += a->mask[i];
  }
  EXPECT_GT(ink, 10);
  EXPECT_EQ(platform_glyph('A'), a);
  EXPECT_GT(space->advance, 0);
  for (int32_t i = 0; space->mask && i < space->width * space->height; ++i) EXPECT_EQ(space->mask[i], 0);
  EXPECT_GT(platform_glyph('W')->advance, platform_glyph('i')->advance);
}
