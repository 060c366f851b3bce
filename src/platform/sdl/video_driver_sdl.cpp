// SDL 2.26 falls back to its offscreen driver when the X server refuses the connection, which
// Xvfb does for a moment while it resets after its last client left. The game would then run
// where nobody sees it; it must say that there is no display and stop instead.
#include <SDL.h>

#include <cstring>

#include "platform/sdl/video_driver_sdl.h"

bool video_driver_acceptable() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver) return false;
  if (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0) return true;
  const char* wanted = SDL_GetHint(SDL_HINT_VIDEODRIVER);  // the environment when no hint was set
  return wanted != nullptr && SDL_strcasecmp(wanted, driver) == 0;
}
