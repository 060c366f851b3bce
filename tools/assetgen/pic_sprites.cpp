// The small pixel-art pictures, painted straight in palette indices: the sprite sheet
// OBJECTS2.BMP (markers, Sparx, menu pointer, Fuse), SKULL.BMP and QIX.BMP. Index 0 is
// transparent, and the game shows only the first 15 x 15 pixels of a 16 x 16 frame.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "pictures.h"

namespace {

Picture blank(int32_t width, int32_t height) {
  return Picture{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height, 0)};
}

void put(Picture* p, int32_t x, int32_t y, uint8_t index) {
  if (x < 0 || y < 0 || x >= p->width || y >= p->height) return;
  p->pixels[static_cast<size_t>(y) * p->width + x] = index;
}

// The player's marker: a diamond ring round a hot core, centred on frame pixel (7, 7), where
// the marker's grid point lies. Frame A glows, frame B is the dim half of the blink.
void marker(Picture* p, int32_t left, int32_t top, bool bright) {
  for (int32_t y = 0; y < 15; ++y) {
    for (int32_t x = 0; x < 15; ++x) {
      const int32_t d = std::abs(x - 7) + std::abs(y - 7);
      const bool upper_left = (x - 7) + (y - 7) < 0;
      uint8_t index = 0;
      if (d == 6) index = ramp_index(RAMP_GREEN, bright ? 0.2f : 0.1f);
      else if (d == 5) index = bright ? (upper_left ? PAL_STAR_FIRST + 0 : ramp_index(RAMP_GREEN, 0.95f))
                                      : ramp_index(RAMP_GREEN, upper_left ? 0.6f : 0.45f);
      else if (d == 4) index = ramp_index(RAMP_GREEN, bright ? (upper_left ? 0.8f : 0.62f) : 0.3f);
      else if (d <= 1) index = bright ? PAL_WHITE : ramp_index(RAMP_GREEN, 0.75f);
      else if (d == 2 && bright) index = ramp_index(RAMP_GREEN, 0.9f);
      put(p, left + x, top + y, index);
    }
  }
}

// The Sparx: an electric spark, white at the heart, rays of yellow through rose to red,
// centred on frame pixel (7, 7).
void sparx(Picture* p, int32_t left, int32_t top) {
  const uint8_t ray[] = {PAL_WHITE, PAL_PALE_YELLOW, PAL_YELLOW, ramp_index(RAMP_EMBER, 0.8f), ramp_index(RAMP_ROSE, 0.7f),
                         PAL_RED, ramp_index(RAMP_ROSE, 0.3f)};
  for (int32_t k = 0; k <= 6; ++k) {
    put(p, left + 7 + k, top + 7, ray[k]);
    put(p, left + 7 - k, top + 7, ray[k]);
    put(p, left + 7, top + 7 + k, ray[k]);
    put(p, left + 7, top + 7 - k, ray[k]);
  }
  for (int32_t k = 1; k <= 4; ++k) {
    const uint8_t c = ray[k + 1];
    put(p, left + 7 + k, top + 7 + k, c);
    put(p, left + 7 - k, top + 7 - k, c);
    put(p, left + 7 + k, top + 7 - k, c);
    put(p, left + 7 - k, top + 7 + k, c);
  }
  // A hot core a little wider than one pixel.
  put(p, left + 6, top + 7, PAL_PALE_YELLOW);
  put(p, left + 8, top + 7, PAL_PALE_YELLOW);
  put(p, left + 7, top + 6, PAL_PALE_YELLOW);
  put(p, left + 7, top + 8, PAL_PALE_YELLOW);
  // Stray sparks off the rays.
  put(p, left + 10, top + 5, ramp_index(RAMP_EMBER, 0.85f));
  put(p, left + 4, top + 10, ramp_index(RAMP_EMBER, 0.85f));
  put(p, left + 3, top + 4, ramp_index(RAMP_ROSE, 0.6f));
  put(p, left + 11, top + 10, ramp_index(RAMP_ROSE, 0.6f));
}

// The menu pointer: a notched golden arrowhead pointing right. The buttons are drawn after
// it and cover everything from column 10 on, so it lives in columns 0..9, centred on row 8
// (the middle of a button's label).
void pointer(Picture* p, int32_t left, int32_t top) {
  for (int32_t y = 2; y <= 14; ++y) {
    const int32_t dy = std::abs(y - 8);
    const int32_t right = 9 - (dy * 7 + 3) / 6;
    const int32_t start = 4 - (dy + 1) / 2;
    for (int32_t x = std::max(0, start); x <= right; ++x) {
      const bool edge_top = y < 8 ? (x == right || x == std::max(0, start)) : false;
      const bool edge_bottom = y > 8 ? (x == right || x == std::max(0, start)) : false;
      float t = 0.95f - static_cast<float>(y - 2) * 0.04f;
      if (edge_top) t = 1.0f;
      if (edge_bottom) t = 0.35f;
      if (y == 8 && x == right) t = 1.0f;
      put(p, left + x, top + y, ramp_index(RAMP_BRASS, t));
    }
  }
  put(p, left + 9, top + 8, PAL_PALE_YELLOW);
}

