// glyph_table_parse on any text. A table it accepts must be whole and in range, and (since the
// reader takes only the writer's own spelling) must write back to exactly the text it came from.
#include <cstdlib>
#include <string>

#include "platform/common/glyph_table.h"

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
  if (glyph_table_format(table) != text) std::abort();
  return 0;
}
