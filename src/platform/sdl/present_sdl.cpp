// Presentation: the 8-bit picture goes through its palette into a streaming texture, which is
// drawn as large as fits at its shape (or at whole factors), centred on black. Sharp scaling:
// nearest-neighbour up to the next whole multiple, then a linear filter down to the final size,
// so whole factors stay exact squares and other sizes get no uneven pixel widths. SDL's
// software renderer cannot afford that at full-HD sizes: there the picture goes in one
// nearest-neighbour pass straight into the window's image (see fitted_prepare).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/common/frame_changes.h"
#include "platform/common/pacing.h"
#include "platform/common/scale.h"
#include "platform/platform.h"
#include "platform/sdl/clock_sdl.h"
#include "platform/sdl/present_sdl.h"
#include "platform/sdl/video_sdl.h"

namespace {

// Back-to-back presents timed to learn whether the renderer really waits for the vertical
// blank; the first of them may return at once even when it does (a free back buffer).
constexpr int VSYNC_PROBE_PRESENTS = 5;

enum : int32_t { VSYNC_UNTESTED = 0, VSYNC_TRUSTED = 1, VSYNC_OFF = 2 };

struct Presenter {
  int32_t filter = PRESENT_FILTER_AUTO;
  SDL_Texture* large = nullptr;  // the picture at a whole multiple, source of the smooth pass
  int large_w = 0, large_h = 0;
  SDL_PixelFormat* format = nullptr;  // of the picture texture
  Uint32 texture_format = 0;          // the picture texture's, made when first needed
  uint32_t table[256] = {};           // palette index -> pixel of table_format
  uint8_t table_palette[256][3] = {};
  Uint32 table_format = 0;
  bool table_valid = false;
  std::vector<uint8_t> shown_pixels;  // the frame on screen, to skip presenting it again
  int32_t shown_w = 0, shown_h = 0;   // the output size it was drawn for
  bool shown_valid = false;
  int32_t vsync = VSYNC_UNTESTED;
  PresentCounts counts{};
  // The software renderer's path: the picture scaled by us, row by row, straight into the
  // window's image, so that a frame redraws and sends only the rows that changed.
  ScalePlan fitted_plan{};
  std::vector<int32_t> column_runs, row_runs, row_first, column_first;
  bool fitted_valid = false;  // the window's image holds the frame in shown_pixels
  bool direct = false;        // the frame prepared went straight into the window's image
  std::vector<uint8_t> changed_rows;  // of the frame being prepared, 1 where it differs
  SDL_Rect update{};          // the part of it to send to the display
  // The frame's own record of what it changes from the frame presented before (null: none),
  // for the present under way only.
  const FrameChanges* changes = nullptr;
};

Presenter presenter;

void invalidate_shown() {
  presenter.shown_valid = false;
  presenter.table_valid = false;
  presenter.fitted_valid = false;
}

void rebuild_table(const uint8_t palette_rgb[256][3], const SDL_PixelFormat* format) {
  const Uint32 name = format ? format->format : Uint32{SDL_PIXELFORMAT_ARGB8888};
  if (presenter.table_valid && presenter.table_format == name &&
      std::memcmp(presenter.table_palette, palette_rgb, sizeof presenter.table_palette) == 0)
    return;
  for (int i = 0; i < 256; ++i) {
    const uint8_t r = palette_rgb[i][0], g = palette_rgb[i][1], b = palette_rgb[i][2];
    presenter.table[i] = format ? SDL_MapRGBA(format, r, g, b, 255)
                                : 0xFF000000u | (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
  }
  std::memcpy(presenter.table_palette, palette_rgb, sizeof presenter.table_palette);
  presenter.table_format = name;
  presenter.table_valid = true;
}

// True when this frame, palette and output size are what the screen already shows.
bool same_as_shown(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3], int out_w, int out_h) {
  if (!presenter.shown_valid || sdl_video.redraw || out_w != presenter.shown_w || out_h != presenter.shown_h)
    return false;
  if (std::memcmp(presenter.table_palette, palette_rgb, sizeof presenter.table_palette) != 0) return false;
  const int w = sdl_video.texture_width, h = sdl_video.texture_height;
  for (int y = 0; y < h; ++y)
    if (std::memcmp(presenter.shown_pixels.data() + static_cast<size_t>(y) * w,
                    pixels + static_cast<ptrdiff_t>(y) * pitch, static_cast<size_t>(w)) != 0)
      return false;
  return true;
}

// Keeps a copy of the frame shown; with rows, only those marked (the others are the same).
void remember_shown(const uint8_t* pixels, int32_t pitch, int out_w, int out_h,
                    const std::vector<uint8_t>& rows = {}) {
  const int w = sdl_video.texture_width, h = sdl_video.texture_height;
  const bool all = !presenter.shown_valid || presenter.shown_pixels.size() != static_cast<size_t>(w) * h ||
                   rows.size() != static_cast<size_t>(h);
  presenter.shown_pixels.resize(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    if (!all && !rows[y]) continue;
    std::memcpy(presenter.shown_pixels.data() + static_cast<size_t>(y) * w, pixels + static_cast<ptrdiff_t>(y) * pitch,
                static_cast<size_t>(w));
  }
  presenter.shown_w = out_w;
  presenter.shown_h = out_h;
  presenter.shown_valid = true;
}

// The picture texture, made on first use: the software renderer's own path draws straight into
// the window's image and never needs its 1.2 MB.
bool ensure_texture() {
  if (sdl_video.texture) return true;
  SDL_Texture* t = SDL_CreateTexture(sdl_video.renderer, presenter.texture_format, SDL_TEXTUREACCESS_STREAMING,
                                     sdl_video.texture_width, sdl_video.texture_height);
  if (!t) return false;
  SDL_SetTextureScaleMode(t, SDL_ScaleModeNearest);
  SDL_SetTextureBlendMode(t, SDL_BLENDMODE_NONE);
  sdl_video.texture = t;
  return true;
}

bool convert(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3]) {
  if (!ensure_texture()) return false;
  rebuild_table(palette_rgb, presenter.format);
  void* dst = nullptr;
  int dst_pitch = 0;
  if (SDL_LockTexture(sdl_video.texture, nullptr, &dst, &dst_pitch) != 0) return false;
  const int w = sdl_video.texture_width, h = sdl_video.texture_height;
  const uint32_t* table = presenter.table;
  for (int y = 0; y < h; ++y) {
    const uint8_t* src = pixels + static_cast<ptrdiff_t>(y) * pitch;
    uint32_t* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(dst) + static_cast<ptrdiff_t>(y) * dst_pitch);
    for (int x = 0; x < w; ++x) row[x] = table[src[x]];
  }
  SDL_UnlockTexture(sdl_video.texture);
  return true;
}

