// A 5 x 7 pixel font for the few words painted into the pictures.
#pragma once
#include <cstdint>

constexpr int32_t FONT_WIDTH = 5, FONT_HEIGHT = 7;

// Ink at column x, row y of the letter (capitals, digits, space); unknown letters are blank.
bool font_ink(char letter, int32_t x, int32_t y);
// Width in pixels of a text at a scale, with one scaled pixel between letters.
int32_t font_text_width(const char* text, int32_t scale);
