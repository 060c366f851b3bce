// Full-colour painting helpers and the mapping onto the palette.
#include "canvas.h"

#include <cmath>

Canvas canvas_make(int32_t width, int32_t height, Rgb fill, float alpha) {
  Canvas c{width, height, {}, {}};
  c.colour.assign(static_cast<size_t>(width) * height, fill);
  c.alpha.assign(static_cast<size_t>(width) * height, alpha);
  return c;
}

void canvas_blend(Canvas* c, int32_t x, int32_t y, Rgb colour, float a) {
  if (!canvas_inside(*c, x, y) || a <= 0.0f) return;
  if (a > 1.0f) a = 1.0f;
  const int32_t o = canvas_offset(*c, x, y);
  Rgb& p = c->colour[o];
  float& pa = c->alpha[o];
  // Over a transparent pixel the new colour stands alone; over paint it mixes.
  const float under = pa;
  const float out_a = a + under * (1.0f - a);
  if (out_a <= 0.0f) return;
  p.r = (colour.r * a + p.r * under * (1.0f - a)) / out_a;
  p.g = (colour.g * a + p.g * under * (1.0f - a)) / out_a;
  p.b = (colour.b * a + p.b * under * (1.0f - a)) / out_a;
  pa = out_a;
}

void canvas_add(Canvas* c, int32_t x, int32_t y, Rgb light, float amount) {
  if (!canvas_inside(*c, x, y)) return;
  Rgb& p = c->colour[canvas_offset(*c, x, y)];
  p.r += light.r * amount;
  p.g += light.g * amount;
  p.b += light.b * amount;
}

void canvas_set(Canvas* c, int32_t x, int32_t y, Rgb colour) {
  if (!canvas_inside(*c, x, y)) return;
  const int32_t o = canvas_offset(*c, x, y);
  c->colour[o] = colour;
  c->alpha[o] = 1.0f;
}

void canvas_line(Canvas* c, float x0, float y0, float x1, float y1, float width, Rgb colour, float a) {
  const float half = width * 0.5f;
  const int32_t left = static_cast<int32_t>(std::floor(std::fmin(x0, x1) - half - 1.0f));
  const int32_t right = static_cast<int32_t>(std::ceil(std::fmax(x0, x1) + half + 1.0f));
  const int32_t top = static_cast<int32_t>(std::floor(std::fmin(y0, y1) - half - 1.0f));
  const int32_t bottom = static_cast<int32_t>(std::ceil(std::fmax(y0, y1) + half + 1.0f));
  const float dx = x1 - x0, dy = y1 - y0;
  const float len2 = dx * dx + dy * dy;
  for (int32_t y = top; y <= bottom; ++y) {
    for (int32_t x = left; x <= right; ++x) {
      const float px = static_cast<float>(x), py = static_cast<float>(y);
      float t = len2 > 0.0f ? ((px - x0) * dx + (py - y0) * dy) / len2 : 0.0f;
      t = clampf(t, 0.0f, 1.0f);
      const float ex = px - (x0 + dx * t), ey = py - (y0 + dy * t);
      const float d = std::sqrt(ex * ex + ey * ey);
      const float cover = clampf(half + 0.5f - d, 0.0f, 1.0f);
      if (cover > 0.0f) canvas_blend(c, x, y, colour, a * cover);
    }
  }
}

namespace {

bool point_in_polygon(const float* pts, int32_t count, float x, float y) {
  bool inside = false;
  for (int32_t i = 0, j = count - 1; i < count; j = i++) {
    const float xi = pts[2 * i], yi = pts[2 * i + 1], xj = pts[2 * j], yj = pts[2 * j + 1];
    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
  }
  return inside;
}

}  // namespace

float polygon_coverage(const float* points, int32_t count, int32_t x, int32_t y) {
  int32_t hits = 0;
  for (int32_t j = 0; j < 4; ++j)
    for (int32_t i = 0; i < 4; ++i)
      if (point_in_polygon(points, count, static_cast<float>(x) + (static_cast<float>(i) + 0.5f) / 4.0f,
                           static_cast<float>(y) + (static_cast<float>(j) + 0.5f) / 4.0f))
        ++hits;
  return static_cast<float>(hits) / 16.0f;
}