bool nearest_only() {
  if (presenter.filter == PRESENT_FILTER_NEAREST) return true;
  if (presenter.filter == PRESENT_FILTER_SHARP) return false;
  return sdl_video.software;
}

ScalePlan plan_for(int out_w, int out_h) {
  SDL_RendererInfo info;
  int32_t max_side = 0;
  if (SDL_GetRendererInfo(sdl_video.renderer, &info) == 0 && info.max_texture_width > 0 && info.max_texture_height > 0)
    max_side = info.max_texture_width < info.max_texture_height ? info.max_texture_width : info.max_texture_height;
  bool nearest = nearest_only() || !SDL_RenderTargetSupported(sdl_video.renderer);
  return scale_plan(out_w, out_h, sdl_video.texture_width, sdl_video.texture_height,
                    sdl_video.integer_scale ? SCALE_INTEGER : SCALE_FIT, nearest, max_side);
}

// The intermediate picture at the plan's whole multiple, filtered linearly when drawn.
SDL_Texture* large_texture(int32_t factor) {
  const int w = sdl_video.texture_width * factor, h = sdl_video.texture_height * factor;
  if (presenter.large && presenter.large_w == w && presenter.large_h == h) return presenter.large;
  if (presenter.large) SDL_DestroyTexture(presenter.large);
  presenter.large = SDL_CreateTexture(sdl_video.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, w, h);
  presenter.large_w = presenter.large ? w : 0;
  presenter.large_h = presenter.large ? h : 0;
  if (presenter.large) {
    SDL_SetTextureScaleMode(presenter.large, SDL_ScaleModeLinear);
    SDL_SetTextureBlendMode(presenter.large, SDL_BLENDMODE_NONE);
  }
  return presenter.large;
}

