// Painting in full colour before the picture is mapped onto the palette: an RGB canvas with
// coverage, a few soft-edged shapes, and the mapping itself.
#pragma once
#include <cstdint>
#include <vector>

#include "palette.h"

struct Rgb {
  float r, g, b;
};

// Colour 0..255 per channel (may go above while light is added); alpha 0..1 is coverage, and
// pixels under one half become palette index 0 (transparent in sprites).
struct Canvas {
  int32_t width, height;
  std::vector<Rgb> colour;
  std::vector<float> alpha;
};

// An 8-bit picture in palette indices, rows top first, width bytes apart.
struct Picture {
  int32_t width, height;
  std::vector<uint8_t> pixels;
};

Canvas canvas_make(int32_t width, int32_t height, Rgb fill, float alpha);
inline int32_t canvas_offset(const Canvas& c, int32_t x, int32_t y) { return y * c.width + x; }
inline bool canvas_inside(const Canvas& c, int32_t x, int32_t y) {
  return x >= 0 && y >= 0 && x < c.width && y < c.height;
}
// Paints colour over the pixel with opacity a (0..1), raising its coverage likewise.
void canvas_blend(Canvas* c, int32_t x, int32_t y, Rgb colour, float a);
// Adds light to the pixel (coverage untouched).
void canvas_add(Canvas* c, int32_t x, int32_t y, Rgb light, float amount);
// Sets colour and full coverage.
void canvas_set(Canvas* c, int32_t x, int32_t y, Rgb colour);
// A line of the given width with soft edges, painted with blend.
void canvas_line(Canvas* c, float x0, float y0, float x1, float y1, float width, Rgb colour, float a);
// A filled polygon (points as x, y pairs), edges smoothed by 4 x 4 sampling, painted with blend.
void canvas_polygon(Canvas* c, const float* points, int32_t count, Rgb colour, float a);
// A filled rounded rectangle, likewise.
void canvas_round_rect(Canvas* c, float left, float top, float right, float bottom, float radius, Rgb colour, float a);
// Coverage 0..1 of the pixel (x, y) by the polygon.
float polygon_coverage(const float* points, int32_t count, int32_t x, int32_t y);
// A glow: light falling off as exp(-(d/radius)^2) around (cx, cy), added.
void canvas_glow(Canvas* c, float cx, float cy, float radius, Rgb light, float amount);

Rgb rgbf(float r, float g, float b);
Rgb rgb_of(uint8_t palette_index);
Rgb rgb_mix(Rgb a, Rgb b, float t);
Rgb rgb_scale(Rgb a, float s);
Rgb rgb_add(Rgb a, Rgb b);
float clampf(float v, float lo, float hi);
float smoothstep(float e0, float e1, float x);

// Maps the canvas onto the palette entries of the set, with ordered dithering of the given
// strength (0 for crisp pixel art, about 6..12 for painted gradients).
Picture canvas_quantize(const Canvas& c, const IndexSet& set, float dither);
// The same with error diffusion (a share of each pixel's error passed on to its neighbours),
// which mixes two hues where the palette has no entry between them. Fully opaque canvases.
Picture canvas_quantize_diffused(const Canvas& c, const IndexSet& set, float share);

// Deterministic randomness: a hash for noise fields and a small generator for scattering.
uint32_t hash_u32(uint32_t x);
float hash_unit(int32_t x, int32_t y, uint32_t seed);  // 0..1
// Smooth value noise 0..1 with a lattice of one unit; fbm sums octaves of it (result 0..1).
float value_noise(float x, float y, uint32_t seed);
float fbm(float x, float y, uint32_t seed, int32_t octaves);

struct Rng {
  uint64_t state;
};
uint32_t rng_next(Rng* rng);
float rng_unit(Rng* rng);                 // 0..1
float rng_range(Rng* rng, float lo, float hi);
float rng_gauss(Rng* rng);                // about normal, mean 0, deviation 1
