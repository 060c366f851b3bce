// The bevelled pieces of the screens: MENURECT.BMP (a menu button), SQUARE.BMP (the icon tile
// of the about screen) and ARROWS.BMP (four arrow keycaps for the side panel). The game shows
// a picture one column and one row short, so every bevel closes one pixel inside the edge.
#include <cmath>

#include "pictures.h"

namespace {

Picture blank(int32_t width, int32_t height) {
  return Picture{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height, 0)};
}

void put(Picture* p, int32_t x, int32_t y, uint8_t index) {
  if (x < 0 || y < 0 || x >= p->width || y >= p->height) return;
  p->pixels[static_cast<size_t>(y) * p->width + x] = index;
}

uint8_t steel(float t) { return ramp_index(RAMP_STEEL, t); }

// A bevelled frame over the box (0, 0)-(right, bottom): dark outline, two light rows on the
// top and left, two shadow rows on the bottom and right, corners cut.
void bevel(Picture* p, int32_t right, int32_t bottom, const float* light, const float* shade) {
  for (int32_t x = 1; x < right; ++x) {
    put(p, x, 0, steel(0.04f));
    put(p, x, bottom, steel(0.04f));
  }
  for (int32_t y = 1; y < bottom; ++y) {
    put(p, 0, y, steel(0.04f));
    put(p, right, y, steel(0.04f));
  }
  for (int32_t ring = 1; ring <= 2; ++ring) {
    for (int32_t x = ring; x <= right - ring; ++x) {
      put(p, x, ring, steel(light[ring - 1]));
      put(p, x, bottom - ring, steel(shade[ring - 1]));
    }
    for (int32_t y = ring; y <= bottom - ring; ++y) {
      put(p, ring, y, steel(light[ring - 1] - 0.12f));
      put(p, right - ring, y, steel(shade[ring - 1] + 0.05f));
    }
    // Where light meets shade the corner takes the middle tone.
    put(p, right - ring, ring, steel(0.45f));
    put(p, ring, bottom - ring, steel(0.3f));
  }
}

}  // namespace

Picture picture_menurect() {
  // Shown 99 x 23; the label is written 10 pixels in and 3 down, pale yellow or purple with a
  // black shadow, so the face stays dark: a night-blue glass with a violet glow along its foot.
  Picture p = blank(100, 24);
  const int32_t right = 98, bottom = 22;
  const float light[2] = {0.82f, 0.6f}, shade[2] = {0.16f, 0.26f};
  bevel(&p, right, bottom, light, shade);
  for (int32_t y = 3; y <= bottom - 3; ++y) {
    for (int32_t x = 3; x <= right - 3; ++x) {
      // Gloss on the upper half, deeper blue below, brightening a little towards the foot.
      float t = y <= 10 ? 0.34f - static_cast<float>(y - 3) * 0.022f : 0.1f + static_cast<float>(y - 11) * 0.012f;
      uint8_t index = ramp_index(RAMP_SPACE, t);
      if (y == bottom - 3) {
        const float fade = std::fmin(1.0f, std::fmin(static_cast<float>(x - 3), static_cast<float>(right - 3 - x)) / 20.0f);
        index = ramp_index(RAMP_NEBULA, 0.25f + 0.45f * fade);
      }
      put(&p, x, y, index);
    }
  }
  return p;
}

Picture picture_square() {
  // A steel frame with brass rivets round a dark well; the about screen draws the QIX, a
  // Sparx and the Fuse into the well.
  Picture p = blank(32, 32);
  const int32_t right = 30, bottom = 30;
  const float light[2] = {0.86f, 0.62f}, shade[2] = {0.18f, 0.3f};
  bevel(&p, right, bottom, light, shade);
  for (int32_t y = 3; y <= bottom - 3; ++y) {
    for (int32_t x = 3; x <= right - 3; ++x) {
      if (x == 3 || y == 3) {
        put(&p, x, y, steel(0.02f));  // the well's rim in shadow
        continue;
      }
      if (x == right - 3 || y == bottom - 3) {
        put(&p, x, y, steel(0.4f));  // and catching light on the far side
        continue;
      }
      const float dx = static_cast<float>(x) - 15.0f, dy = static_cast<float>(y) - 15.0f;
      const float r = std::sqrt(dx * dx + dy * dy) / 16.0f;
      put(&p, x, y, ramp_index(RAMP_SPACE, 0.02f + 0.16f * r * r));
    }
  }
  const int32_t rivets[4][2] = {{1, 1}, {right - 2, 1}, {1, bottom - 2}, {right - 2, bottom - 2}};
  for (const auto& r : rivets) {
    put(&p, r[0], r[1], ramp_index(RAMP_BRASS, 1.0f));
    put(&p, r[0] + 1, r[1], ramp_index(RAMP_BRASS, 0.7f));
    put(&p, r[0], r[1] + 1, ramp_index(RAMP_BRASS, 0.6f));
    put(&p, r[0] + 1, r[1] + 1, ramp_index(RAMP_BRASS, 0.3f));
  }
  return p;
}

