// Painting helpers: coverage becomes transparency, colours map onto the palette, error
// diffusion mixes entries, and the randomness is repeatable.
#include <gtest/gtest.h>

#include <cmath>

#include "canvas.h"
#include "font.h"

namespace {

TEST(Canvas, UncoveredPixelsAreTransparentAndPaletteColoursMapToThemselves) {
  Canvas c = canvas_make(8, 2, rgbf(0, 0, 0), 0.0f);
  canvas_set(&c, 1, 0, rgb_of(PAL_GOLD));
  canvas_set(&c, 2, 0, rgb_of(ramp_index(RAMP_TEAL, 0.5f)));
  canvas_blend(&c, 3, 0, rgb_of(PAL_WHITE), 0.3f);  // too faint to count as covered
  canvas_blend(&c, 4, 0, rgb_of(PAL_WHITE), 0.7f);
  const Picture p = canvas_quantize(c, indexset_art(), 0.0f);
  EXPECT_EQ(p.pixels[0], 0);
  EXPECT_EQ(p.pixels[1], PAL_GOLD);
  EXPECT_EQ(p.pixels[2], ramp_index(RAMP_TEAL, 0.5f));
  EXPECT_EQ(p.pixels[3], 0);
  EXPECT_EQ(p.pixels[4], PAL_WHITE);
  EXPECT_EQ(p.pixels[8], 0);
}

TEST(Canvas, DiffusionMixesNeighbouringEntriesToTheWantedColour) {
  // A grey between two steel steps: no entry matches, so the picture must mix them.
  const PALETTEENTRY lo = palette_entry(ramp_index(RAMP_STEEL, 0.3f)), hi = palette_entry(ramp_index(RAMP_STEEL, 0.4f));
  IndexSet set{};
  set.index[set.count++] = ramp_index(RAMP_STEEL, 0.3f);
  set.index[set.count++] = ramp_index(RAMP_STEEL, 0.4f);
  const Rgb want = rgbf((lo.peRed * 3 + hi.peRed) / 4.0f, (lo.peGreen * 3 + hi.peGreen) / 4.0f, (lo.peBlue * 3 + hi.peBlue) / 4.0f);
  const Canvas c = canvas_make(64, 64, want, 1.0f);
  const Picture p = canvas_quantize_diffused(c, set, 1.0f);
  double mean = 0.0;
  int32_t high = 0;
  for (uint8_t v : p.pixels) {
    mean += palette_entry(v).peGreen;
    high += v == set.index[1];
  }
  mean /= static_cast<double>(p.pixels.size());
  EXPECT_NEAR(mean, want.g, 1.0);
  EXPECT_NEAR(static_cast<double>(high) / p.pixels.size(), 0.25, 0.03);
}

TEST(Canvas, ShapesCoverWhatTheyShouldWithSoftEdges) {
  Canvas c = canvas_make(20, 20, rgbf(0, 0, 0), 0.0f);
  const float triangle[] = {2, 2, 18, 2, 2, 18};
  canvas_polygon(&c, triangle, 3, rgbf(255, 0, 0), 1.0f);
  EXPECT_FLOAT_EQ(c.alpha[canvas_offset(c, 4, 4)], 1.0f);
  EXPECT_FLOAT_EQ(c.alpha[canvas_offset(c, 16, 16)], 0.0f);
  const float edge = c.alpha[canvas_offset(c, 9, 10)];  // on the slanted edge: partly covered
  EXPECT_GT(edge, 0.0f);
  EXPECT_LT(edge, 1.0f);
  Canvas r = canvas_make(20, 20, rgbf(0, 0, 0), 0.0f);
  canvas_round_rect(&r, 2, 2, 18, 18, 5, rgbf(0, 255, 0), 1.0f);
  EXPECT_FLOAT_EQ(r.alpha[canvas_offset(r, 10, 2)], 1.0f);
  EXPECT_LT(r.alpha[canvas_offset(r, 2, 2)], 0.25f);  // the corner is rounded off
}

TEST(Canvas, RandomnessRepeatsAndStaysInRange) {
  Rng a{42}, b{42}, c{43};
  bool differs = false;
  for (int32_t i = 0; i < 1000; ++i) {
    const uint32_t x = rng_next(&a);
    EXPECT_EQ(x, rng_next(&b));
    differs = differs || x != rng_next(&c);
    const float u = rng_unit(&a);
    rng_unit(&b);
    EXPECT_GE(u, 0.0f);
    EXPECT_LT(u, 1.0f);
  }
  EXPECT_TRUE(differs);
  for (int32_t i = 0; i < 200; ++i) {
    const float x = static_cast<float>(i) * 0.37f - 20.0f, y = static_cast<float>(i) * 0.21f + 3.0f;
    const float n = fbm(x, y, 9, 5);
    EXPECT_GE(n, 0.0f);
    EXPECT_LE(n, 1.0f);
    // Smooth: a tiny step moves the noise only a little.
    EXPECT_NEAR(value_noise(x, y, 9), value_noise(x + 0.001f, y, 9), 0.01f);
  }
}

TEST(Font, LettersHaveTheirShapesAndUnknownOnesAreBlank) {
  for (int32_t x = 0; x < FONT_WIDTH; ++x) EXPECT_TRUE(font_ink('L', x, FONT_HEIGHT - 1));
  for (int32_t y = 0; y < FONT_HEIGHT; ++y) EXPECT_TRUE(font_ink('L', 0, y));
  EXPECT_FALSE(font_ink('L', 4, 0));
  EXPECT_FALSE(font_ink('O', 2, 3));  // the hole
  for (const char* word : {"QUARREL", "FORGE", "ARCADE WORKS"})
    for (const char* ch = word; *ch; ++ch) {
      int32_t ink = 0;
      for (int32_t y = 0; y < FONT_HEIGHT; ++y)
        for (int32_t x = 0; x < FONT_WIDTH; ++x) ink += font_ink(*ch, x, y);
      EXPECT_TRUE(*ch == ' ' ? ink == 0 : ink >= 10) << *ch;
    }
  EXPECT_FALSE(font_ink('?', 2, 2));
  EXPECT_EQ(font_text_width("QUARREL", 2), 82);
  EXPECT_EQ(font_text_width("", 2), 0);
}

}  // namespace
