// The entry point: the window, the main loop over the screens, and the window procedure.
#include <cstdio>

#include "app/app.h"
#include "display/display.h"
#include "frontend/about.h"
#include "frontend/hiscore_screen.h"
#include "frontend/menu.h"
#include "game/game.h"

namespace {

// What the program returns when it cannot come up at all.
constexpr int32_t EXIT_NO_WINDOW = 1;
constexpr int32_t EXIT_NO_DISPLAY = 2;

void app_run_screen() {
  switch (screen_state) {
    case SCREEN_MENU:
      menu_run_frame();
      break;
    case SCREEN_GAME:
      game_run_frame();
      break;
    case SCREEN_HISCORES:
      hiscore_screen_run();
      break;
    case SCREEN_ABOUT:
      about_screen_run();
      break;
    default:
      break;
  }
}

}  // namespace

int64_t app_window_proc(int32_t, uint32_t message, uint64_t, int64_t) {
  switch (message) {
    case WM_DESTROY:
      // Closing the window, from the desktop or from a screen, ends the program.
      platform_post_message(WM_QUIT, 0, 0);
      return 0;
    case WM_CREATE:
    case WM_PAINT:
    default:
      return 0;
  }
}

int32_t app_main(int32_t instance) {
  int32_t window = platform_window_create("Marrowin");
  if (window == 0) {
    // Without a window there is nothing to show the game in: say so and fail.
    std::fprintf(stderr, "zorvane: cannot open the game window (is a display available?)\n");
    return EXIT_NO_WINDOW;
  }
  app_window = window;
  app_instance = instance;

  if (!app_startup()) {
    std::fprintf(stderr, "zorvane: cannot set up the 640x480 8-bit display\n");
    display_shutdown();
    platform_window_destroy();
    return EXIT_NO_DISPLAY;
  }

  for (;;) {
    // At most one message per pass, so message traffic never changes the frame rate.
    PlatformMessage message;
    if (platform_peek_message(&message)) {
      if (message.message == WM_QUIT) {
        app_shutdown();
        platform_window_destroy();
        return static_cast<int32_t>(message.wparam);
      }
      app_window_proc(app_window, message.message, message.wparam, message.lparam);
    }
    app_run_screen();
  }
}
