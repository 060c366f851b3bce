// The engine's copy of the display palette, the hardware palette behind it, palette files,
// colour rotation and the nearest-colour match used for text.
#include "display/palette.h"

#include <cstdio>
#include <cstdlib>
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

int32_t palette_set_all(const PALETTEENTRY* entries) {
  if (!entries) return 0;
  std::memmove(current_palette, entries, sizeof(current_palette));
  if (display_palette) std::memcpy(display_palette->entries, current_palette, sizeof(current_palette));
  return 1;
}

int32_t palette_save(PALETTEENTRY* entries_out) {
  if (!entries_out) return 0;
  std::memmove(entries_out, current_palette, sizeof(current_palette));
  return 1;
}

int32_t palette_set_entry(int32_t index, const PALETTEENTRY* entry) {
  if (!entry || index < 0 || index > 255) return 0;
  if (display_palette) display_palette->entries[index] = *entry;
  current_palette[index] = *entry;
  return 1;
}

int32_t palette_get_entry(int32_t index, PALETTEENTRY* entry) {
  if (!entry || index < 0 || index > 255) return 0;
  *entry = current_palette[index];
  return 1;
}

// One entry a line, "\n%d %d %d %d", so the file starts with an empty line. A write that does
// not reach the disk (full disk, I/O error) is reported as a failure.
int32_t palette_save_file(const char* file_name, const PALETTEENTRY* entries) {
  if (!file_name || !entries) return 0;
  FILE* f = std::fopen(file_name, "w");
  if (!f) return 0;
  for (int32_t i = 0; i < 256; ++i)
    std::fprintf(f, "\n%d %d %d %d", entries[i].peRed, entries[i].peGreen, entries[i].peBlue, entries[i].peFlags);
  const bool write_failed = std::ferror(f) != 0;
  const bool close_failed = std::fclose(f) != 0;
  return write_failed || close_failed ? 0 : 1;
}

// All 256 entries must read as four numbers 0..255 each (whitespace between, as "%d %d %d %d"
// reads them), else the caller's array stays untouched and the result is 0: a short or garbled
// file never leaves half a palette behind.
int32_t palette_load_file(const char* file_name, PALETTEENTRY* entries) {
  if (!file_name || !entries) return 0;
  FILE* f = std::fopen(file_name, "r");
  if (!f) return 0;
  // A palette file is about 4 KB; far more than that is not one.
  char text[65536];
  const size_t length = std::fread(text, 1, sizeof(text) - 1, f);
  std::fclose(f);
  text[length] = '\0';

  PALETTEENTRY loaded[256];
  const char* p = text;
  for (int32_t i = 0; i < 256; ++i) {
    long v[4];
    for (int c = 0; c < 4; ++c) {
      char* end = nullptr;
      v[c] = std::strtol(p, &end, 10);
      if (end == p || v[c] < 0 || v[c] > 255) return 0;
      p = end;
    }
    loaded[i] = PALETTEENTRY{static_cast<uint8_t>(v[0]), static_cast<uint8_t>(v[1]), static_cast<uint8_t>(v[2]),
                             static_cast<uint8_t>(v[3])};
  }
  std::memcpy(entries, loaded, sizeof(loaded));
  return 1;
}

// Entries first..first+count-1 each move up one place and the last comes round to the first;
// the copy is then read back from the hardware palette so both agree.
int32_t palette_rotate(int32_t first, int32_t count) {
  if (first < 0 || count < 1 || first > 255 || count > 256 - first) return 0;
  PALETTEENTRY* hardware = display_palette ? display_palette->entries : current_palette;
  PALETTEENTRY work[256];
  std::memcpy(work, &current_palette[first], sizeof(PALETTEENTRY) * static_cast<size_t>(count));
  hardware[first] = work[count - 1];
  for (int32_t i = 0; i + 1 < count; ++i) hardware[first + i + 1] = work[i];
  if (hardware != current_palette) std::memcpy(current_palette, hardware, sizeof(current_palette));
  return 1;
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
