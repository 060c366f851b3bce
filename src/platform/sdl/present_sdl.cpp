// Presentation: the 8-bit picture goes through its palette into a streaming texture, which is
// drawn scaled by a whole factor, centred on black, with nearest-neighbour pixels.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"
#include "platform/sdl/clock_sdl.h"
#include "platform/sdl/present_sdl.h"
#include "platform/sdl/video_sdl.h"

namespace {

// Palette index -> texture pixel (ARGB8888), rebuilt from the palette passed with each frame.
void build_table(const uint8_t palette_rgb[256][3], uint32_t table[256]) {
  for (int i = 0; i < 256; ++i)
    table[i] = 0xFF000000u | (static_cast<uint32_t>(palette_rgb[i][0]) << 16) |
               (static_cast<uint32_t>(palette_rgb[i][1]) << 8) | palette_rgb[i][2];
}

// Fills the texture and queues its drawing; the work is flushed here so that showing it after
// the wait is quick.
int32_t prepare(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3]) {
  if (!sdl_video.texture || !pixels || !palette_rgb) return 0;
  uint32_t table[256];
  build_table(palette_rgb, table);
  void* dst = nullptr;
  int dst_pitch = 0;
  if (SDL_LockTexture(sdl_video.texture, nullptr, &dst, &dst_pitch) != 0) return 0;
  const int w = sdl_video.texture_width, h = sdl_video.texture_height;
  for (int y = 0; y < h; ++y) {
    const uint8_t* src = pixels + static_cast<ptrdiff_t>(y) * pitch;
    uint32_t* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(dst) + static_cast<ptrdiff_t>(y) * dst_pitch);
    for (int x = 0; x < w; ++x) row[x] = table[src[x]];
  }
  SDL_UnlockTexture(sdl_video.texture);
  int out_w = 0, out_h = 0;
  if (SDL_GetRendererOutputSize(sdl_video.renderer, &out_w, &out_h) != 0) return 0;
  PresentRect r = present_fit_rect(out_w, out_h, w, h);
  SDL_Rect rect{r.x, r.y, r.w, r.h};
  SDL_SetRenderDrawColor(sdl_video.renderer, 0, 0, 0, 255);
  SDL_RenderClear(sdl_video.renderer);
  SDL_RenderCopy(sdl_video.renderer, sdl_video.texture, nullptr, &rect);
  SDL_RenderFlush(sdl_video.renderer);
  return 1;
}

// Opt-in measurement: with ZORVANE_FRAME_STATS=<file> the wall-clock time of the first present
// (Unix ms) and then one line a second with the presents counted in it are appended to the file.
void frame_stats_count() {
  static int state = 0;  // 0 not looked yet, 1 off, 2 on
  static const char* path = nullptr;
  static uint32_t presents = 0, since = 0;
  if (state == 0) {
    path = std::getenv("ZORVANE_FRAME_STATS");
    state = path && *path ? 2 : 1;
    if (state == 2) {
      since = SDL_GetTicks();
      const long long unix_ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                                    std::chrono::system_clock::now().time_since_epoch()).count();
      if (std::FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, "first_present_unix_ms=%lld\n", unix_ms);
        std::fclose(f);
      }
    }
  }
  if (state != 2) return;
  ++presents;
  const uint32_t now = SDL_GetTicks();
  if (now - since < 1000) return;
  if (std::FILE* f = std::fopen(path, "a")) {
    std::fprintf(f, "presents=%u ms=%u\n", presents, now - since);
    std::fclose(f);
  }
  presents = 0;
  since = now;
}

}  // namespace

PresentRect present_fit_rect(int32_t out_w, int32_t out_h, int32_t width, int32_t height) {
  if (out_w <= 0 || out_h <= 0 || width <= 0 || height <= 0) return PresentRect{0, 0, 0, 0};
  int32_t scale = out_w / width < out_h / height ? out_w / width : out_h / height;
  int32_t w, h;
  if (scale >= 1) {
    w = width * scale;
    h = height * scale;
  } else if (static_cast<int64_t>(out_w) * height <= static_cast<int64_t>(out_h) * width) {
    w = out_w;
    h = static_cast<int32_t>(static_cast<int64_t>(out_w) * height / width);
  } else {
    h = out_h;
    w = static_cast<int32_t>(static_cast<int64_t>(out_h) * width / height);
  }
  return PresentRect{(out_w - w) / 2, (out_h - h) / 2, w, h};
}

int32_t platform_display_open(int32_t width, int32_t height, int32_t bpp) {
  if (bpp != 8 || width <= 0 || height <= 0 || !sdl_video.renderer) return 0;
  platform_display_close();
  SDL_Texture* t = SDL_CreateTexture(sdl_video.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                     width, height);
  if (!t) return 0;
  SDL_SetTextureScaleMode(t, SDL_ScaleModeNearest);
  SDL_SetTextureBlendMode(t, SDL_BLENDMODE_NONE);
  sdl_video.texture = t;
  sdl_video.texture_width = width;
  sdl_video.texture_height = height;
  return 1;
}

void platform_display_close() {
  if (sdl_video.texture) SDL_DestroyTexture(sdl_video.texture);
  sdl_video.texture = nullptr;
  sdl_video.texture_width = sdl_video.texture_height = 0;
}

void platform_present(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3]) {
  video_pump();
  int32_t ready = prepare(pixels, pitch, palette_rgb);
  clock_wait_next_tick();
  if (ready) SDL_RenderPresent(sdl_video.renderer);
  frame_stats_count();
}

int32_t present_frame_now(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3]) {
  if (!prepare(pixels, pitch, palette_rgb)) return 0;
  SDL_RenderPresent(sdl_video.renderer);
  return 1;
}

int32_t present_output_size(int32_t* width, int32_t* height) {
  int w = 0, h = 0;
  if (!sdl_video.renderer || SDL_GetRendererOutputSize(sdl_video.renderer, &w, &h) != 0) return 0;
  *width = w;
  *height = h;
  return 1;
}

int32_t present_read_pixel(int32_t x, int32_t y, uint8_t rgb[3]) {
  if (!sdl_video.renderer) return 0;
  SDL_Rect one{x, y, 1, 1};
  uint32_t argb = 0;
  if (SDL_RenderReadPixels(sdl_video.renderer, &one, SDL_PIXELFORMAT_ARGB8888, &argb, 4) != 0) return 0;
  rgb[0] = static_cast<uint8_t>(argb >> 16);
  rgb[1] = static_cast<uint8_t>(argb >> 8);
  rgb[2] = static_cast<uint8_t>(argb);
  return 1;
}
