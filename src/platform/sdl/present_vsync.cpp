// Whether presents are paced by the display's vertical blank. SDL's software renderer accepts
// the vsync flag and does not wait, and Xvfb reports no refresh rate, so it is measured once,
// with the first frame, before it is trusted.
#include "platform/common/pacing.h"
#include "platform/sdl/clock_sdl.h"
#include "platform/sdl/present_overlay.h"
#include "platform/sdl/present_parts.h"
#include "platform/sdl/video_sdl.h"

namespace {

// Back-to-back presents timed; the first of them may return at once even when they wait (a
// free back buffer).
constexpr int VSYNC_PROBE_PRESENTS = 5;

}  // namespace

// Presents that wait for the vertical blank come one refresh apart. Otherwise vsync is
// switched off and the 60 Hz clock paces alone.
int32_t vsync_probe(GpuPath& gpu, const ScalePlan& plan, int out_w, int out_h) {
  if (sdl_video.software || sdl_video.refresh_hz <= 0) return VSYNC_OFF;
  int64_t intervals[VSYNC_PROBE_PRESENTS - 1];
  int64_t last = clock_now_us();
  for (int i = 0; i < VSYNC_PROBE_PRESENTS; ++i) {
    // The back buffer is undefined after a present: draw the frame, and its notices, again.
    gpu_path_draw(gpu, plan, out_w, out_h);
    present_overlay(false, out_w, out_h);
    SDL_RenderPresent(sdl_video.renderer);
    const int64_t now = clock_now_us();
    if (i > 0) intervals[i - 1] = now - last;
    last = now;
  }
  if (pace_vsync_trusted(intervals, VSYNC_PROBE_PRESENTS - 1, sdl_video.refresh_hz)) return VSYNC_TRUSTED;
  SDL_RenderSetVSync(sdl_video.renderer, 0);
  return VSYNC_OFF;
}