void canvas_polygon(Canvas* c, const float* points, int32_t count, Rgb colour, float a) {
  float left = points[0], right = points[0], top = points[1], bottom = points[1];
  for (int32_t i = 1; i < count; ++i) {
    left = std::fmin(left, points[2 * i]);
    right = std::fmax(right, points[2 * i]);
    top = std::fmin(top, points[2 * i + 1]);
    bottom = std::fmax(bottom, points[2 * i + 1]);
  }
  for (int32_t y = static_cast<int32_t>(std::floor(top)); y <= static_cast<int32_t>(std::ceil(bottom)); ++y)
    for (int32_t x = static_cast<int32_t>(std::floor(left)); x <= static_cast<int32_t>(std::ceil(right)); ++x) {
      const float cover = polygon_coverage(points, count, x, y);
      if (cover > 0.0f) canvas_blend(c, x, y, colour, a * cover);
    }
}

void canvas_round_rect(Canvas* c, float left, float top, float right, float bottom, float radius, Rgb colour, float a) {
  for (int32_t y = static_cast<int32_t>(std::floor(top)); y <= static_cast<int32_t>(std::ceil(bottom)); ++y)
    for (int32_t x = static_cast<int32_t>(std::floor(left)); x <= static_cast<int32_t>(std::ceil(right)); ++x) {
      int32_t hits = 0;
      for (int32_t j = 0; j < 4; ++j)
        for (int32_t i = 0; i < 4; ++i) {
          const float px = static_cast<float>(x) + (static_cast<float>(i) + 0.5f) / 4.0f;
          const float py = static_cast<float>(y) + (static_cast<float>(j) + 0.5f) / 4.0f;
          const float qx = std::fmax(std::fmax(left + radius - px, px - (right - radius)), 0.0f);
          const float qy = std::fmax(std::fmax(top + radius - py, py - (bottom - radius)), 0.0f);
          if (px >= left && px <= right && py >= top && py <= bottom && qx * qx + qy * qy <= radius * radius) ++hits;
        }
      if (hits > 0) canvas_blend(c, x, y, colour, a * static_cast<float>(hits) / 16.0f);
    }
}

void canvas_glow(Canvas* c, float cx, float cy, float radius, Rgb light, float amount) {
  const int32_t reach = static_cast<int32_t>(std::ceil(radius * 3.0f));
  const int32_t ix = static_cast<int32_t>(std::lround(cx)), iy = static_cast<int32_t>(std::lround(cy));
  for (int32_t y = iy - reach; y <= iy + reach; ++y) {
    for (int32_t x = ix - reach; x <= ix + reach; ++x) {
      const float dx = (static_cast<float>(x) - cx) / radius, dy = (static_cast<float>(y) - cy) / radius;
      const float f = std::exp(-(dx * dx + dy * dy));
      if (f > 0.002f) canvas_add(c, x, y, light, amount * f);
    }
  }
}

Rgb rgbf(float r, float g, float b) { return Rgb{r, g, b}; }

Rgb rgb_of(uint8_t palette_index) {
  const PALETTEENTRY e = palette_entry(palette_index);
  return Rgb{static_cast<float>(e.peRed), static_cast<float>(e.peGreen), static_cast<float>(e.peBlue)};
}

