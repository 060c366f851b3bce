// The page stands in for the window: the canvas is always there, the event queue is the
// game's own, and the page's focus is the window's.
#include <emscripten.h>

#include <deque>

#include "platform/common/settings.h"
#include "platform/platform.h"
#include "platform/web/web_platform.h"

namespace {

struct WebWindow {
  bool open = false;
  bool focused = true;
  std::deque<PlatformMessage> queue;
};

WebWindow window;

EM_JS(void, page_show_cursor, (int show), {
  if (Module['canvas']) Module['canvas'].style.cursor = show ? 'auto' : 'none';
});

}  // namespace

// The page decides the canvas size; whole-factor scaling is the page's setting. The settings
// still take the command line's word.
void platform_configure_video(int32_t windowed, int32_t integer_scale) { settings_command_line(windowed, integer_scale); }

int32_t platform_window_create(const char*) {
  window.open = true;
  return 1;
}
const char* platform_window_error() { return ""; }
void platform_window_destroy() {
  if (window.open) settings_finish();
  window.open = false;
}

// A pass begins here: the controllers are read once a pass, and taps the pass has seen end.
int32_t platform_peek_message(PlatformMessage* out) {
  web_gamepad_begin_pass();
  web_keys_begin_pass();
  if (window.queue.empty()) return 0;
  *out = window.queue.front();
  window.queue.pop_front();
  return 1;
}
void platform_post_message(PlatformEvent event) {
  window.queue.push_back(PlatformMessage{event});
}
void platform_show_cursor(int32_t show) { page_show_cursor(show); }
// A page is closed by the browser, never through the game.
int32_t platform_close_requested() { return 0; }
int32_t platform_has_focus() { return window.focused ? 1 : 0; }

void web_window_reset() { window = WebWindow{}; }
void web_window_focus(bool focused) { window.focused = focused; }