namespace {

// One keycap of 24 x 24 at (x0, y0) with its arrow; direction 0 up, 1 left, 2 right, 3 down.
void keycap(Canvas* c, float x0, float y0, int32_t direction) {
  canvas_round_rect(c, x0, y0, x0 + 24.0f, y0 + 24.0f, 4.5f, rgbf(14, 16, 22), 1.0f);
  // The skirt: lit from above, falling into shadow at the foot.
  for (int32_t y = 0; y < 22; ++y) {
    const float t = static_cast<float>(y) / 21.0f;
    const Rgb skirt = rgb_mix(rgbf(170, 176, 194), rgbf(40, 44, 58), t);
    for (int32_t x = 0; x < 22; ++x) {
      const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
      const float qx = std::fmax(std::fmax(4.0f - px, px - 18.0f), 0.0f), qy = std::fmax(std::fmax(4.0f - py, py - 18.0f), 0.0f);
      if (qx * qx + qy * qy <= 16.0f)
        canvas_set(c, static_cast<int32_t>(x0) + 1 + x, static_cast<int32_t>(y0) + 1 + y, skirt);
    }
  }
  // The top face, slightly dished: brighter at its lower lip.
  for (int32_t y = 0; y < 16; ++y) {
    const float t = static_cast<float>(y) / 15.0f;
    Rgb face = rgb_mix(rgbf(104, 110, 130), rgbf(78, 84, 104), t);
    if (y == 0) face = rgbf(176, 182, 200);
    if (y == 15) face = rgbf(124, 130, 150);
    for (int32_t x = 0; x < 16; ++x) {
      const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
      const float qx = std::fmax(std::fmax(3.0f - px, px - 13.0f), 0.0f), qy = std::fmax(std::fmax(3.0f - py, py - 13.0f), 0.0f);
      if (qx * qx + qy * qy <= 9.0f) canvas_set(c, static_cast<int32_t>(x0) + 4 + x, static_cast<int32_t>(y0) + 3 + y, face);
    }
  }
  // The arrow, pointing up before it is turned; engraved shadow first, then the lit glyph.
  const float shape[] = {0.0f, -5.5f, 5.0f, -0.5f, 1.6f, -0.5f, 1.6f, 5.0f, -1.6f, 5.0f, -1.6f, -0.5f, -5.0f, -0.5f};
  const float cx = x0 + 12.0f, cy = y0 + 11.0f;
  float pts[14];
  for (int32_t pass = 0; pass < 2; ++pass) {
    for (int32_t i = 0; i < 7; ++i) {
      float ax = shape[2 * i], ay = shape[2 * i + 1];
      float rx = ax, ry = ay;
      if (direction == 1) { rx = ay; ry = -ax; }
      if (direction == 2) { rx = -ay; ry = ax; }
      if (direction == 3) { rx = -ax; ry = -ay; }
      pts[2 * i] = cx + rx + (pass == 0 ? 0.8f : 0.0f);
      pts[2 * i + 1] = cy + ry + (pass == 0 ? 0.8f : 0.0f);
    }
    canvas_polygon(c, pts, 7, pass == 0 ? rgbf(26, 36, 48) : rgbf(110, 232, 228), 1.0f);
  }
}

}  // namespace

Picture picture_arrows() {
  // Up at the top middle, Left and Right at the sides, Down at the bottom, under the panel's
  // words "Up", "Left", "Right" and "Down"; shown 75 x 75.
  Canvas c = canvas_make(76, 76, rgbf(0, 0, 0), 0.0f);
  keycap(&c, 25.0f, 0.0f, 0);
  keycap(&c, 0.0f, 25.0f, 1);
  keycap(&c, 50.0f, 25.0f, 2);
  keycap(&c, 25.0f, 50.0f, 3);
  // A small dark hub where the four keys meet.
  canvas_round_rect(&c, 31.0f, 31.0f, 44.0f, 44.0f, 6.0f, rgbf(24, 26, 36), 1.0f);
  canvas_round_rect(&c, 34.0f, 34.0f, 41.0f, 41.0f, 3.5f, rgbf(60, 20, 30), 1.0f);
  canvas_glow(&c, 36.5f, 36.5f, 1.6f, rgbf(255, 60, 60), 0.9f);
  return canvas_quantize(c, indexset_art(), 0.0f);
}
