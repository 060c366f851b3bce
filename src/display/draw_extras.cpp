// Single pixels into locked memory, rectangle fills of a surface, and text in the colour of a
// palette entry.
#include "display/draw_extras.h"

#include "display/palette.h"

bool draw_pixel(int32_t x, int32_t y, int32_t colour, uint8_t* memory, int32_t pitch) {
  if (!memory) return false;
  memory[static_cast<int64_t>(y) * pitch + x] = static_cast<uint8_t>(colour & 0xFF);
  return true;
}

bool draw_rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour, Surface* surface) {
  if (!surface) return false;
  const Rect r{x1, y1, x2, y2};
  surface_fill(surface, &r, static_cast<uint8_t>(colour & 0xFF));
  return true;
}

bool draw_text_palette(const char* text, int32_t x, int32_t y, int32_t index, Surface* surface) {
  if (index < 0 || index > 255) return false;
  const PALETTEENTRY& e = current_palette[index];
  return draw_text(text, x, y, rgb(e.peRed, e.peGreen, e.peBlue), surface);
}
