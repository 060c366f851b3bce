// The program's shell: window, main loop, start-up and shut-down.
#pragma once
#include <cstdint>

#include "app/options.h"
#include "app/program.h"
#include "platform/platform.h"

// Runs the program: the quit message's exit code, or non-zero (with one line on stderr) when
// no window or no display can be had, a demo cannot be read (2) or a replay differs (3).
int32_t app_main(int32_t instance, const Options& options);
int64_t app_window_proc(int32_t window, uint32_t message, uint64_t wparam, int64_t lparam);
// False at once when the display cannot be set up; missing pictures and sound are borne. The
// random generator is seeded with seed at its fixed place in the sequence. Without sound no
// audio device is opened at all (a timed replay).
bool app_startup(Program& program, uint32_t seed = 0, bool with_sound = true);
void app_shutdown(Program& program);
