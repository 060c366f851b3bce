// The engine's copy of the display palette, the hardware palette behind it, and the
// nearest-colour match used for text.
#include "display/palette.h"

#include <cstring>

#include "display/display.h"

PALETTEENTRY current_palette[256];

namespace {

// Texts are drawn every frame in a handful of colours, so nearest-colour answers are kept.
// The cache remembers the palette it was computed for; any change to current_palette, by any
// path, empties it on the next query.
constexpr int32_t NEAREST_SLOTS = 32;

struct NearestCache {
  PALETTEENTRY palette[256];
  bool valid_palette = false;
  uint32_t key[NEAREST_SLOTS];
  uint8_t index[NEAREST_SLOTS];
  bool used[NEAREST_SLOTS];
};

NearestCache nearest_cache;

uint8_t search_nearest(uint32_t colorref) {
  const int32_t r = static_cast<int32_t>(colorref & 0xFF);
  const int32_t g = static_cast<int32_t>((colorref >> 8) & 0xFF);
  const int32_t b = static_cast<int32_t>((colorref >> 16) & 0xFF);
  int32_t best = 0;
  int32_t best_distance = 0x7FFFFFFF;
  for (int32_t i = 0; i < 256; ++i) {
    const int32_t dr = current_palette[i].peRed - r;
    const int32_t dg = current_palette[i].peGreen - g;
    const int32_t db = current_palette[i].peBlue - b;
    const int32_t distance = dr * dr + dg * dg + db * db;
    if (distance < best_distance) {  // strict: the lowest index wins a tie
      best_distance = distance;
      best = i;
      if (distance == 0) break;
    }
  }
  return static_cast<uint8_t>(best);
}

}  // namespace

bool palette_set_all(const PALETTEENTRY* entries) {
  if (!entries) return false;
  std::memmove(current_palette, entries, sizeof(current_palette));
  if (display.display_palette) std::memcpy(display.display_palette->entries, current_palette, sizeof(current_palette));
  return true;
}

bool palette_save(PALETTEENTRY* entries_out) {
  if (!entries_out) return false;
  std::memmove(entries_out, current_palette, sizeof(current_palette));
  return true;
}

uint8_t palette_nearest(uint32_t colorref) {
  NearestCache& c = nearest_cache;
  if (!c.valid_palette || std::memcmp(c.palette, current_palette, sizeof(current_palette)) != 0) {
    std::memcpy(c.palette, current_palette, sizeof(current_palette));
    c.valid_palette = true;
    for (bool& u : c.used) u = false;
  }
  const uint32_t key = colorref & 0xFFFFFF;
  const uint32_t slot = ((key * 2654435761u) >> 27) % NEAREST_SLOTS;
  if (c.used[slot] && c.key[slot] == key) return c.index[slot];
  const uint8_t index = search_nearest(key);
  c.used[slot] = true;
  c.key[slot] = key;
  c.index[slot] = index;
  return index;
}
