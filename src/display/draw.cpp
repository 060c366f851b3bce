// Lines written into locked surface memory, and text through a surface's device context.
#include "display/draw.h"

#include <cstring>

#include "display/gdi.h"

// The two branches keep different error thresholds (e > dx and e > 0): a mostly horizontal
// line with a slope ends one row short of its end point, and the QIX's look depends on it.
bool draw_line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t colour, uint8_t* memory, int32_t pitch) {
  if (!memory) return false;
  uint8_t* p = memory + static_cast<int64_t>(y0) * pitch + x0;
  const uint8_t index = static_cast<uint8_t>(colour & 0xFF);
  int32_t dx = x1 - x0, dy = y1 - y0;
  int64_t step_x = 1, step_y = pitch;
  if (dx < 0) {
    step_x = -1;
    dx = -dx;
  }
  if (dy < 0) {
    step_y = -step_y;
    dy = -dy;
  }
  int32_t e = 0;
  if (dx > dy) {
    for (int32_t i = 0; i <= dx; ++i) {
      e += dy;
      *p = index;
      if (e > dx) {
        e -= dx;
        p += step_y;
      }
      p += step_x;
    }
  } else {
    for (int32_t i = 0; i <= dy; ++i) {
      e += dx;
      *p = index;
      if (e > 0) {
        e -= dy;
        p += step_x;
      }
      p += step_y;
    }
  }
  return true;
}

bool draw_text(const char* text, int32_t x, int32_t y, COLORREF colour, Surface* surface) {
  if (!text) return false;
  DeviceContext dc;
  if (!surface_get_dc(surface, &dc)) return false;
  gdi_set_text_colour(&dc, colour);
  gdi_set_transparent(&dc, 1);
  const size_t length = std::strlen(text);
  gdi_text_out(&dc, x, y, text, length > INT32_MAX ? INT32_MAX : static_cast<int32_t>(length));
  surface_release_dc(surface, &dc);
  return true;
}