// The black around the picture. The software renderer draws into the window's own image, so
// painting only the bars spares clearing (and rewriting) the picture's area every frame.
void draw_bars(int out_w, int out_h, const SDL_Rect& r) {
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

// Queues the texture's drawing for the output; the work is flushed here so that showing it
// after the wait is quick.
bool draw(int out_w, int out_h) {
  const ScalePlan plan = plan_for(out_w, out_h);
  if (plan.w <= 0 || plan.h <= 0 || !ensure_texture()) return false;
  const SDL_Rect rect{plan.x, plan.y, plan.w, plan.h};
  SDL_Texture* source = sdl_video.texture;
  // Commands run when flushed and read the texture's mode then: set it once, before any.
  SDL_SetTextureScaleMode(sdl_video.texture, SDL_ScaleModeNearest);
  if (plan.smooth) {
    SDL_Texture* large = plan.factor > 1 ? large_texture(plan.factor) : nullptr;
    if (large && SDL_SetRenderTarget(sdl_video.renderer, large) == 0) {
      SDL_RenderCopy(sdl_video.renderer, sdl_video.texture, nullptr, nullptr);
      SDL_SetRenderTarget(sdl_video.renderer, nullptr);
      source = large;
    } else {
      // Shrinking (or no room for the multiple): one linear pass from the picture itself.
      SDL_SetTextureScaleMode(sdl_video.texture, SDL_ScaleModeLinear);
    }
  }
  draw_bars(out_w, out_h, rect);
  SDL_RenderCopy(sdl_video.renderer, source, nullptr, &rect);
  SDL_RenderFlush(sdl_video.renderer);
  return true;
}

// The software renderer scaling by one nearest pass: done here instead, by runs, straight
// into the window's image (which the software renderer draws into too, and which keeps what
// was drawn), and only for the picture rows that differ from the frame on screen. SDL's own
// scaled copy of the whole picture cost 1.5 ms a frame at 1920x1080 and another copy into the
// window; the scroll lines of the menu change 40 rows of 480.
bool fitted_path() { return sdl_video.software && nearest_only(); }

void fitted_setup(const ScalePlan& plan) {
  if (presenter.fitted_valid && presenter.fitted_plan.w == plan.w && presenter.fitted_plan.h == plan.h) {
    presenter.fitted_plan = plan;
    return;
  }
  presenter.fitted_plan = plan;
  const int pic_w = sdl_video.texture_width, pic_h = sdl_video.texture_height;
  presenter.column_runs.assign(static_cast<size_t>(pic_w), 0);
  presenter.row_runs.assign(static_cast<size_t>(pic_h), 0);
  presenter.row_first.assign(static_cast<size_t>(pic_h), 0);
  presenter.column_first.assign(static_cast<size_t>(pic_w), 0);
  scale_runs(pic_w, plan.w, presenter.column_runs.data());
  scale_firsts(pic_w, presenter.column_runs.data(), presenter.column_first.data());
  scale_runs(pic_h, plan.h, presenter.row_runs.data());
  for (int y = 1; y < pic_h; ++y) presenter.row_first[y] = presenter.row_first[y - 1] + presenter.row_runs[y - 1];
}

bool row_changed(const uint8_t* pixels, int32_t pitch, int y) {
  const int w = sdl_video.texture_width;
  return std::memcmp(presenter.shown_pixels.data() + static_cast<size_t>(y) * w,
                     pixels + static_cast<ptrdiff_t>(y) * pitch, static_cast<size_t>(w)) != 0;
}

// PREPARE_ELSEWHERE: the window's image cannot be drawn into directly; the renderer draws.
enum : int32_t { PREPARE_FAILED = 0, PREPARE_DRAWN = 1, PREPARE_UNCHANGED = 2, PREPARE_ELSEWHERE = 3 };

int32_t fitted_prepare(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3], int out_w, int out_h,
                       bool even_unchanged) {
  const ScalePlan plan = plan_for(out_w, out_h);
  SDL_Surface* image = SDL_GetWindowSurface(sdl_video.window);
  if (plan.w <= 0 || plan.h <= 0) return PREPARE_FAILED;
  if (!image || image->w != out_w || image->h != out_h || image->format->BytesPerPixel != 4) return PREPARE_ELSEWHERE;
  // Everything is drawn again when the window, the picture's place or the palette changed.
  const bool whole = !presenter.fitted_valid || !presenter.shown_valid || sdl_video.redraw ||
                     out_w != presenter.shown_w || out_h != presenter.shown_h ||
                     std::memcmp(presenter.table_palette, palette_rgb, sizeof presenter.table_palette) != 0 ||
                     !presenter.table_valid || presenter.table_format != image->format->format ||
                     plan.w != presenter.fitted_plan.w || plan.h != presenter.fitted_plan.h;
  if (whole) presenter.fitted_valid = false;
  fitted_setup(plan);
  const int pic_h = sdl_video.texture_height;
  // Each row compared once; the frame's copy for the next comparison takes only these rows.
  // A frame that says what it changed is taken at its word: no comparison, only its spans.
  std::vector<uint8_t>& changed = presenter.changed_rows;
  changed.assign(static_cast<size_t>(pic_h), whole ? 1 : 0);
  int first = 0, last = pic_h - 1;
  const FrameChanges* record = presenter.changes;
  const bool spans = !whole && record && !record->whole && record->width == sdl_video.texture_width &&
                     record->height == pic_h;
  int32_t span_left = sdl_video.texture_width, span_right = 0;
  if (spans) {
    first = pic_h;
    for (int y = 0; y < pic_h; ++y) {
      int32_t l, r;
      if (!frame_changes_row(*record, y, &l, &r)) continue;
      changed[y] = 1;
      if (first == pic_h) first = y;
      last = y;
      span_left = std::min(span_left, l);
      span_right = std::max(span_right, r);
    }
    if (first == pic_h) {
      if (!even_unchanged) return PREPARE_UNCHANGED;
      // Shown again on request, as it is: every row.
      first = 0, last = pic_h - 1, span_left = 0, span_right = sdl_video.texture_width;
      std::fill(changed.begin(), changed.end(), 1);
    }
  } else if (!whole) {
    first = pic_h;
    for (int y = 0; y < pic_h; ++y) {
      if (!row_changed(pixels, pitch, y)) continue;
      changed[y] = 1;
      if (first == pic_h) first = y;
      last = y;
    }
    if (first == pic_h && !even_unchanged) return PREPARE_UNCHANGED;
    if (first == pic_h) first = 0, last = pic_h - 1;  // shown again on request, as it is
  }
  rebuild_table(palette_rgb, image->format);
  const SDL_Rect rect{plan.x, plan.y, plan.w, plan.h};
  if (whole) {
    draw_bars(out_w, out_h, rect);
    SDL_RenderFlush(sdl_video.renderer);  // into the image before it is sent
  }
  if (SDL_MUSTLOCK(image) && SDL_LockSurface(image) != 0) return PREPARE_FAILED;
  uint8_t* base = static_cast<uint8_t*>(image->pixels) + static_cast<ptrdiff_t>(plan.y) * image->pitch +
                  static_cast<ptrdiff_t>(plan.x) * 4;
  const bool exact = scale_plan_exact(plan, sdl_video.texture_width, pic_h);
  for (int y = first; y <= last; ++y) {
    if (!changed[y]) continue;  // still in the image
    uint8_t* row = base + static_cast<ptrdiff_t>(presenter.row_first[y]) * image->pitch;
    const uint8_t* src = pixels + static_cast<ptrdiff_t>(y) * pitch;
    int32_t l = 0, r = sdl_video.texture_width;
    if (spans && !frame_changes_row(*record, y, &l, &r)) l = 0, r = sdl_video.texture_width;
    uint32_t* out = reinterpret_cast<uint32_t*>(row);
    if (exact)
      scale_row_exact(src + l, r - l, presenter.table, out + l);
    else
      scale_span_nearest(src, l, r, presenter.column_runs.data(), presenter.column_first.data(), presenter.table, out);
    const int32_t from = presenter.column_first[l], to = presenter.column_first[r - 1] + presenter.column_runs[r - 1];
    for (int k = 1; k < presenter.row_runs[y]; ++k)
      std::memcpy(row + static_cast<ptrdiff_t>(k) * image->pitch + static_cast<ptrdiff_t>(from) * 4,
                  row + static_cast<ptrdiff_t>(from) * 4, static_cast<size_t>(to - from) * 4);
  }
  if (SDL_MUSTLOCK(image)) SDL_UnlockSurface(image);
  const int top = presenter.row_first[first], bottom = presenter.row_first[last] + presenter.row_runs[last];
  int left = 0, width = plan.w;
  if (spans) {
    left = presenter.column_first[span_left];
    width = presenter.column_first[span_right - 1] + presenter.column_runs[span_right - 1] - left;
  }
  presenter.update =
      whole ? SDL_Rect{0, 0, out_w, out_h} : SDL_Rect{plan.x + left, plan.y + top, width, bottom - top};
  presenter.direct = true;
  presenter.fitted_valid = true;
  return PREPARE_DRAWN;
}

