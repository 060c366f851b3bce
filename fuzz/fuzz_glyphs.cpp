// glyph_table_parse on any text. A table it accepts must be whole and in range, and (since the
// reader takes only the writer's own spelling) must write back to exactly the text it came from.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/common/glyph_table.h"

namespace {

std::string written(const GlyphTable& table) {
  std::string text = std::string(GLYPH_TABLE_HEADER) + "\n";
  for (int32_t c = 0; c < GLYPH_COUNT; ++c) {
    const GlyphTableEntry& g = table.glyphs[c];
    char line[128];
    std::snprintf(line, sizeof line, "glyph %d advance %d bearing_x %d top %d width %d height %d\n", c, g.advance,
                  g.bearing_x, g.top, g.width, g.height);
    text += line;
    for (size_t i = 0; i < g.mask.size(); ++i) {
      text += g.mask[i] ? '#' : '.';
      if ((i + 1) % static_cast<size_t>(g.width) == 0) text += '\n';
    }
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  GlyphTable table;
  table.glyphs[0].advance = 99;
  if (!glyph_table_parse(text, &table)) {
    if (table.glyphs[0].advance != 99) std::abort();  // a refused table leaves the old one
    return 0;
  }
  for (const GlyphTableEntry& g : table.glyphs) {
    if (g.width < 0 || g.height < 0 || g.width > GLYPH_SIDE_MAX || g.height > GLYPH_SIDE_MAX) std::abort();
    if (g.mask.size() != static_cast<size_t>(g.width) * static_cast<size_t>(g.height)) std::abort();
    for (uint8_t m : g.mask)
      if (m > 1) std::abort();
  }
  if (written(table) != text) std::abort();
  return 0;
}
