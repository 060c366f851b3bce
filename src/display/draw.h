// Lines into locked surface memory, and text through a surface's device context.
#pragma once
#include <cstdint>

#include "display/surface.h"

using COLORREF = uint32_t;  // 0x00BBGGRR
constexpr COLORREF rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

// Unclipped: both end points must lie inside the memory. False only for null memory.
bool draw_line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t colour, uint8_t* memory, int32_t pitch);
// Transparent text, top-left at (x, y), in the palette entry nearest to colour. False when the
// surface gives no device context (locked, or a context already out).
bool draw_text(const char* text, int32_t x, int32_t y, COLORREF colour, Surface* surface);