Rgb rgb_mix(Rgb a, Rgb b, float t) { return Rgb{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
Rgb rgb_scale(Rgb a, float s) { return Rgb{a.r * s, a.g * s, a.b * s}; }
Rgb rgb_add(Rgb a, Rgb b) { return Rgb{a.r + b.r, a.g + b.g, a.b + b.b}; }

float clampf(float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); }

float smoothstep(float e0, float e1, float x) {
  const float t = clampf((x - e0) / (e1 - e0), 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

Picture canvas_quantize(const Canvas& c, const IndexSet& set, float dither) {
  // 8x8 ordered dither matrix: neighbouring thresholds far apart, so flat areas break into
  // a fine even texture instead of bands.
  static const uint8_t BAYER[8][8] = {
      {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
      {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
      {15, 47, 7, 39, 13, 45, 5, 37},  {63, 31, 55, 23, 61, 29, 53, 21}};
  Picture p{c.width, c.height, std::vector<uint8_t>(static_cast<size_t>(c.width) * c.height, 0)};
  for (int32_t y = 0; y < c.height; ++y) {
    for (int32_t x = 0; x < c.width; ++x) {
      const int32_t o = canvas_offset(c, x, y);
      if (c.alpha[o] < 0.5f) continue;
      const float d = (static_cast<float>(BAYER[y & 7][x & 7]) / 64.0f - 0.49f) * dither;
      const Rgb& v = c.colour[o];
      p.pixels[o] = palette_match(&set, clampf(v.r + d, 0.0f, 255.0f), clampf(v.g + d, 0.0f, 255.0f),
                                  clampf(v.b + d, 0.0f, 255.0f));
    }
  }
  return p;
}

Picture canvas_quantize_diffused(const Canvas& c, const IndexSet& set, float share) {
  Picture p{c.width, c.height, std::vector<uint8_t>(static_cast<size_t>(c.width) * c.height, 0)};
  std::vector<Rgb> work = c.colour;
  // Serpentine Floyd-Steinberg: rows alternate direction so the error never drifts one way.
  for (int32_t y = 0; y < c.height; ++y) {
    const bool forward = (y & 1) == 0;
    for (int32_t n = 0; n < c.width; ++n) {
      const int32_t x = forward ? n : c.width - 1 - n;
      const int32_t o = canvas_offset(c, x, y);
      const Rgb v{clampf(work[o].r, 0.0f, 255.0f), clampf(work[o].g, 0.0f, 255.0f), clampf(work[o].b, 0.0f, 255.0f)};
      const uint8_t index = palette_match(&set, v.r, v.g, v.b);
      p.pixels[o] = index;
      const PALETTEENTRY e = palette_entry(index);
      const Rgb err{(v.r - e.peRed) * share, (v.g - e.peGreen) * share, (v.b - e.peBlue) * share};
      const int32_t step = forward ? 1 : -1;
      const auto spread = [&](int32_t dx, int32_t dy, float w) {
        const int32_t nx = x + dx, ny = y + dy;
        if (nx < 0 || nx >= c.width || ny >= c.height) return;
        Rgb& t = work[canvas_offset(c, nx, ny)];
        t.r += err.r * w;
        t.g += err.g * w;
        t.b += err.b * w;
      };
      spread(step, 0, 7.0f / 16.0f);
      spread(-step, 1, 3.0f / 16.0f);
      spread(0, 1, 5.0f / 16.0f);
      spread(step, 1, 1.0f / 16.0f);
    }
  }
  return p;
}

uint32_t hash_u32(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

float hash_unit(int32_t x, int32_t y, uint32_t seed) {
  const uint32_t h = hash_u32(static_cast<uint32_t>(x) * 0x9E3779B1U ^ hash_u32(static_cast<uint32_t>(y) + seed * 0x85EBCA77U));
  return static_cast<float>(h >> 8) / 16777216.0f;
}

float value_noise(float x, float y, uint32_t seed) {
  const float fx = std::floor(x), fy = std::floor(y);
  const int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
  float tx = x - fx, ty = y - fy;
  tx = tx * tx * (3.0f - 2.0f * tx);
  ty = ty * ty * (3.0f - 2.0f * ty);
  const float a = hash_unit(ix, iy, seed), b = hash_unit(ix + 1, iy, seed);
  const float c = hash_unit(ix, iy + 1, seed), d = hash_unit(ix + 1, iy + 1, seed);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float fbm(float x, float y, uint32_t seed, int32_t octaves) {
  float sum = 0.0f, amplitude = 0.5f, total = 0.0f;
  for (int32_t i = 0; i < octaves; ++i) {
    sum += value_noise(x, y, seed + static_cast<uint32_t>(i) * 101U) * amplitude;
    total += amplitude;
    // Rotate a little each octave so the lattice never lines up.
    const float nx = x * 1.6f - y * 1.2f, ny = x * 1.2f + y * 1.6f;
    x = nx + 17.31f;
    y = ny + 5.77f;
    amplitude *= 0.5f;
  }
  return sum / total;
}

uint32_t rng_next(Rng* rng) {
  // PCG-XSH-RR: small, well mixed and the same on every machine.
  const uint64_t old = rng->state;
  rng->state = old * 6364136223846793005ULL + 1442695040888963407ULL;
  const uint32_t xorshifted = static_cast<uint32_t>(((old >> 18) ^ old) >> 27);
  const uint32_t rot = static_cast<uint32_t>(old >> 59);
  return (xorshifted >> rot) | (xorshifted << ((32 - rot) & 31));
}

float rng_unit(Rng* rng) { return static_cast<float>(rng_next(rng) >> 8) / 16777216.0f; }

float rng_range(Rng* rng, float lo, float hi) { return lo + (hi - lo) * rng_unit(rng); }

float rng_gauss(Rng* rng) {
  float s = 0.0f;
  for (int32_t i = 0; i < 6; ++i) s += rng_unit(rng);
  return (s - 3.0f) * 1.41421356f;
}
