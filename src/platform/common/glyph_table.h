// The glyph table: the game's text characters, prerendered once by assetgen and checked in, so
// that every platform draws the same pixels whatever FreeType the host has. No SDL here.
//
// The file is plain text, one record after another, every line ending in '\n':
//
//   zorvane-glyphs 1
//   glyph 0 advance 7 bearing_x 0 top 0 width 0 height 0
//   glyph 1 advance 7 bearing_x 0 top 0 width 7 height 13
//   ......#
//   ...              (height rows of width characters: '#' ink, '.' none)
//
// All 256 single-byte characters (Latin-1) appear, in order of their code, each exactly once.
// A glyph whose width or height is 0 has no rows and no picture; its advance still moves the
// pen. Every number is a decimal integer; width and height lie in 0..GLYPH_SIDE_MAX, advance,
// bearing_x and top in -GLYPH_SIDE_MAX..GLYPH_SIDE_MAX. Anything else (another header, a
// missing or extra line, a row of the wrong length, a number out of range) refuses the table.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr int32_t GLYPH_COUNT = 256;
// A text glyph of an 11 px font is about 13 px high; anything past this is not such a glyph.
constexpr int32_t GLYPH_SIDE_MAX = 64;
constexpr const char* GLYPH_TABLE_HEADER = "zorvane-glyphs 1";
// The table the game reads from its data folders.
constexpr const char* GLYPH_TABLE_FILE = "DejaVuSans-Bold-11.glyphs";
// Larger than any table of 256 glyphs within GLYPH_SIDE_MAX can be.
constexpr size_t GLYPH_TABLE_MAX_BYTES = 2 * 1024 * 1024;

// One character: a width x height mask (1 = ink, row by row) placed at (bearing_x, top)
// relative to the pen and the line's top; the pen then moves by advance. mask is empty when
// width or height is 0.
struct GlyphTableEntry {
  int32_t advance = 0;
  int32_t bearing_x = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> mask;
};

struct GlyphTable {
  GlyphTableEntry glyphs[GLYPH_COUNT];
};

// Reads a table's text into out. False, with out untouched, for anything but a whole,
// well-formed table.
bool glyph_table_parse(const std::string& text, GlyphTable* out);
// The text of a table, in the one spelling glyph_table_parse takes (assetgen writes the
// checked-in table with it).
std::string glyph_table_format(const GlyphTable& table);
