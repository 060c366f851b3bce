// Lines into locked surface memory, and text through a surface's device context.
#pragma once
#include <cstdint>

#include "display/surface.h"

using COLORREF = uint32_t;  // 0x00BBGGRR
constexpr COLORREF rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

int32_t draw_line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t colour, uint8_t* memory, int32_t pitch);
// Transparent text, top-left at (x, y), in the palette entry nearest to colour. 0 when the
// surface gives no device context (locked, or a context already out).
int32_t draw_text(const char* text, int32_t x, int32_t y, COLORREF colour, Surface* surface);

// Operations the game itself never calls.
// Clips a line to (0, 0)-(639, 479); 1 with the clipped end points, 0 when nothing is visible.
int32_t clip_line(int32_t* x0, int32_t* y0, int32_t* x1, int32_t* y1);
// Draws what clip_line leaves of the line; 0 when nothing of it is visible.
int32_t draw_clip_line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t colour, uint8_t* memory, int32_t pitch);
int32_t draw_pixel(int32_t x, int32_t y, int32_t colour, uint8_t* memory, int32_t pitch);
// Colour fill of (x1, y1)-(x2, y2), right and bottom exclusive, clipped to the surface.
int32_t draw_rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour, Surface* surface);
// draw_text in the colour of current_palette entry index.
int32_t draw_text_palette(const char* text, int32_t x, int32_t y, int32_t index, Surface* surface);
