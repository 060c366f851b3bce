// The screens' text: their colours, the one line every screen formats its text into, and text
// drawn with its shadow.
#pragma once
#include <cstdint>

#include "display/draw.h"

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

constexpr int32_t TEXT_BUFFER_SIZE = 80;
// The one line the screens format their texts into: a text longer than 79 characters is cut.
extern char text_buffer[TEXT_BUFFER_SIZE];

// Formats into text_buffer (cut to fit, never beyond it) and returns it.
const char* text_format(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The text drawn in black one pixel right of and below its place, then in its colour, onto
// target.
void draw_text_shadowed(const char* text, int32_t x, int32_t y, COLORREF colour, Surface* target);
