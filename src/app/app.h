// The program's shell: window, main loop, start-up and shut-down.
#pragma once
#include <cstdint>
#include <memory>

#include "app/options.h"
#include "app/program.h"
#include "app/session.h"
#include "platform/platform.h"

// One run of the program, pass by pass: a browser hands control back after every pass, the
// desktop loops over them.
struct AppRun {
  Session session;
  std::unique_ptr<Program> program;
  bool running = false;
  bool close_posted = false;
  int32_t exit_status = 0;
};
// Opens the window and starts up: -1 when the run is ready for its passes, otherwise the exit
// status of a run that could not start (one line on stderr says why).
int32_t app_begin(AppRun* run, const Options& options);
// One pass of the main loop: input, at most one message, the current screen's frame. False once
// the run has ended (run->exit_status then holds the program's exit status).
bool app_pass(AppRun* run);
// The pacing of every pass: the frame clock starts as the screen's part begins, and the pass
// ends as the screen asked (PASS_END_*): shown at the next 60 Hz tick, shown and then the
// game's 30 ms waited out, a tick waited without showing, or nothing.
void app_pass_begin();
void app_pass_end(int32_t pass_end);
// Runs the program: 0 when it ends as asked, or non-zero (with one line on stderr) when no
// window or no display can be had, a demo cannot be read (2) or a replay differs (3).
int32_t app_main(const Options& options);
// The program's answer to an event of its window: a close ends the program (the quit event
// that follows is taken by the main loop itself).
void app_window_proc(PlatformEvent event);
// False at once when the display cannot be set up; missing pictures and sound are borne. The
// random generator is seeded with seed at its fixed place in the sequence. Without sound no
// audio device is opened at all (a timed replay).
bool app_startup(Program& program, uint32_t seed = 0, bool with_sound = true);
void app_shutdown(Program& program);
