// The renderer's path: the 8-bit picture goes through its palette into a streaming texture,
// which the renderer draws. Sharp scaling: nearest-neighbour up to the next whole multiple,
// then a linear filter down to the final size, so whole factors stay exact squares and other
// sizes get no uneven pixel widths.
#include "platform/sdl/present_parts.h"
#include "platform/sdl/video_sdl.h"

namespace {

// The intermediate picture at the plan's whole multiple, filtered linearly when drawn.
SDL_Texture* large_texture(GpuPath& gpu, int32_t factor) {
  const int w = sdl_video.texture_width * factor, h = sdl_video.texture_height * factor;
  if (gpu.large && gpu.large_w == w && gpu.large_h == h) return gpu.large;
  if (gpu.large) SDL_DestroyTexture(gpu.large);
  gpu.large = SDL_CreateTexture(sdl_video.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, w, h);
  gpu.large_w = gpu.large ? w : 0;
  gpu.large_h = gpu.large ? h : 0;
  if (gpu.large) {
    SDL_SetTextureScaleMode(gpu.large, SDL_ScaleModeLinear);
    SDL_SetTextureBlendMode(gpu.large, SDL_BLENDMODE_NONE);
  }
  return gpu.large;
}

}  // namespace

bool gpu_path_ensure_texture(const GpuPath& gpu) {
  if (sdl_video.texture) return true;
  if (!sdl_video.renderer || sdl_video.texture_width <= 0 || sdl_video.texture_height <= 0) return false;
  SDL_Texture* t = SDL_CreateTexture(sdl_video.renderer, gpu.texture_format, SDL_TEXTUREACCESS_STREAMING,
                                     sdl_video.texture_width, sdl_video.texture_height);
  if (!t) return false;
  SDL_SetTextureScaleMode(t, SDL_ScaleModeNearest);
  SDL_SetTextureBlendMode(t, SDL_BLENDMODE_NONE);
  sdl_video.texture = t;
  return true;
}

bool gpu_path_convert(GpuPath& gpu, ColourTable& colours, const uint8_t* pixels, int32_t pitch,
                      const uint8_t palette_rgb[256][3]) {
  if (!gpu_path_ensure_texture(gpu)) return false;
  colour_table_update(colours, palette_rgb, gpu.format);
  void* dst = nullptr;
  int dst_pitch = 0;
  if (SDL_LockTexture(sdl_video.texture, nullptr, &dst, &dst_pitch) != 0) return false;
  const int w = sdl_video.texture_width, h = sdl_video.texture_height;
  const uint32_t* table = colours.pixel;
  for (int y = 0; y < h; ++y) {
    const uint8_t* src = pixels + static_cast<ptrdiff_t>(y) * pitch;
    uint32_t* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(dst) + static_cast<ptrdiff_t>(y) * dst_pitch);
    for (int x = 0; x < w; ++x) row[x] = table[src[x]];
  }
  SDL_UnlockTexture(sdl_video.texture);
  return true;
}

bool gpu_path_draw(GpuPath& gpu, const ScalePlan& plan, int out_w, int out_h) {
  if (plan.w <= 0 || plan.h <= 0 || !gpu_path_ensure_texture(gpu)) return false;
  const SDL_Rect rect{plan.x, plan.y, plan.w, plan.h};
  SDL_Texture* source = sdl_video.texture;
  // Commands run when flushed and read the texture's mode then: set it once, before any.
  SDL_SetTextureScaleMode(sdl_video.texture, SDL_ScaleModeNearest);
  if (plan.smooth) {
    SDL_Texture* large = plan.factor > 1 ? large_texture(gpu, plan.factor) : nullptr;
    if (large && SDL_SetRenderTarget(sdl_video.renderer, large) == 0) {
      SDL_RenderCopy(sdl_video.renderer, sdl_video.texture, nullptr, nullptr);
      SDL_SetRenderTarget(sdl_video.renderer, nullptr);
      source = large;
    } else {
      // Shrinking (or no room for the multiple): one linear pass from the picture itself.
      SDL_SetTextureScaleMode(sdl_video.texture, SDL_ScaleModeLinear);
    }
  }
  present_draw_bars(out_w, out_h, rect);
  SDL_RenderCopy(sdl_video.renderer, source, nullptr, &rect);
  SDL_RenderFlush(sdl_video.renderer);
  return true;
}

void gpu_path_release_large(GpuPath& gpu) {
  if (gpu.large) SDL_DestroyTexture(gpu.large);
  gpu.large = nullptr;
  gpu.large_w = gpu.large_h = 0;
}
