// The browser's main loop: each animation frame of the page runs the passes that are due on the
// game's clock, then hands control back to the browser.
#include <emscripten.h>

#include "platform/common/pass_schedule.h"
#include "platform/web/web_platform.h"

namespace {

struct WebLoop {
  bool (*pass)(void*) = nullptr;
  void* context = nullptr;
  double origin_ms = 0;  // real time when the loop began
};

WebLoop loop;

EM_JS(void, page_game_ended, (), {
  if (Module['onGameExit']) Module['onGameExit']();
});

void animation_frame() {
  const double real = emscripten_get_now() - loop.origin_ms;
  const uint64_t real_ms = real > 0 ? static_cast<uint64_t>(real) : 0;
  web_clock_set(schedule_frame_start(web_clock_now(), real_ms));
  for (int32_t passes = 0; schedule_pass_due(web_clock_now(), real_ms, passes); ++passes) {
    if (!loop.pass(loop.context)) {
      emscripten_cancel_main_loop();
      page_game_ended();
      return;
    }
  }
}

}  // namespace

void web_run_loop(bool (*pass)(void*), void* context) {
  loop.pass = pass;
  loop.context = context;
  loop.origin_ms = emscripten_get_now() - static_cast<double>(web_clock_now());
  // 0 frames per second: the page's own animation frames.
  emscripten_set_main_loop(animation_frame, 0, 0);
}

void web_reset() {
  web_clock_set(0);
  web_keys_reset();
  web_gamepad_reset();
  web_touch_reset();
  web_window_reset();
  web_present_reset();
  web_audio_reset();
}
