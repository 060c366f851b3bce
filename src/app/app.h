// The program's shell: window, main loop, screens, start-up and shut-down.
#pragma once
#include <cstdint>

#include "platform/platform.h"

enum : int32_t { SCREEN_MENU = 0, SCREEN_GAME = 1, SCREEN_HISCORES = 2, SCREEN_ABOUT = 3 };

extern int32_t screen_state;
extern int32_t app_window;
extern int32_t app_instance;

// Runs the program: the quit message's exit code, or non-zero (with one line on stderr) when
// no window or no display can be had.
int32_t app_main(int32_t instance);
int64_t app_window_proc(int32_t window, uint32_t message, uint64_t wparam, int64_t lparam);
// 1, or 0 at once when the display cannot be set up; missing pictures and sound are borne.
int32_t app_startup();
int32_t app_shutdown();