int32_t prepare(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3], bool even_unchanged) {
  if (sdl_video.texture_width <= 0 || !pixels || !palette_rgb) return PREPARE_FAILED;
  int out_w = 0, out_h = 0;
  if (SDL_GetRendererOutputSize(sdl_video.renderer, &out_w, &out_h) != 0) return PREPARE_FAILED;
  presenter.direct = false;
  if (fitted_path()) {
    const int32_t done = fitted_prepare(pixels, pitch, palette_rgb, out_w, out_h, even_unchanged);
    if (done == PREPARE_DRAWN) {
      remember_shown(pixels, pitch, out_w, out_h, presenter.changed_rows);
      sdl_video.redraw = false;
    } else if (done == PREPARE_FAILED) {
      invalidate_shown();
    }
    if (done != PREPARE_ELSEWHERE) return done;
  }
  if (!even_unchanged && same_as_shown(pixels, pitch, palette_rgb, out_w, out_h)) return PREPARE_UNCHANGED;
  if (!convert(pixels, pitch, palette_rgb) || !draw(out_w, out_h)) {
    invalidate_shown();
    return PREPARE_FAILED;
  }
  remember_shown(pixels, pitch, out_w, out_h);
  sdl_video.redraw = false;
  return PREPARE_DRAWN;
}

