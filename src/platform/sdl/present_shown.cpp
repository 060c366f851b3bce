// What the screen shows: the last frame drawn, known by its rows' hashes (an unchanged frame is
// not drawn again), and the palette's entries as pixels of the format drawn into.
#include <cstring>

#include "platform/sdl/present_parts.h"
#include "platform/sdl/video_sdl.h"

void colour_table_update(ColourTable& table, const uint8_t palette_rgb[256][3], const SDL_PixelFormat* format) {
  const Uint32 name = format ? format->format : Uint32{SDL_PIXELFORMAT_ARGB8888};
  if (table.valid && table.format == name && colour_table_has_palette(table, palette_rgb)) return;
  for (int i = 0; i < 256; ++i) {
    const uint8_t r = palette_rgb[i][0], g = palette_rgb[i][1], b = palette_rgb[i][2];
    table.pixel[i] = format ? SDL_MapRGBA(format, r, g, b, 255)
                            : 0xFF000000u | (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
  }
  std::memcpy(table.palette, palette_rgb, sizeof table.palette);
  table.format = name;
  table.valid = true;
}

bool colour_table_has_palette(const ColourTable& table, const uint8_t palette_rgb[256][3]) {
  return std::memcmp(table.palette, palette_rgb, sizeof table.palette) == 0;
}

namespace {

uint64_t rotate_left(uint64_t v, int bits) { return (v << bits) | (v >> (64 - bits)); }

constexpr uint64_t PRIME_1 = 0x9E3779B185EBCA87ull, PRIME_2 = 0xC2B2AE3D27D4EB4Full, PRIME_3 = 0x165667B19E3779F9ull;

// One word into a lane: multiplications spread every input bit over the whole lane, so rows
// that differ anywhere differ in their hash but for a chance of one in 2^64.
uint64_t lane_round(uint64_t lane, uint64_t word) { return rotate_left(lane + word * PRIME_2, 31) * PRIME_1; }

uint64_t load_word(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

}  // namespace

uint64_t shown_row_hash(const uint8_t* row, int32_t w) {
  // Four lanes side by side keep the multiplications from waiting on one another.
  uint64_t lane[4] = {PRIME_1, PRIME_2, PRIME_3, ~PRIME_1};
  int32_t i = 0;
  for (; i + 32 <= w; i += 32)
    for (int k = 0; k < 4; ++k) lane[k] = lane_round(lane[k], load_word(row + i + 8 * k));
  uint64_t tail = 0;
  for (; i < w; ++i) tail = tail * 257 + row[i] + 1;
  uint64_t h = static_cast<uint64_t>(w);
  for (uint64_t v : lane) h = (h ^ lane_round(0, v)) * PRIME_1 + PRIME_3;
  h = (h ^ lane_round(0, tail)) * PRIME_1;
  h ^= h >> 33;
  h *= PRIME_2;
  h ^= h >> 29;
  return h == SHOWN_ROW_UNKNOWN ? h + 1 : h;
}

bool shown_frame_row_differs(const ShownFrame& shown, const uint8_t* pixels, int32_t pitch, int y) {
  return shown.row_hash[static_cast<size_t>(y)] !=
         shown_row_hash(pixels + static_cast<ptrdiff_t>(y) * pitch, sdl_video.texture_width);
}

bool shown_frame_same(const ShownFrame& shown, const ColourTable& colours, const uint8_t* pixels, int32_t pitch,
                      const uint8_t palette_rgb[256][3], int out_w, int out_h) {
  if (!shown.valid || sdl_video.redraw || out_w != shown.w || out_h != shown.h) return false;
  if (!colour_table_has_palette(colours, palette_rgb)) return false;
  for (int y = 0; y < sdl_video.texture_height; ++y)
    if (shown_frame_row_differs(shown, pixels, pitch, y)) return false;
  return true;
}

void shown_frame_remember(ShownFrame& shown, const uint8_t* pixels, int32_t pitch, int out_w, int out_h,
                          const std::vector<uint8_t>& rows, bool recorded) {
  const int w = sdl_video.texture_width, h = sdl_video.texture_height;
  const bool all = !shown.valid || shown.row_hash.size() != static_cast<size_t>(h) || rows.size() != static_cast<size_t>(h);
  shown.row_hash.resize(static_cast<size_t>(h));
  for (int y = 0; y < h; ++y) {
    if (!all && !rows[y]) continue;
    shown.row_hash[static_cast<size_t>(y)] =
        recorded && !all ? SHOWN_ROW_UNKNOWN : shown_row_hash(pixels + static_cast<ptrdiff_t>(y) * pitch, w);
  }
  shown.w = out_w;
  shown.h = out_h;
  shown.valid = true;
}
