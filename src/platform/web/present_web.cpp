// Frames into the page's canvas: the 8-bit picture through its palette into RGBA, handed to the
// page, which scales it to fit (see zorvane.html). Every presented frame can be fingerprinted for
// the replay test, exactly as the native replay does.
#include <emscripten.h>

#include <string>
#include <vector>

#include "common/frame_hash.h"
#include "common/replay_report.h"
#include "platform/platform.h"
#include "platform/web/web_platform.h"

namespace {

struct WebPresenter {
  bool open = false;
  int32_t width = 0, height = 0;
  std::vector<uint32_t> rgba;  // the frame as the canvas takes it
  uint64_t shown_hash = 0;     // the frame on the canvas, so an unchanged one is not drawn again
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
  if (presenter.shown && hash == presenter.shown_hash) return;
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