// With the frame drawn, presents it again back to back a few times: presents that wait for
// the vertical blank come one refresh apart. Otherwise vsync is switched off and the 60 Hz clock
// paces alone.
void probe_vsync() {
  presenter.vsync = VSYNC_OFF;
  if (sdl_video.software || sdl_video.refresh_hz <= 0) return;
  int64_t intervals[VSYNC_PROBE_PRESENTS - 1];
  int64_t last = clock_now_us();
  int out_w = 0, out_h = 0;
  SDL_GetRendererOutputSize(sdl_video.renderer, &out_w, &out_h);
  for (int i = 0; i < VSYNC_PROBE_PRESENTS; ++i) {
    draw(out_w, out_h);  // the back buffer is undefined after a present: draw the frame again
    SDL_RenderPresent(sdl_video.renderer);
    const int64_t now = clock_now_us();
    if (i > 0) intervals[i - 1] = now - last;
    last = now;
  }
  if (pace_vsync_trusted(intervals, VSYNC_PROBE_PRESENTS - 1, sdl_video.refresh_hz))
    presenter.vsync = VSYNC_TRUSTED;
  else
    SDL_RenderSetVSync(sdl_video.renderer, 0);
}

// Opt-in measurement: with ZORVANE_FRAME_STATS=<file> the wall-clock time of the first present
// (Unix ms) and then one line a second are appended to the file: frames presented, the
// milliseconds counted over, frames left unchanged, and how presents are paced.
void frame_stats_count(bool shown) {
  static int state = 0;  // 0 not looked yet, 1 off, 2 on
  static const char* path = nullptr;
  static uint32_t presents = 0, unchanged = 0, since = 0;
  if (state == 0) {
    path = std::getenv("ZORVANE_FRAME_STATS");
    state = path && *path ? 2 : 1;
    if (state == 2) {
      since = platform_ticks();
      const long long unix_ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                                    std::chrono::system_clock::now().time_since_epoch()).count();
      if (std::FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, "first_present_unix_ms=%lld\n", unix_ms);
        std::fclose(f);
      }
    }
  }
  if (state != 2) return;
  ++(shown ? presents : unchanged);
  const uint32_t now = platform_ticks();
  if (now - since < 1000) return;
  if (std::FILE* f = std::fopen(path, "a")) {
    std::fprintf(f, "presents=%u ms=%u unchanged=%u vsync=%d software=%d\n", presents, now - since, unchanged,
                 presenter.vsync == VSYNC_TRUSTED ? 1 : 0, sdl_video.software ? 1 : 0);
    std::fclose(f);
  }
  presents = unchanged = 0;
  since = now;
}

}  // namespace

