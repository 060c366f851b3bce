// Presentation, in the order of one present: the frame prepared on the path that suits the
// renderer (present_plan.cpp chooses; present_gpu.cpp, present_software.cpp draw), the wait
// for the 60 Hz tick, the platform's notices over the picture (present_overlay.cpp), the
// frame sent to the display, its statistics (present_stats.cpp) and, after the first frame,
// the vsync probe (present_vsync.cpp). This file owns the records those jobs work on.
#include "platform/common/frame_changes.h"
#include "platform/common/scale.h"
#include "platform/platform.h"
#include "platform/sdl/clock_sdl.h"
#include "platform/sdl/present_overlay.h"
#include "platform/sdl/present_parts.h"
#include "platform/sdl/present_sdl.h"
#include "platform/sdl/video_sdl.h"

namespace {

struct Presenter {
  int32_t filter = PRESENT_FILTER_AUTO;
  ColourTable colours;
  ShownFrame shown;
  GpuPath gpu;
  DirectPath direct;
  bool prepared_direct = false;  // the frame prepared went straight into the window's image
  int32_t vsync = VSYNC_UNTESTED;
  PresentCounts counts{};
  FrameStats stats;
};

Presenter presenter;

void invalidate_shown() {
  presenter.shown.valid = false;
  presenter.colours.valid = false;
  presenter.direct.valid = false;
}

bool output_size(int* w, int* h) {
  return sdl_video.renderer && SDL_GetRendererOutputSize(sdl_video.renderer, w, h) == 0;
}

// changes: the frame's record of what it changes from the one presented before, or null.
int32_t prepare(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3], bool even_unchanged,
                const FrameChanges* changes) {
  if (sdl_video.texture_width <= 0 || !pixels || !palette_rgb) return PREPARE_FAILED;
  int out_w = 0, out_h = 0;
  if (!output_size(&out_w, &out_h)) return PREPARE_FAILED;
  presenter.prepared_direct = false;
  const ScalePlan plan = present_plan_for(presenter.filter, out_w, out_h);
  if (present_direct_path(presenter.filter)) {
    const int32_t done = direct_path_prepare(presenter.direct, presenter.shown, presenter.colours, plan, pixels,
                                             pitch, palette_rgb, out_w, out_h, even_unchanged, changes);
    if (done == PREPARE_DRAWN) {
      presenter.prepared_direct = true;
      shown_frame_remember(presenter.shown, pixels, pitch, out_w, out_h, presenter.direct.changed_rows,
                           presenter.direct.recorded);
      sdl_video.redraw = false;
    } else if (done == PREPARE_FAILED) {
      invalidate_shown();
    }
    if (done != PREPARE_ELSEWHERE) return done;
  }
  if (!even_unchanged && shown_frame_same(presenter.shown, presenter.colours, pixels, pitch, palette_rgb, out_w, out_h))
    return PREPARE_UNCHANGED;
  if (!gpu_path_convert(presenter.gpu, presenter.colours, pixels, pitch, palette_rgb) ||
      !gpu_path_draw(presenter.gpu, plan, out_w, out_h)) {
    invalidate_shown();
    return PREPARE_FAILED;
  }
  shown_frame_remember(presenter.shown, pixels, pitch, out_w, out_h);
  sdl_video.redraw = false;
  return PREPARE_DRAWN;
}

// The notices over the prepared frame, then the frame to the display: only the changed part
// of the window's image where it was drawn there directly.
void show() {
  int out_w = 0, out_h = 0;
  output_size(&out_w, &out_h);
  if (present_overlay(presenter.prepared_direct, out_w, out_h) && presenter.prepared_direct) {
    // A notice in the window's image: send all of it, and draw the next frame whole.
    presenter.direct.update = SDL_Rect{0, 0, out_w, out_h};
    presenter.direct.valid = false;
  }
  if (presenter.prepared_direct)
    SDL_UpdateWindowSurfaceRects(sdl_video.window, &presenter.direct.update, 1);
  else
    SDL_RenderPresent(sdl_video.renderer);
  ++presenter.counts.shown;
}

}  // namespace

void present_release() {
  gpu_path_release_large(presenter.gpu);
  invalidate_shown();
  presenter.vsync = VSYNC_UNTESTED;
}

