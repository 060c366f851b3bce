// Reading the glyph table (the format is described in glyph_table.h). The text comes from a file
// anyone could have edited, so every read checks what is left and every number its range.
#include "platform/common/glyph_table.h"

#include <charconv>
#include <cstdio>
#include <string_view>
#include <utility>

namespace {

// The next line without its '\n'; false when no complete line is left.
bool take_line(std::string_view* text, std::string_view* line) {
  const size_t end = text->find('\n');
  if (end == std::string_view::npos) return false;
  *line = text->substr(0, end);
  text->remove_prefix(end + 1);
  return true;
}

// The next word of a line, up to a space or the line's end.
std::string_view take_word(std::string_view* line) {
  const size_t space = line->find(' ');
  const std::string_view word = line->substr(0, space);
  line->remove_prefix(space == std::string_view::npos ? line->size() : space + 1);
  return word;
}

bool parse_number(std::string_view word, int32_t low, int32_t high, int32_t* value) {
  int32_t v = 0;
  const char* end = word.data() + word.size();
  const auto [stop, error] = std::from_chars(word.data(), end, v);
  if (error != std::errc() || stop != end || v < low || v > high) return false;
  *value = v;
  return true;
}

// "glyph CODE advance A bearing_x X top T width W height H". The numbers are read word by word
// and the line must then be exactly what the writer makes of them: no stray spaces, signs or
// leading zeros, nothing after the last number.
bool parse_glyph_line(std::string_view line, int32_t* code, GlyphTableEntry* g) {
  constexpr const char* NAMES[6] = {"glyph", "advance", "bearing_x", "top", "width", "height"};
  int32_t values[6] = {};
  std::string_view rest = line;
  for (int i = 0; i < 6; ++i) {
    if (take_word(&rest) != NAMES[i]) return false;
    const bool side = i >= 4;
    const int32_t low = i == 0 || side ? 0 : -GLYPH_SIDE_MAX;
    const int32_t high = i == 0 ? GLYPH_COUNT - 1 : GLYPH_SIDE_MAX;
    if (!parse_number(take_word(&rest), low, high, &values[i])) return false;
  }
  char canonical[128];
  const int n = std::snprintf(canonical, sizeof canonical, "glyph %d advance %d bearing_x %d top %d width %d height %d",
                              values[0], values[1], values[2], values[3], values[4], values[5]);
  if (n <= 0 || static_cast<size_t>(n) >= sizeof canonical || line != std::string_view(canonical, static_cast<size_t>(n)))
    return false;
  *code = values[0];
  g->advance = values[1];
  g->bearing_x = values[2];
  g->top = values[3];
  g->width = values[4];
  g->height = values[5];
  return true;
}

bool parse_rows(std::string_view* text, GlyphTableEntry* g) {
  g->mask.clear();
  if (g->width == 0 || g->height == 0) return true;
  g->mask.reserve(static_cast<size_t>(g->width) * static_cast<size_t>(g->height));
  for (int32_t y = 0; y < g->height; ++y) {
    std::string_view row;
    if (!take_line(text, &row) || row.size() != static_cast<size_t>(g->width)) return false;
    for (const char c : row) {
      if (c != '#' && c != '.') return false;
      g->mask.push_back(c == '#' ? 1 : 0);
    }
  }
  return true;
}

}  // namespace

bool glyph_table_parse(const std::string& text, GlyphTable* out) {
  if (out == nullptr) return false;
  std::string_view rest = text;
  std::string_view line;
  if (!take_line(&rest, &line) || line != GLYPH_TABLE_HEADER) return false;
  GlyphTable table;
  for (int32_t expected = 0; expected < GLYPH_COUNT; ++expected) {
    int32_t code = -1;
    GlyphTableEntry& g = table.glyphs[expected];
    if (!take_line(&rest, &line) || !parse_glyph_line(line, &code, &g) || code != expected) return false;
    if (!parse_rows(&rest, &g)) return false;
  }
  if (!rest.empty()) return false;
  *out = std::move(table);
  return true;
}

std::string glyph_table_format(const GlyphTable& table) {
  std::string text = std::string(GLYPH_TABLE_HEADER) + "\n";
  for (int32_t c = 0; c < GLYPH_COUNT; ++c) {
    const GlyphTableEntry& g = table.glyphs[c];
    char line[128];
    std::snprintf(line, sizeof line, "glyph %d advance %d bearing_x %d top %d width %d height %d\n", c, g.advance,
                  g.bearing_x, g.top, g.width, g.height);
    text += line;
    if (g.width <= 0 || g.height <= 0) continue;
    for (int32_t y = 0; y < g.height; ++y) {
      for (int32_t x = 0; x < g.width; ++x) {
        const size_t at = static_cast<size_t>(y) * static_cast<size_t>(g.width) + static_cast<size_t>(x);
        text += at < g.mask.size() && g.mask[at] ? '#' : '.';
      }
      text += '\n';
    }
  }
  return text;
}