void present_release() {
  if (presenter.large) SDL_DestroyTexture(presenter.large);
  presenter.large = nullptr;
  presenter.large_w = presenter.large_h = 0;
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
  presenter.texture_format = format;
  sdl_video.texture_width = width;
  sdl_video.texture_height = height;
  // Made now where the renderer draws every frame from it; the software path makes it only if
  // the window's image cannot be drawn into.
  if (!sdl_video.software && !ensure_texture()) {
    sdl_video.texture_width = sdl_video.texture_height = 0;
    return 0;
  }
  presenter.format = SDL_AllocFormat(format);
  invalidate_shown();
  return 1;
}

void platform_display_close() {
  if (sdl_video.texture) SDL_DestroyTexture(sdl_video.texture);
  if (presenter.format) SDL_FreeFormat(presenter.format);
  presenter.format = nullptr;
  sdl_video.texture = nullptr;
  sdl_video.texture_width = sdl_video.texture_height = 0;
  invalidate_shown();
}

namespace {

// Sends the prepared frame to the display: only the changed part of the window's image where
// it was drawn there directly.
void show() {
  if (presenter.direct)
    SDL_UpdateWindowSurfaceRects(sdl_video.window, &presenter.update, 1);
  else
    SDL_RenderPresent(sdl_video.renderer);
}

}  // namespace

void platform_present_changes(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3],
                              const FrameChanges* changes) {
  presenter.changes = changes;
  platform_present(pixels, pitch, palette_rgb);
}

void platform_present(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3]) {
  const FrameChanges* changes = presenter.changes;
  presenter.changes = nullptr;  // a present without a record compares rows as always
  video_pump();
  presenter.changes = changes;
  const int32_t ready = prepare(pixels, pitch, palette_rgb, false);
  presenter.changes = nullptr;
  clock_wait_next_tick();
  if (ready == PREPARE_DRAWN) {
    show();
    ++presenter.counts.shown;
  } else if (ready == PREPARE_UNCHANGED) {
    ++presenter.counts.unchanged;
  }
  // Counted as shown before the first frame's follow-ups below, which may wait.
  frame_stats_count(ready == PREPARE_DRAWN);
  if (ready == PREPARE_DRAWN) {
    if (presenter.vsync == VSYNC_UNTESTED) probe_vsync();
    video_enter_pending_fullscreen();
  }
}

void present_set_filter(int32_t filter) {
  presenter.filter = filter;
  invalidate_shown();
}

bool present_current_plan(ScalePlan* plan) {
  int w = 0, h = 0;
  if (!sdl_video.renderer || sdl_video.texture_width <= 0 || SDL_GetRendererOutputSize(sdl_video.renderer, &w, &h) != 0)
    return false;
  *plan = plan_for(w, h);
  return true;
}

int32_t present_frame_now(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3]) {
  if (prepare(pixels, pitch, palette_rgb, true) != PREPARE_DRAWN) return 0;
  show();
  ++presenter.counts.shown;
  return 1;
}

int32_t present_would_draw(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3]) {
  int w = 0, h = 0;
  if (!sdl_video.renderer || sdl_video.texture_width <= 0 || SDL_GetRendererOutputSize(sdl_video.renderer, &w, &h) != 0)
    return 0;
  return same_as_shown(pixels, pitch, palette_rgb, w, h) ? 0 : 1;
}

PresentCounts present_counts() { return presenter.counts; }

int32_t present_vsync_trusted() { return presenter.vsync == VSYNC_TRUSTED ? 1 : 0; }

int32_t present_output_size(int32_t* width, int32_t* height) {
  int w = 0, h = 0;
  if (!sdl_video.renderer || SDL_GetRendererOutputSize(sdl_video.renderer, &w, &h) != 0) return 0;
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
  return SDL_GetRendererOutputSize(sdl_video.renderer, &w, &h) == 0 && w == width && h == height ? 1 : 0;
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