int32_t platform_display_open(int32_t width, int32_t height, int32_t bpp) {
  if (bpp != 8 || width <= 0 || height <= 0 || !sdl_video.renderer) return 0;
  platform_display_close();
  // The software renderer blits fastest (and scales at all quickly) between textures in the
  // window's own format; accelerated renderers take ARGB8888 natively.
  Uint32 format = SDL_PIXELFORMAT_ARGB8888;
  if (sdl_video.software) {
    // The image the software renderer draws into (SDL_GetWindowPixelFormat may differ from it).
    const SDL_Surface* image = SDL_GetWindowSurface(sdl_video.window);
    if (image && image->format->BytesPerPixel == 4) format = image->format->format;
  }
  presenter.gpu.texture_format = format;
  sdl_video.texture_width = width;
  sdl_video.texture_height = height;
  // The picture texture is made now where the renderer draws every frame from it; on the
  // software renderer only if the window's image cannot be drawn into.
  if (!sdl_video.software && !gpu_path_ensure_texture(presenter.gpu)) {
    sdl_video.texture_width = sdl_video.texture_height = 0;
    return 0;
  }
  presenter.gpu.format = SDL_AllocFormat(format);
  invalidate_shown();
  return 1;
}

void platform_display_close() {
  if (sdl_video.texture) SDL_DestroyTexture(sdl_video.texture);
  if (presenter.gpu.format) SDL_FreeFormat(presenter.gpu.format);
  presenter.gpu.format = nullptr;
  sdl_video.texture = nullptr;
  sdl_video.texture_width = sdl_video.texture_height = 0;
  invalidate_shown();
}

void platform_present(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3]) {
  platform_present_changes(pixels, pitch, palette_rgb, nullptr);
}

void platform_present_changes(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3],
                              const FrameChanges* changes) {
  video_pump();
  // A notice coming or going sets sdl_video.redraw: the frame is then drawn whole, record or not.
  present_overlay_begin(pixels, pitch, palette_rgb);
  const int32_t ready = prepare(pixels, pitch, palette_rgb, false, changes);
  clock_wait_next_tick();
  if (ready == PREPARE_DRAWN)
    show();
  else if (ready == PREPARE_UNCHANGED)
    ++presenter.counts.unchanged;
  // Counted as shown before the first frame's follow-ups below, which may wait.
  frame_stats_count(presenter.stats, ready == PREPARE_DRAWN, presenter.vsync == VSYNC_TRUSTED);
  if (ready != PREPARE_DRAWN) return;
  if (presenter.vsync == VSYNC_UNTESTED) {
    int out_w = 0, out_h = 0;
    output_size(&out_w, &out_h);
    presenter.vsync = vsync_probe(presenter.gpu, present_plan_for(presenter.filter, out_w, out_h), out_w, out_h);
  }
  video_enter_pending_fullscreen();
}

// --- for tests and benchmarks (present_sdl.h) ---

void present_set_filter(int32_t filter) {
  presenter.filter = filter;
  invalidate_shown();
}

bool present_current_plan(ScalePlan* plan) {
  int w = 0, h = 0;
  if (sdl_video.texture_width <= 0 || !output_size(&w, &h)) return false;
  *plan = present_plan_for(presenter.filter, w, h);
  return true;
}

int32_t present_frame_now(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3]) {
  if (prepare(pixels, pitch, palette_rgb, true, nullptr) != PREPARE_DRAWN) return 0;
  show();
  return 1;
}

int32_t present_would_draw(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3]) {
  int w = 0, h = 0;
  if (sdl_video.texture_width <= 0 || !output_size(&w, &h)) return 0;
  return shown_frame_same(presenter.shown, presenter.colours, pixels, pitch, palette_rgb, w, h) ? 0 : 1;
}

PresentCounts present_counts() { return presenter.counts; }

int32_t present_vsync_trusted() { return presenter.vsync == VSYNC_TRUSTED ? 1 : 0; }

int32_t present_output_size(int32_t* width, int32_t* height) {
  int w = 0, h = 0;
  if (!output_size(&w, &h)) return 0;
  *width = w;
  *height = h;
  return 1;
}

int32_t present_set_window_size(int32_t width, int32_t height) {
  if (!sdl_video.window) return 0;
  sdl_video.fullscreen_pending = false;
  SDL_SetWindowFullscreen(sdl_video.window, 0);
  SDL_SetWindowSize(sdl_video.window, width, height);
  video_pump();
  sdl_video.redraw = true;
  int w = 0, h = 0;
  return output_size(&w, &h) && w == width && h == height ? 1 : 0;
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
