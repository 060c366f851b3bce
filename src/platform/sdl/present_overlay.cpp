// The program's notice drawn over the presented picture, in the window's pixels, never in the
// game's frame. The picture is drawn whole again while a notice shows and once when it goes,
// so the unchanged-frame and changed-rows shortcuts never leave a stale notice behind.
#include "platform/common/notice.h"
#include "platform/common/scale.h"
#include "platform/common/screenshot.h"
#include "platform/platform.h"
#include "platform/sdl/present_overlay.h"
#include "platform/sdl/present_sdl.h"
#include "platform/sdl/video_sdl.h"

namespace {

struct Overlay {
  SDL_Texture* texture = nullptr;
  uint32_t texture_serial = 0;  // the notice the texture holds
  uint32_t drawn_serial = 0;    // the notice on screen (or its absence)
  int32_t width = 0, height = 0;
};

Overlay overlay;

}  // namespace

void present_overlay_begin(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3]) {
  screenshot_take_pending(pixels, pitch, palette_rgb);
  const uint32_t now = platform_ticks();
  if (notice_at(now) != nullptr || notice_serial(now) != overlay.drawn_serial) sdl_video.redraw = true;
}

bool present_overlay(bool, int32_t, int32_t) {
  const uint32_t now = platform_ticks();
  const uint32_t serial = notice_serial(now);
  overlay.drawn_serial = serial;
  const NoticeImage* image = notice_at(now);
  ScalePlan plan{};
  if (image == nullptr || !sdl_video.renderer || !present_current_plan(&plan)) return false;
  if (!overlay.texture || overlay.texture_serial != serial) {
    if (overlay.texture) SDL_DestroyTexture(overlay.texture);
    overlay.texture = SDL_CreateTexture(sdl_video.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                                        image->width, image->height);
    if (!overlay.texture) return false;
    SDL_UpdateTexture(overlay.texture, nullptr, image->argb.data(), image->width * 4);
    SDL_SetTextureBlendMode(overlay.texture, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(overlay.texture, SDL_ScaleModeNearest);
    overlay.texture_serial = serial;
    overlay.width = image->width;
    overlay.height = image->height;
  }
  // Enlarged by the picture's whole factor, so it reads the same at every window size.
  const int32_t k = plan.h >= 480 ? plan.h / 480 : 1;
  const SDL_Rect to{plan.x + NOTICE_X * plan.w / 640, plan.y + NOTICE_Y * plan.h / 480, overlay.width * k,
                    overlay.height * k};
  // On the software renderer this draws into the window's own image, which the direct path
  // then sends whole.
  SDL_RenderCopy(sdl_video.renderer, overlay.texture, nullptr, &to);
  SDL_RenderFlush(sdl_video.renderer);
  return true;
}

void present_overlay_release() {
  if (overlay.texture) SDL_DestroyTexture(overlay.texture);
  overlay = Overlay{};
}
