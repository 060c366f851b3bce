// Single pixels, rectangle fills and text in a palette entry's colour.
#pragma once
#include <cstdint>

#include "display/draw.h"

bool draw_pixel(int32_t x, int32_t y, int32_t colour, uint8_t* memory, int32_t pitch);
// Colour fill of (x1, y1)-(x2, y2), right and bottom exclusive, clipped to the surface.
bool draw_rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour, Surface* surface);
// draw_text in the colour of current_palette entry index.
bool draw_text_palette(const char* text, int32_t x, int32_t y, int32_t index, Surface* surface);
