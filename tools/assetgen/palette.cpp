// The game palette. Entries 1..12 are flat colours, 13..31 the QIX trail, the rest ramps built
// from a few key colours each; 175, 250 and 255 are the playfield walls and the stix.
#include "palette.h"

#include <cmath>

const TextColour TEXT_COLOURS[TEXT_COLOUR_COUNT] = {
    {"black", PAL_BLACK, 0, 0, 0},
    {"white", PAL_WHITE, 255, 255, 255},
    {"yellow", PAL_YELLOW, 255, 255, 0},
    {"violet", PAL_VIOLET, 100, 0, 255},
    {"grey", PAL_GREY, 200, 200, 200},
    {"pale yellow", PAL_PALE_YELLOW, 255, 255, 100},
    {"red", PAL_RED, 255, 0, 0},
    {"purple", PAL_PURPLE, 200, 0, 200},
    {"gold", PAL_GOLD, 255, 200, 55},
    {"magenta", PAL_MAGENTA, 255, 0, 255},
    {"orange", PAL_ORANGE, 250, 100, 0},
};

namespace {

struct Key {
  uint8_t r, g, b;
};

PALETTEENTRY entry(int32_t r, int32_t g, int32_t b) {
  return PALETTEENTRY{static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b), 0};
}

// Spreads count entries evenly over the key colours, first key to last.
void fill_ramp(PALETTEENTRY* entries, int32_t first, int32_t count, const Key* keys, int32_t key_count) {
  for (int32_t i = 0; i < count; ++i) {
    const float t = count > 1 ? static_cast<float>(i) / static_cast<float>(count - 1) : 0.0f;
    const float pos = t * static_cast<float>(key_count - 1);
    int32_t k = static_cast<int32_t>(pos);
    if (k >= key_count - 1) k = key_count - 2;
    const float f = pos - static_cast<float>(k);
    const Key& a = keys[k];
    const Key& b = keys[k + 1];
    entries[first + i] = entry(static_cast<int32_t>(std::lround(a.r + (b.r - a.r) * f)),
                               static_cast<int32_t>(std::lround(a.g + (b.g - a.g) * f)),
                               static_cast<int32_t>(std::lround(a.b + (b.b - a.b) * f)));
  }
}

constexpr Key SPACE[] = {{6, 8, 22}, {14, 18, 48}, {28, 40, 96}, {60, 90, 170}, {130, 170, 235}, {215, 230, 255}};
constexpr Key NEBULA[] = {{12, 6, 26}, {36, 14, 66}, {72, 28, 128}, {120, 56, 190}, {175, 110, 235}, {230, 200, 255}};
constexpr Key ROSE[] = {{22, 6, 18}, {62, 12, 44}, {120, 24, 80}, {190, 50, 120}, {240, 110, 170}, {255, 205, 225}};
constexpr Key TEAL[] = {{4, 16, 22}, {8, 40, 52}, {14, 80, 92}, {30, 140, 150}, {90, 205, 205}, {200, 255, 245}};
constexpr Key EMBER[] = {{20, 8, 4}, {70, 22, 6}, {140, 50, 10}, {210, 100, 20}, {250, 170, 60}, {255, 240, 170}};
constexpr Key STEEL[] = {{16, 18, 24}, {50, 54, 66}, {100, 106, 122}, {160, 166, 182}, {215, 220, 232}, {248, 250, 254}};
constexpr Key BRASS[] = {{26, 16, 4}, {80, 50, 12}, {150, 100, 24}, {210, 160, 50}, {245, 215, 110}, {255, 248, 210}};
constexpr Key BONE[] = {{34, 26, 22}, {90, 76, 62}, {150, 134, 110}, {205, 192, 165}, {245, 238, 215}};
constexpr Key RUST[] = {{28, 12, 8}, {70, 32, 18}, {120, 62, 34}, {170, 104, 60}, {215, 160, 110}, {240, 210, 170}};
constexpr Key GREEN[] = {{4, 20, 10}, {12, 60, 30}, {30, 120, 60}, {90, 200, 110}, {190, 255, 190}};
// Electric trail: dark plum for the oldest line up to white-hot cyan for the newest.
constexpr Key TRAIL[] = {{36, 0, 40}, {96, 0, 120}, {140, 30, 220}, {50, 110, 255}, {30, 200, 255}, {220, 255, 255}};

void fill(PALETTEENTRY* entries, PaletteRamp ramp, const Key* keys, int32_t key_count) {
  fill_ramp(entries, ramp.first, ramp.count, keys, key_count);
}

float clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

}  // namespace

void assetgen_palette(PALETTEENTRY* entries) {
  entries[0] = entry(0, 0, 0);
  for (const TextColour& c : TEXT_COLOURS) entries[c.index] = entry(c.red, c.green, c.blue);
  entries[PAL_MID_GREY] = entry(110, 110, 120);
  entries[PAL_DARK_GREY] = entry(48, 48, 56);
  fill_ramp(entries, PAL_TRAIL_FIRST, PAL_TRAIL_LAST - PAL_TRAIL_FIRST + 1, TRAIL, 6);
  fill(entries, RAMP_SPACE, SPACE, 6);
  fill(entries, RAMP_NEBULA, NEBULA, 6);
  fill(entries, RAMP_ROSE, ROSE, 6);
  fill(entries, RAMP_TEAL, TEAL, 6);
  fill(entries, RAMP_EMBER, EMBER, 6);
  fill(entries, RAMP_STEEL, STEEL, 6);
  fill(entries, RAMP_BRASS, BRASS, 6);
  fill(entries, RAMP_BONE, BONE, 5);
  fill(entries, RAMP_RUST, RUST, 6);
  fill(entries, RAMP_GREEN, GREEN, 5);
  entries[PAL_INNER_BORDER] = entry(64, 80, 120);
  entries[PAL_STAR_FIRST + 0] = entry(255, 246, 225);
  entries[PAL_STAR_FIRST + 1] = entry(215, 228, 255);
  entries[PAL_STAR_FIRST + 2] = entry(255, 214, 170);
  entries[PAL_STAR_FIRST + 3] = entry(170, 200, 255);
  entries[PAL_BORDER] = entry(236, 240, 255);
  entries[PAL_STIX] = entry(255, 48, 96);
}

PALETTEENTRY palette_entry(uint8_t index) {
  static PALETTEENTRY table[256];
  static bool made = false;
  if (!made) {
    assetgen_palette(table);
    made = true;
  }
  return table[index];
}

uint8_t ramp_index(PaletteRamp ramp, float t) {
  const int32_t step = static_cast<int32_t>(std::lround(clamp01(t) * static_cast<float>(ramp.count - 1)));
  return static_cast<uint8_t>(ramp.first + step);
}

IndexSet indexset_art() {
  IndexSet set{};
  for (int32_t i = 1; i < 256; ++i) {
    if (i >= PAL_TRAIL_FIRST && i <= PAL_TRAIL_LAST) continue;
    if (i == PAL_INNER_BORDER || i == PAL_BORDER || i == PAL_STIX) continue;
    set.index[set.count++] = static_cast<uint8_t>(i);
  }
  return set;
}

IndexSet indexset_starfield() {
  IndexSet set = indexset_art();
  // Also without the neutral greys: mixed nebula light would fall on them as grey haze.
  const uint8_t flat[] = {PAL_YELLOW, PAL_VIOLET, PAL_RED, PAL_PURPLE, PAL_MAGENTA, PAL_ORANGE, PAL_WHITE, PAL_GREY, PAL_MID_GREY, PAL_DARK_GREY};
  for (uint8_t p : flat) indexset_remove(&set, p);
  for (int32_t i = 0; i < RAMP_STEEL.count; ++i) indexset_remove(&set, static_cast<uint8_t>(RAMP_STEEL.first + i));
  return set;
}

void indexset_remove(IndexSet* set, uint8_t index) {
  int32_t out = 0;
  for (int32_t i = 0; i < set->count; ++i)
    if (set->index[i] != index) set->index[out++] = set->index[i];
  set->count = out;
}

uint8_t palette_match(const IndexSet* set, float red, float green, float blue) {
  uint8_t best = set->count > 0 ? set->index[0] : 0;
  float best_distance = 1e30f;
  for (int32_t i = 0; i < set->count; ++i) {
    const PALETTEENTRY e = palette_entry(set->index[i]);
    // Red-mean weighting: a cheap approximation of how far apart two colours look.
    const float mean_red = (red + e.peRed) * 0.5f;
    const float dr = red - e.peRed, dg = green - e.peGreen, db = blue - e.peBlue;
    const float d = (2.0f + mean_red / 256.0f) * dr * dr + 4.0f * dg * dg + (2.0f + (255.0f - mean_red) / 256.0f) * db * db;
    if (d < best_distance) {
      best_distance = d;
      best = set->index[i];
    }
  }
  return best;
}
