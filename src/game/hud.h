// The side panel, the phase messages, the level bonus and the start of the initials entry.
#pragma once
#include <cstdint>

#include "display/draw.h"

constexpr int32_t TEXT_BUFFER_SIZE = 80;
extern char text_buffer[TEXT_BUFFER_SIZE];

// Text colours of the screens.
constexpr COLORREF COLOUR_WHITE = rgb(255, 255, 255);
constexpr COLORREF COLOUR_YELLOW = rgb(255, 255, 0);
constexpr COLORREF COLOUR_VIOLET = rgb(100, 0, 255);
constexpr COLORREF COLOUR_GREY = rgb(200, 200, 200);
constexpr COLORREF COLOUR_PALE_YELLOW = rgb(255, 255, 100);
constexpr COLORREF COLOUR_RED = rgb(255, 0, 0);
constexpr COLORREF COLOUR_PURPLE = rgb(200, 0, 200);
constexpr COLORREF COLOUR_GOLD = rgb(255, 200, 55);
constexpr COLORREF COLOUR_MAGENTA = rgb(255, 0, 255);
constexpr COLORREF COLOUR_ORANGE = rgb(250, 100, 0);
constexpr COLORREF COLOUR_BLACK = rgb(0, 0, 0);

// The text drawn in black one pixel right of and below its place, then in its colour.
void draw_text_shadowed(const char* text, int32_t x, int32_t y, COLORREF colour);
// Formats into text_buffer (cut to fit, never beyond it) and returns it.
const char* text_format(const char* format, ...) __attribute__((format(printf, 1, 2)));

void hud_draw();
// The "Filled" value for a number of claimed cells, e.g. "65.0%", in text_buffer.
const char* hud_filled_text(int32_t cells);
// Right edge (exclusive) of the red time bar, which starts at x = 490; 490 or less: no bar.
int32_t hud_time_bar_right(int32_t seconds_left);
// Whole percent of the playfield claimed beyond the target: the level bonus in thousands.
int32_t hud_extra_percent(int32_t cells);
