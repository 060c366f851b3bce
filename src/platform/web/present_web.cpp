// Frames into the page's canvas: the 8-bit picture through its palette into RGBA, handed to the
// page, which scales it to fit (see zorvane.html). Every presented frame can be fingerprinted for
// the replay test, exactly as the native replay does.
#include <emscripten.h>

#include <string>
#include <vector>

#include "common/frame_hash.h"
#include "common/replay_report.h"
#include "platform/common/notice.h"
#include "platform/common/screenshot.h"
#include "platform/platform.h"
#include "platform/web/web_platform.h"

namespace {

struct WebPresenter {
  bool open = false;
  int32_t width = 0, height = 0;
  std::vector<uint32_t> rgba;  // the frame as the canvas takes it
  uint64_t shown_hash = 0;     // the frame on the canvas, so an unchanged one is not drawn again
  uint32_t notice_serial = 0;  // the notice (or none) on the canvas
  bool shown = false;
  bool logging = false;
  uint64_t presents = 0;
  std::vector<uint64_t> frame_log;
  std::vector<std::string> sound_log;
};

WebPresenter presenter;

EM_JS(void, page_show_frame, (const uint8_t* rgba, int width, int height), {
  if (Module['zorvaneShowFrame']) Module['zorvaneShowFrame'](HEAPU8.subarray(rgba, rgba + width * height * 4), width, height);
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

}  // namespace

int32_t platform_display_open(int32_t width, int32_t height, int32_t bpp) {
  if (bpp != 8 || width <= 0 || height <= 0 || width > 4096 || height > 4096) return 0;
  presenter.open = true;
  presenter.width = width;
  presenter.height = height;
  presenter.rgba.assign(static_cast<size_t>(width) * height, 0);
  presenter.shown = false;
  return 1;
}

void platform_display_close() { presenter.open = false; }

void platform_present(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3]) {
  if (!presenter.open) return;
  platform_wait_frame_tick();
  const int32_t w = presenter.width, h = presenter.height;
  const uint64_t hash = frame_hash(pixels, pitch, w, h, palette_rgb);
  ++presenter.presents;
  // A replay for its fingerprints runs as fast as it can: it draws nothing.
  if (presenter.logging) {
    presenter.frame_log.push_back(hash);
    return;
  }
  screenshot_take_pending(pixels, pitch, palette_rgb);
  const uint32_t now = platform_ticks();
  const NoticeImage* notice = notice_at(now);
  const uint32_t serial = notice_serial(now);
  if (presenter.shown && hash == presenter.shown_hash && notice == nullptr && serial == presenter.notice_serial) return;
  // Canvas pixels are bytes r, g, b, a in memory order: little-endian words a<<24|b<<16|g<<8|r.
  uint32_t colour[256];
  for (int i = 0; i < 256; ++i)
    colour[i] = 0xff000000u | static_cast<uint32_t>(palette_rgb[i][2]) << 16 |
                static_cast<uint32_t>(palette_rgb[i][1]) << 8 | palette_rgb[i][0];
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* row = pixels + static_cast<size_t>(y) * pitch;
    uint32_t* out = presenter.rgba.data() + static_cast<size_t>(y) * w;
    for (int32_t x = 0; x < w; ++x) out[x] = colour[row[x]];
  }
  if (notice != nullptr) notice_blend(*notice);
  presenter.notice_serial = serial;
  page_show_frame(reinterpret_cast<const uint8_t*>(presenter.rgba.data()), w, h);
  presenter.shown = true;
  presenter.shown_hash = hash;
}

// The page converts and shows whole frames; the record would spare only the conversion.
void platform_present_changes(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3],
                              const FrameChanges* /*changes*/) {
  platform_present(pixels, pitch, palette_rgb);
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
