// Which path draws a frame and where the picture lies in the window: as large as fits at its
// shape (or at whole factors), centred on black; two passes (nearest to a whole multiple, then
// smooth) on an accelerated renderer, one nearest pass on the software renderer.
#include "platform/sdl/present_parts.h"
#include "platform/sdl/present_sdl.h"
#include "platform/sdl/video_sdl.h"

bool present_nearest_only(int32_t filter) {
  if (filter == PRESENT_FILTER_NEAREST) return true;
  if (filter == PRESENT_FILTER_SHARP) return false;
  return sdl_video.software || sdl_video.cpu_raster;
}

// The software renderer scaling by one nearest pass: done by us, by runs, straight into the
// window's image. SDL's own scaled copy of the whole picture cost 1.5 ms a frame at 1920x1080
// and another copy into the window.
bool present_direct_path(int32_t filter) { return sdl_video.software && present_nearest_only(filter); }

ScalePlan present_plan_for(int32_t filter, int out_w, int out_h) {
  SDL_RendererInfo info;
  int32_t max_side = 0;
  if (SDL_GetRendererInfo(sdl_video.renderer, &info) == 0 && info.max_texture_width > 0 && info.max_texture_height > 0)
    max_side = info.max_texture_width < info.max_texture_height ? info.max_texture_width : info.max_texture_height;
  const bool nearest = present_nearest_only(filter) || !SDL_RenderTargetSupported(sdl_video.renderer);
  return scale_plan(out_w, out_h, sdl_video.texture_width, sdl_video.texture_height,
                    sdl_video.integer_scale ? SCALE_INTEGER : SCALE_FIT, nearest, max_side);
}

void present_draw_bars(int out_w, int out_h, const SDL_Rect& r) {
  SDL_SetRenderDrawColor(sdl_video.renderer, 0, 0, 0, 255);
  if (!sdl_video.software) {
    SDL_RenderClear(sdl_video.renderer);
    return;
  }
  const SDL_Rect bars[4] = {{0, 0, out_w, r.y},
                            {0, r.y + r.h, out_w, out_h - r.y - r.h},
                            {0, r.y, r.x, r.h},
                            {r.x + r.w, r.y, out_w - r.x - r.w, r.h}};
  for (const SDL_Rect& b : bars)
    if (b.w > 0 && b.h > 0) SDL_RenderFillRect(sdl_video.renderer, &b);
}
