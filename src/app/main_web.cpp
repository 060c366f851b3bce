// The browser's entry point: the same program as on the desktop, its passes run from the page's
// animation frames. A page opened for testing starts nothing by itself and offers entry points
// instead: replaying a demo with every frame fingerprinted, and driving a live run key by key.
#include <emscripten.h>

#include <string>

#include "app/app.h"
#include "app/command_line.h"
#include "platform/web/web_platform.h"

namespace {

struct WebProgram {
  Options options;
  AppRun live;
  std::string report;  // the last test result handed to the page
};

WebProgram web;

bool live_pass(void*) { return app_pass(&web.live); }

EM_JS(int, page_is_test, (), { return Module['zorvaneTest'] ? 1 : 0; });

// Runs a demo to its end in the given mode; the exit status, the frames shown and, for a timed
// replay, the seconds its passes took (the session's own figure, as --timedemo prints).
int32_t replay(const char* demo_path, DemoMode mode, uint64_t* frames, double* seconds = nullptr) {
  Options options = web.options;
  options.demo = mode;
  options.demo_file = demo_path;
  AppRun run;
  int32_t status = app_begin(&run, options);
  if (status < 0) {
    while (app_pass(&run)) {
    }
    status = run.exit_status;
  }
  *frames = run.session.frames;
  if (seconds) *seconds = session_replay_seconds(run.session);
  return status;
}

}  // namespace

// Replays a demo file through the real main loop, as fast as it runs: "exit N", then the
// fingerprint of every frame shown and every sound started (the native replay's report).
extern "C" EMSCRIPTEN_KEEPALIVE const char* zorvane_test_replay(const char* demo_path) {
  web_reset();
  web_log_start();
  uint64_t frames = 0;
  const int32_t status = replay(demo_path, DemoMode::PLAY, &frames);
  web.report = "exit " + std::to_string(status) + "\n" + web_log_text();
  return web.report.c_str();
}

// A timed replay (nothing shown, no sound, no waits), as --timedemo: "frames N ms T", T the
// replay's own time for its frames, start-up excluded.
extern "C" EMSCRIPTEN_KEEPALIVE const char* zorvane_test_timedemo(const char* demo_path) {
  web_reset();
  uint64_t frames = 0;
  double seconds = 0;
  replay(demo_path, DemoMode::TIME, &frames, &seconds);
  web.report = "frames " + std::to_string(frames) + " ms " + std::to_string(seconds * 1000);
  return web.report.c_str();
}

// Starts a live run with the page's command line; the test then drives it. -1 while it runs.
extern "C" EMSCRIPTEN_KEEPALIVE int32_t zorvane_test_start() {
  web_reset();
  return app_begin(&web.live, web.options);
}

// Runs passes of the live run with the keys of mask held (bit i: the game's i-th key). 1 while
// the run goes on.
extern "C" EMSCRIPTEN_KEEPALIVE int32_t zorvane_test_passes(int32_t mask, int32_t passes) {
  web_keys_drive(true, static_cast<uint16_t>(mask));
  bool running = web.live.running;
  for (int32_t i = 0; i < passes && running; ++i) running = app_pass(&web.live);
  web_keys_drive(false, 0);
  return running ? 1 : 0;
}

// The phase of the running game (playing, life lost, initials entry, ...), -1 with no run.
extern "C" EMSCRIPTEN_KEEPALIVE int32_t zorvane_test_phase() {
  const Program* program = app_program();
  return program ? program->game.game_phase : -1;
}

int main(int argc, char** argv) {
  const int32_t status = app_handle_options(argc, argv, &web.options);
  if (status >= 0) return status;
  if (page_is_test()) return 0;
  if (app_begin(&web.live, web.options) >= 0) return 1;
  web_run_loop(live_pass, nullptr);
  return 0;
}
