// Lines and pixels written into locked surface memory, the line clipper, rectangle fills and
// text through a surface's device context.
#include "display/draw.h"

#include <cstring>

#include "display/gdi.h"
#include "display/palette.h"

namespace {

constexpr int32_t CLIP_MIN_X = 0, CLIP_MIN_Y = 0, CLIP_MAX_X = 639, CLIP_MAX_Y = 479;

enum : int32_t { CODE_WEST = 1, CODE_EAST = 2, CODE_SOUTH = 4, CODE_NORTH = 8 };

int32_t region_code(int32_t x, int32_t y) {
  int32_t code = 0;
  if (y < CLIP_MIN_Y) code |= CODE_NORTH;
  else if (y > CLIP_MAX_Y) code |= CODE_SOUTH;
  if (x < CLIP_MIN_X) code |= CODE_WEST;
  else if (x > CLIP_MAX_X) code |= CODE_EAST;
  return code;
}

bool inside(int32_t x, int32_t y) {
  return x >= CLIP_MIN_X && x <= CLIP_MAX_X && y >= CLIP_MIN_Y && y <= CLIP_MAX_Y;
}

// Where the line from (x, y) towards (ox, oy) crosses the edge(s) that the end point's region
// code names: the horizontal edge first, then the vertical one for a corner region. Rounds by
// adding 0.5. False when no crossing lies on the rectangle.
bool clip_end(int32_t code, int32_t x, int32_t y, int32_t ox, int32_t oy, int32_t* cx, int32_t* cy) {
  const float dx = static_cast<float>(ox) - static_cast<float>(x);
  const float dy = static_cast<float>(oy) - static_cast<float>(y);
  if ((code & (CODE_NORTH | CODE_SOUTH)) && dy != 0.0f) {
    const int32_t edge = (code & CODE_NORTH) ? CLIP_MIN_Y : CLIP_MAX_Y;
    const float fx = static_cast<float>(x) + 0.5f + (static_cast<float>(edge) - static_cast<float>(y)) * dx / dy;
    if (fx >= CLIP_MIN_X && fx < CLIP_MAX_X + 1) {
      *cx = static_cast<int32_t>(fx);
      *cy = edge;
      return true;
    }
  }
  if ((code & (CODE_WEST | CODE_EAST)) && dx != 0.0f) {
    const int32_t edge = (code & CODE_WEST) ? CLIP_MIN_X : CLIP_MAX_X;
    const float fy = static_cast<float>(y) + 0.5f + (static_cast<float>(edge) - static_cast<float>(x)) * dy / dx;
    if (fy >= CLIP_MIN_Y && fy < CLIP_MAX_Y + 1) {
      *cx = edge;
      *cy = static_cast<int32_t>(fy);
      return true;
    }
  }
  return false;
}

}  // namespace

// The two branches keep different error thresholds (e > dx and e > 0): a mostly horizontal
// line with a slope ends one row short of its end point, and the QIX's look depends on it.
int32_t draw_line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t colour, uint8_t* memory, int32_t pitch) {
  if (!memory) return 0;
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
  return 1;
}

int32_t clip_line(int32_t* x0, int32_t* y0, int32_t* x1, int32_t* y1) {
  if (!x0 || !y0 || !x1 || !y1) return 0;
  const int32_t code0 = region_code(*x0, *y0), code1 = region_code(*x1, *y1);
  if (code0 & code1) return 0;  // both beyond the same edge
  if (code0 == 0 && code1 == 0) return 1;
  int32_t cx0 = *x0, cy0 = *y0, cx1 = *x1, cy1 = *y1;
  if (code0 && !clip_end(code0, *x0, *y0, *x1, *y1, &cx0, &cy0)) return 0;
  if (code1 && !clip_end(code1, *x1, *y1, *x0, *y0, &cx1, &cy1)) return 0;
  if (!inside(cx0, cy0) || !inside(cx1, cy1)) return 0;
  *x0 = cx0;
  *y0 = cy0;
  *x1 = cx1;
  *y1 = cy1;
  return 1;
}

int32_t draw_clip_line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t colour, uint8_t* memory, int32_t pitch) {
  if (!clip_line(&x0, &y0, &x1, &y1)) return 0;
  return draw_line(x0, y0, x1, y1, colour, memory, pitch);
}

int32_t draw_pixel(int32_t x, int32_t y, int32_t colour, uint8_t* memory, int32_t pitch) {
  if (!memory) return 0;
  memory[static_cast<int64_t>(y) * pitch + x] = static_cast<uint8_t>(colour & 0xFF);
  return 1;
}

int32_t draw_rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour, Surface* surface) {
  if (!surface) return 0;
  const Rect r{x1, y1, x2, y2};
  surface_fill(surface, &r, static_cast<uint8_t>(colour & 0xFF));
  return 1;
}

int32_t draw_text(const char* text, int32_t x, int32_t y, COLORREF colour, Surface* surface) {
  if (!text) return 0;
  DeviceContext dc;
  if (!surface_get_dc(surface, &dc)) return 0;
  gdi_set_text_colour(&dc, colour);
  gdi_set_transparent(&dc, 1);
  const size_t length = std::strlen(text);
  gdi_text_out(&dc, x, y, text, length > INT32_MAX ? INT32_MAX : static_cast<int32_t>(length));
  surface_release_dc(surface, &dc);
  return 1;
}

int32_t draw_text_palette(const char* text, int32_t x, int32_t y, int32_t index, Surface* surface) {
  if (index < 0 || index > 255) return 0;
  const PALETTEENTRY& e = current_palette[index];
  return draw_text(text, x, y, rgb(e.peRed, e.peGreen, e.peBlue), surface);
}