// The Fuse: a burning point with its flame rising. It is drawn with its frame one cell right
// of and five up-left of the grid point, so the point itself is frame pixel (4, 5).
void fuse(Picture* p, int32_t left, int32_t top) {
  constexpr float CX = 4.0f, CY = 5.5f;
  for (int32_t y = 0; y < 15; ++y) {
    for (int32_t x = 0; x < 15; ++x) {
      const float dx = static_cast<float>(x) - CX, dy = static_cast<float>(y) - CY;
      float r;
      if (dy >= 0.0f) {
        r = std::sqrt(dx * dx + dy * dy) / 3.4f;
      } else {
        // The tongue narrows upward and leans a little to the right.
        const float half = 3.4f * (1.0f + dy / 6.0f);
        const float lean = -dy * 0.18f;
        r = half > 0.2f ? std::fabs(dx - lean) / half : 2.0f;
        r = std::fmax(r, -dy / 6.0f);
      }
      if (r > 1.0f) continue;
      uint8_t index;
      if (r < 0.25f) index = PAL_WHITE;
      else if (r < 0.45f) index = PAL_PALE_YELLOW;
      else if (r < 0.62f) index = PAL_GOLD;
      else if (r < 0.8f) index = PAL_ORANGE;
      else index = ramp_index(RAMP_EMBER, 0.4f);
      put(p, left + x, top + y, index);
    }
  }
  put(p, left + 9, top + 2, PAL_GOLD);
  put(p, left + 10, top + 6, ramp_index(RAMP_EMBER, 0.7f));
  put(p, left + 8, top + 10, PAL_ORANGE);
  put(p, left + 1, top + 11, ramp_index(RAMP_EMBER, 0.6f));
}

}  // namespace

Picture picture_objects() {
  Picture p = blank(96, 18);
  // Thin rules between the frames, as on a drawn sprite sheet; the game never reads them.
  const uint8_t rule = ramp_index(RAMP_STEEL, 0.15f);
  const int32_t columns[] = {0, 17, 34, 35, 52, 53, 70, 71, 88};
  for (int32_t x : columns)
    for (int32_t y = 0; y < 18; ++y) put(&p, x, y, rule);
  for (int32_t x = 0; x <= 88; ++x) {
    put(&p, x, 0, rule);
    put(&p, x, 17, rule);
  }
  marker(&p, FRAME_MARKER_B_X, FRAME_Y, false);
  marker(&p, FRAME_MARKER_A_X, FRAME_Y, true);
  sparx(&p, FRAME_SPARX_X, FRAME_Y);
  pointer(&p, FRAME_POINTER_X, FRAME_Y);
  fuse(&p, FRAME_FUSE_X, FRAME_Y);
  return p;
}

Picture picture_skull() {
  // o outline, h highlight, b bone, s shadow, e socket, r glowing eye, n nose and gaps, t teeth.
  static const char* const ROWS[15] = {
      "....ooooo....", "..oohhhhhoo..", ".ohhhhhbbbbo.", "ohhhbbbbbbbso", "ohhbbbbbbbbso",
      "ohbbbbbbbbsso", "obeeebbbeeeso", "oberebbbereso", "obbeebbbeebso", ".obbbbnbbbbo.",
      "..obbnnnbbo..", "..osbbbbbso..", "..otntntnto..", "...ottttto...", "....ooooo....",
  };
  Picture p = blank(16, 16);
  for (int32_t y = 0; y < 15; ++y) {
    for (int32_t x = 0; x < 13 && ROWS[y][x]; ++x) {
      uint8_t index = 0;
      switch (ROWS[y][x]) {
        case 'o': index = ramp_index(RAMP_BONE, 0.12f); break;
        case 'h': index = ramp_index(RAMP_BONE, 1.0f); break;
        case 'b': index = ramp_index(RAMP_BONE, 0.78f); break;
        case 's': index = ramp_index(RAMP_BONE, 0.5f); break;
        case 'e': index = ramp_index(RAMP_BONE, 0.0f); break;
        case 'r': index = PAL_RED; break;
        case 'n': index = ramp_index(RAMP_BONE, 0.2f); break;
        case 't': index = ramp_index(RAMP_BONE, 0.9f); break;
        default: break;
      }
      put(&p, x, y, index);
    }
  }
  return p;
}

namespace {

// A line in one palette index, every pixel of it (the game draws its QIX the same way).
void line(Picture* p, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t index) {
  const int32_t dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int32_t sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int32_t err = dx + dy;
  for (;;) {
    put(p, x0, y0, index);
    if (x0 == x1 && y0 == y1) break;
    const int32_t e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

}  // namespace

Picture picture_qix() {
  // Ten lines of a spinning QIX in its trail colours, oldest (darkest) first so the newest
  // lies on top; kept inside the icon tile's frame.
  Picture p = blank(32, 32);
  for (int32_t k = 9; k >= 0; --k) {
    const float kf = static_cast<float>(k);
    const float angle = 0.5f + kf * 0.24f;
    const float cx = 15.5f - kf * 0.5f, cy = 15.0f + std::sin(kf * 0.5f) * 2.2f;
    const float half = 10.5f - kf * 0.35f;
    const int32_t x0 = static_cast<int32_t>(std::lround(cx - std::cos(angle) * half));
    const int32_t y0 = static_cast<int32_t>(std::lround(cy - std::sin(angle) * half));
    const int32_t x1 = static_cast<int32_t>(std::lround(cx + std::cos(angle) * half));
    const int32_t y1 = static_cast<int32_t>(std::lround(cy + std::sin(angle) * half));
    line(&p, x0, y0, x1, y1, static_cast<uint8_t>(PAL_TRAIL_LAST - 2 * k));
  }
  return p;
}
