// Frames into the page's canvas: the 8-bit picture through its palette into RGBA, of which the
// page puts the changed rectangle and scales it to fit (see zorvane.html). Every presented frame can be fingerprinted for
// the replay test, exactly as the native replay does.
#include <emscripten.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/frame_hash.h"
#include "common/replay_report.h"
#include "platform/common/frame_changes.h"
#include "platform/common/notice.h"
#include "platform/common/screenshot.h"
#include "platform/platform.h"
#include "platform/web/web_platform.h"

namespace {

struct WebPresenter {
  bool open = false;
  int32_t width = 0, height = 0;
  std::vector<uint32_t> rgba;  // the frame on the canvas, as the canvas takes it; the page reads it in place
  // What rgba holds: valid once a frame was converted whole; its palette, and whether a notice
  // is blended into it (then the next frame is converted whole again).
  bool valid = false;
  uint8_t palette[256][3] = {};
  uint32_t colour[256] = {};
  uint32_t notice_serial = 0;
  bool notice_shown = false;
  // A frame without a record is compared with the one on the canvas by its fingerprint.
  bool hash_valid = false;
  uint64_t shown_hash = 0;
  bool logging = false;
  uint64_t presents = 0;
  std::vector<uint64_t> frame_log;
  std::vector<std::string> sound_log;
};

WebPresenter presenter;

// The page puts the rectangle (x, y, w, h) of the picture, read in place from the program's memory.
EM_JS(void, page_show_frame, (const uint8_t* rgba, int width, int height, int x, int y, int w, int h), {
  if (Module['zorvaneShowFrame']) Module['zorvaneShowFrame'](rgba, width, height, x, y, w, h);
});

// The program's notice over the frame on the canvas (never in the frame the game drew).
void notice_blend(const NoticeImage& notice) {
  for (int32_t y = 0; y < notice.height && NOTICE_Y + y < presenter.height; ++y)
    for (int32_t x = 0; x < notice.width && NOTICE_X + x < presenter.width; ++x) {
      const uint32_t n = notice.argb[static_cast<size_t>(y) * notice.width + x];
      uint32_t& p = presenter.rgba[static_cast<size_t>(NOTICE_Y + y) * presenter.width + NOTICE_X + x];
      const uint32_t a = n >> 24;
      // Canvas words are a<<24|b<<16|g<<8|r; the notice's 0xAARRGGBB.
      const uint32_t nr = (n >> 16) & 255, ng = (n >> 8) & 255, nb = n & 255;
      const uint32_t r = (nr * a + (p & 255) * (255 - a)) / 255, g = (ng * a + ((p >> 8) & 255) * (255 - a)) / 255,
                     b = (nb * a + ((p >> 16) & 255) * (255 - a)) / 255;
      p = 0xff000000u | b << 16 | g << 8 | r;
    }
}

void convert_span(const uint8_t* pixels, int32_t pitch, int32_t y, int32_t left, int32_t right) {
  const uint8_t* row = pixels + static_cast<size_t>(y) * pitch;
  uint32_t* out = presenter.rgba.data() + static_cast<size_t>(y) * presenter.width;
  for (int32_t x = left; x < right; ++x) out[x] = presenter.colour[row[x]];
}

}  // namespace

int32_t platform_display_open(int32_t width, int32_t height, int32_t bpp) {
  if (bpp != 8 || width <= 0 || height <= 0 || width > 4096 || height > 4096) return 0;
  presenter.open = true;
  presenter.width = width;
  presenter.height = height;
  presenter.rgba.assign(static_cast<size_t>(width) * height, 0);
  presenter.valid = false;
  presenter.hash_valid = false;
  return 1;
}

void platform_display_close() {
  presenter.open = false;
  presenter.valid = false;
}

void platform_present(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3]) {
  platform_present_changes(pixels, pitch, palette_rgb, nullptr);
}

// Only what the frame's record names is converted and put; a frame without one is drawn whole
// unless its fingerprint shows it is the frame on the canvas. The canvas's own cost is per put,
// not per pixel (docs/performance.md), so an unchanged frame is never put at all.
void platform_present_changes(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3],
                              const FrameChanges* changes) {
  if (!presenter.open) return;
  platform_wait_frame_tick();
  const int32_t w = presenter.width, h = presenter.height;
  ++presenter.presents;
  // A replay for its fingerprints runs as fast as it can: it draws nothing.
  if (presenter.logging) {
    presenter.frame_log.push_back(frame_hash(pixels, pitch, w, h, palette_rgb));
    presenter.valid = false;
    return;
  }
  screenshot_take_pending(pixels, pitch, palette_rgb);
  const uint32_t now = platform_ticks();
  const NoticeImage* notice = notice_at(now);
  const uint32_t serial = notice_serial(now);
  const bool same_palette = std::memcmp(presenter.palette, palette_rgb, sizeof presenter.palette) == 0;
  const bool spans = presenter.valid && same_palette && changes != nullptr && !changes->whole &&
                     changes->width == w && changes->height == h && notice == nullptr && !presenter.notice_shown &&
                     serial == presenter.notice_serial;
  if (spans) {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    if (!frame_changes_bounds(*changes, &left, &top, &right, &bottom)) return;  // nothing changed
    for (int32_t y = top; y < bottom; ++y) {
      int32_t l = 0, r = 0;
      if (frame_changes_row(*changes, y, &l, &r)) convert_span(pixels, pitch, y, l, r);
    }
    presenter.hash_valid = false;
    page_show_frame(reinterpret_cast<const uint8_t*>(presenter.rgba.data()), w, h, left, top, right - left,
                    bottom - top);
    return;
  }
  const uint64_t hash = frame_hash(pixels, pitch, w, h, palette_rgb);
  if (presenter.valid && presenter.hash_valid && hash == presenter.shown_hash && notice == nullptr &&
      !presenter.notice_shown && serial == presenter.notice_serial)
    return;
  // Canvas pixels are bytes r, g, b, a in memory order: little-endian words a<<24|b<<16|g<<8|r.
  std::memcpy(presenter.palette, palette_rgb, sizeof presenter.palette);
  for (int i = 0; i < 256; ++i)
    presenter.colour[i] = 0xff000000u | static_cast<uint32_t>(palette_rgb[i][2]) << 16 |
                          static_cast<uint32_t>(palette_rgb[i][1]) << 8 | palette_rgb[i][0];
  for (int32_t y = 0; y < h; ++y) convert_span(pixels, pitch, y, 0, w);
  if (notice != nullptr) notice_blend(*notice);
  presenter.notice_shown = notice != nullptr;
  presenter.notice_serial = serial;
  presenter.valid = true;
  presenter.hash_valid = true;
  presenter.shown_hash = hash;
  page_show_frame(reinterpret_cast<const uint8_t*>(presenter.rgba.data()), w, h, 0, 0, w, h);
}

void web_present_reset() { presenter = WebPresenter{}; }

void web_log_start() {
  presenter.logging = true;
  presenter.frame_log.clear();
  presenter.sound_log.clear();
}

void web_log_sound(const char* label) {
  if (presenter.logging) presenter.sound_log.push_back(std::to_string(presenter.presents) + " " + label);
}

std::string web_log_text() { return replay_report_text(presenter.frame_log, presenter.sound_log); }
