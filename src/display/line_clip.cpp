// The line clipper for the 640 x 480 screen, and lines drawn through it.
#include "display/line_clip.h"

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

bool clip_line(int32_t* x0, int32_t* y0, int32_t* x1, int32_t* y1) {
  if (!x0 || !y0 || !x1 || !y1) return false;
  const int32_t code0 = region_code(*x0, *y0), code1 = region_code(*x1, *y1);
  if (code0 & code1) return false;  // both beyond the same edge
  if (code0 == 0 && code1 == 0) return true;
  int32_t cx0 = *x0, cy0 = *y0, cx1 = *x1, cy1 = *y1;
  if (code0 && !clip_end(code0, *x0, *y0, *x1, *y1, &cx0, &cy0)) return false;
  if (code1 && !clip_end(code1, *x1, *y1, *x0, *y0, &cx1, &cy1)) return false;
  if (!inside(cx0, cy0) || !inside(cx1, cy1)) return false;
  *x0 = cx0;
  *y0 = cy0;
  *x1 = cx1;
  *y1 = cy1;
  return true;
}

bool draw_clip_line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t colour, uint8_t* memory, int32_t pitch) {
  if (!clip_line(&x0, &y0, &x1, &y1)) return false;
  return draw_line(x0, y0, x1, y1, colour, memory, pitch);
}
