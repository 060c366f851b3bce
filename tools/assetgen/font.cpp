// The letters of the 5 x 7 font, one string of 35 cells each, rows top first.
#include "font.h"

#include <cstring>

namespace {

struct Glyph {
  char letter;
  const char* rows;
};

constexpr Glyph GLYPHS[] = {
    {'A', ".###.#...##...#######...##...##...#"}, {'C', ".###.#...##....#....#....#...#.###."},
    {'D', "####.#...##...##...##...##...#####."}, {'E', "######....#....####.#....#....#####"},
    {'F', "######....#....####.#....#....#...."}, {'G', ".###.#...##....#.####...##...#.####"},
    {'K', "#...##..#.#.#..##...#.#..#..#.#...#"}, {'L', "#....#....#....#....#....#....#####"},
    {'O', ".###.#...##...##...##...##...#.###."}, {'Q', ".###.#...##...##...##.#.##..#..##.#"},
    {'R', "####.#...##...#####.#.#..#..#.#...#"}, {'S', ".#####....#.....###.....#....#####."},
    {'U', "#...##...##...##...##...##...#.###."}, {'W', "#...##...##...##.#.##.#.###.###...#"},
};

}  // namespace

bool font_ink(char letter, int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= FONT_WIDTH || y >= FONT_HEIGHT) return false;
  for (const Glyph& g : GLYPHS)
    if (g.letter == letter) return g.rows[y * FONT_WIDTH + x] == '#';
  return false;
}

int32_t font_text_width(const char* text, int32_t scale) {
  const int32_t n = static_cast<int32_t>(std::strlen(text));
  return n == 0 ? 0 : (n * (FONT_WIDTH + 1) - 1) * scale;
}
