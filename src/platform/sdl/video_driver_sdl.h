// Which of SDL's video drivers may carry the game's window.
#pragma once

// After SDL's video has started: false when SDL fell back on its own to a driver that shows
// nothing (offscreen, dummy), as it does when no display answers. Such a driver is taken only
// when SDL_VIDEODRIVER names it, as the tests do.
bool video_driver_acceptable();
