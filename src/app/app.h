// The program's shell: window, main loop, screens, start-up and shut-down.
#pragma once
#include <cstdint>

#include "app/options.h"
#include "platform/platform.h"

enum : int32_t { SCREEN_MENU = 0, SCREEN_GAME = 1, SCREEN_HISCORES = 2, SCREEN_ABOUT = 3 };

extern int32_t screen_state;
extern int32_t app_window;
extern int32_t app_instance;

// Runs the program: the quit message's exit code, or non-zero (with one line on stderr) when
// no window or no display can be had, a demo cannot be read (2) or a replay differs (3).
int32_t app_main(int32_t instance, const Options& options);
int64_t app_window_proc(int32_t window, uint32_t message, uint64_t wparam, int64_t lparam);
// 1, or 0 at once when the display cannot be set up; missing pictures and sound are borne.
// The random generator is seeded with seed at its fixed place in the sequence. Without sound
// no audio device is opened at all (a timed replay).
int32_t app_startup(uint32_t seed = 0, bool with_sound = true);
int32_t app_shutdown();
