// TITLE.BMP: ZORVANE in bevelled chrome letters, 120 x 13 (shown 119 x 12): a sky-blue upper
// half, a white horizon line and a warm lower half, as polished metal reflects a desert
// evening, with a dark outline so the word stands on any backdrop.
#include <cstring>

#include "pictures.h"

namespace {

constexpr int32_t LETTER_W = 12, LETTER_H = 10;

const char* const LETTERS[7][LETTER_H] = {
    {"############", "############", ".......####.", "......####..", ".....####...", "....####....",
     "...####.....", "..####......", "############", "############"},  // Z
    {"..########..", ".##########.", "####....####", "###......###", "###......###", "###......###",
     "###......###", "####....####", ".##########.", "..########.."},  // O
    {"##########..", "###########.", "###.....####", "###.....####", "###########.", "##########..",
     "###...####..", "###....####.", "###.....####", "###......###"},  // R
    {"###......###", "###......###", "####....####", ".###....###.", ".####..####.", "..###..###..",
     "..########..", "...######...", "....####....", ".....##....."},  // V
    {"....####....", "...######...", "..###..###..", "..###..###..", ".###....###.", ".##########.",
     "############", "###......###", "###......###", "###......###"},  // A
    {"####.....###", "#####....###", "######...###", "###.###..###", "###..###.###", "###...######",
     "###....#####", "###.....####", "###......###", "###......###"},  // N
    {"############", "############", "###.........", "###.........", "##########..", "##########..",
     "###.........", "###.........", "############", "############"},  // E
};

// Chrome by row of the letter, top to bottom.
const Rgb CHROME[LETTER_H] = {
    {214, 228, 255}, {176, 200, 242}, {134, 164, 226}, {96, 126, 200}, {248, 250, 254},
    {64, 36, 22},    {118, 66, 36},   {170, 108, 58},  {218, 162, 104}, {244, 214, 168},
};

}  // namespace

Picture picture_title() {
  constexpr int32_t W = 120, H = 13, LEFT = 4, TOP = 1, ADVANCE = 16;
  std::vector<uint8_t> ink(W * H, 0);
  for (int32_t l = 0; l < 7; ++l)
    for (int32_t y = 0; y < LETTER_H; ++y)
      for (int32_t x = 0; x < LETTER_W; ++x)
        if (LETTERS[l][y][x] == '#') ink[(TOP + y) * W + LEFT + l * ADVANCE + x] = 1;
  const auto at = [&](int32_t x, int32_t y) { return x >= 0 && y >= 0 && x < W && y < H && ink[y * W + x]; };
  const IndexSet set = indexset_art();
  Picture p{W, H, std::vector<uint8_t>(W * H, 0)};
  for (int32_t y = 0; y < H; ++y) {
    for (int32_t x = 0; x < W; ++x) {
      if (!at(x, y)) {
        bool near = false;
        for (int32_t dy = -1; dy <= 1; ++dy)
          for (int32_t dx = -1; dx <= 1; ++dx) near = near || at(x + dx, y + dy);
        if (near) p.pixels[y * W + x] = palette_match(&set, 10, 10, 26);
        continue;
      }
      Rgb c = CHROME[y - TOP];
      // Bevel: edges facing the light (up, left) shine, edges facing away fall dark.
      if (!at(x, y - 1) || !at(x - 1, y)) c = rgb_mix(c, rgbf(255, 255, 255), 0.55f);
      else if (!at(x, y + 1) || !at(x + 1, y)) c = rgb_scale(c, 0.55f);
      p.pixels[y * W + x] = palette_match(&set, c.r, c.g, c.b);
    }
  }
  return p;
}
