// Lines clipped to the 640 x 480 screen before they are drawn into locked memory.
#pragma once
#include <cstdint>

#include "display/draw.h"

// Clips a line to (0, 0)-(639, 479); true with the clipped end points, false when nothing is
// visible.
bool clip_line(int32_t* x0, int32_t* y0, int32_t* x1, int32_t* y1);
// Draws what clip_line leaves of the line; false when nothing of it is visible.
bool draw_clip_line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t colour, uint8_t* memory, int32_t pitch);
