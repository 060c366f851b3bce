// Glyphs of the system font through SDL2_ttf: rendered once, kept, hard-edged.
#include <gtest/gtest.h>

#include "platform/platform.h"

TEST(Glyphs, LettersHaveInkSpacesHaveOnlyAdvanceAndBothAreCached) {
  const PlatformGlyph* a = platform_glyph('A');
  ASSERT_NE(a, nullptr);
  EXPECT_GT(a->advance, 4);
  EXPECT_GE(a->height, 10);   // a line about as tall as a classic desktop system font
  EXPECT_LE(a->height, 20);
  ASSERT_NE(a->mask, nullptr);
  int ink = 0;
  for (int32_t i = 0; i < a->width * a->height; ++i) {
    EXPECT_TRUE(a->mask[i] == 0 || a->mask[i] == 1);  // no anti-aliasing
    ink += a->mask[i];
  }
  EXPECT_GT(ink, 10);
  EXPECT_EQ(platform_glyph('A'), a);
  EXPECT_EQ(platform_glyph('A')->mask, a->mask);

  const PlatformGlyph* space = platform_glyph(' ');
  ASSERT_NE(space, nullptr);
  EXPECT_GT(space->advance, 0);
  int space_ink = 0;
  for (int32_t i = 0; i < space->width * space->height; ++i) space_ink += space->mask ? space->mask[i] : 0;
  EXPECT_EQ(space_ink, 0);

  // A wide letter is wider than a narrow one.
  EXPECT_GT(platform_glyph('W')->advance, platform_glyph('i')->advance);
}
