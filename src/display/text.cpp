// The one text buffer of the screens, and the two ways texts are drawn from it.
#include <cstdarg>
#include <cstdio>

#include "display/display.h"
#include "display/text.h"

char text_buffer[TEXT_BUFFER_SIZE] = {};

void draw_text_shadowed(const char* text, int32_t x, int32_t y, COLORREF colour, Surface* target) {
  draw_text(text, x + 1, y + 1, COLOUR_BLACK, target);
  draw_text(text, x, y, colour, target);
}

const char* text_format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  if (std::vsnprintf(text_buffer, sizeof text_buffer, format, args) < 0) text_buffer[0] = '\0';
  va_end(args);
  return text_buffer;
}
