// platform_glyph on top of the glyph table: read once, on the first call, from the data folders.
// Without a readable table there is no font, and text is left out as it always was then.
#include "platform/common/glyphs.h"

#include <cstdio>
#include <string>

#include "platform/common/glyph_table.h"
#include "platform/platform.h"

namespace {

struct Glyphs {
  bool tried = false;
  bool loaded = false;
  GlyphTable table;
  PlatformGlyph glyphs[GLYPH_COUNT] = {};
  int32_t least_advance = 0, least_bearing_x = 0;
};

Glyphs glyphs;

void load() {
  glyphs.tried = true;
  const std::string path = platform_data_path(GLYPH_TABLE_FILE);
  std::string text;
  if (path.empty()) return;  // platform_data_path has said where it looked
  if (!platform_file_read(path.c_str(), &text, GLYPH_TABLE_MAX_BYTES) || !glyph_table_parse(text, &glyphs.table)) {
    std::fprintf(stderr, "zorvane: no glyph table this version can read in %s; running without text\n",
                 path.c_str());
    return;
  }
  for (int32_t c = 0; c < GLYPH_COUNT; ++c) {
    const GlyphTableEntry& e = glyphs.table.glyphs[c];
    glyphs.glyphs[c] = PlatformGlyph{e.width,   e.height, e.bearing_x, e.top,
                                     e.advance, e.mask.empty() ? nullptr : e.mask.data()};
  }
  glyphs.least_advance = glyphs.glyphs[0].advance;
  glyphs.least_bearing_x = glyphs.glyphs[0].bearing_x;
  for (const PlatformGlyph& g : glyphs.glyphs) {
    if (g.advance < glyphs.least_advance) glyphs.least_advance = g.advance;
    if (g.bearing_x < glyphs.least_bearing_x) glyphs.least_bearing_x = g.bearing_x;
  }
  glyphs.loaded = true;
}

}  // namespace

void glyphs_forget() { glyphs = Glyphs{}; }

const PlatformGlyph* platform_glyph(unsigned char c) {
  if (!glyphs.tried) load();
  return glyphs.loaded ? &glyphs.glyphs[c] : nullptr;
}

bool platform_glyph_least(int32_t* advance, int32_t* bearing_x) {
  if (!glyphs.tried) load();
  if (!glyphs.loaded) return false;
  *advance = glyphs.least_advance;
  *bearing_x = glyphs.least_bearing_x;
  return true;
}
