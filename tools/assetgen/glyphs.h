// The glyph table, remade from the font on purpose: `assetgen --glyphs FILE` (through
// scripts/update-glyphs.sh). Like the goldens, the checked-in table changes only when someone
// means it to; the game itself never touches the font.
#pragma once
#include <string>

#include "platform/common/glyph_table.h"

// The layouts of the screens were made for a font of about 7 px average width: the panel's
// "- Pause game" at x 548 and "Right" at x 606 must end inside 640 pixels. DejaVu Sans Bold at
// 11 points (13 px line height) does; 12 points cuts both at the screen's edge.
constexpr int GLYPHS_PIXEL_SIZE = 11;

// All 256 Latin-1 characters of the font at path, rendered by SDL2_ttf without anti-aliasing.
// False when the font cannot be opened.
bool glyphs_render(const char* font_path, GlyphTable* out);
// Renders the font and replaces out_file with its table; false on any failure.
bool glyphs_write(const char* font_path, const char* out_file);
