// What the screen shows: a copy of the last frame drawn (an unchanged frame is not drawn
// again), and the palette's entries as pixels of the format drawn into.
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

bool shown_frame_row_differs(const ShownFrame& shown, const uint8_t* pixels, int32_t pitch, int y) {
  const int w = sdl_video.texture_width;
  return std::memcmp(shown.pixels.data() + static_cast<size_t>(y) * w, pixels + static_cast<ptrdiff_t>(y) * pitch,
                     static_cast<size_t>(w)) != 0;
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
                          const std::vector<uint8_t>& rows) {
  const int w = sdl_video.texture_width, h = sdl_video.texture_height;
  const bool all = !shown.valid || shown.pixels.size() != static_cast<size_t>(w) * h ||
                   rows.size() != static_cast<size_t>(h);
  shown.pixels.resize(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    if (!all && !rows[y]) continue;
    std::memcpy(shown.pixels.data() + static_cast<size_t>(y) * w, pixels + static_cast<ptrdiff_t>(y) * pitch,
                static_cast<size_t>(w));
  }
  shown.w = out_w;
  shown.h = out_h;
  shown.valid = true;
}
