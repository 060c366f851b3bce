// The entry point: the window, the main loop over the screens, and the window procedure.
#include <cstdio>

#include "app/app.h"
#include "common/frame_hash.h"
#include "display/display.h"


namespace {

// What the program returns when it cannot come up at all.
constexpr int32_t EXIT_NO_WINDOW = 1;
constexpr int32_t EXIT_NO_DISPLAY = 2;

Session* frame_session = nullptr;
Program* running_program = nullptr;

void take_frame(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3]) {
  if (frame_session) session_take_frame(frame_session, frame_hash(pixels, pitch, 640, 480, palette_rgb));
}

// Ends the run: shut down, and the exit status the session gives.
bool app_end(AppRun* run, int32_t status) {
  app_shutdown(*run->program);
  running_program = nullptr;
  platform_window_destroy();
  display.display_frame_observer = nullptr;
  display.display_realtime = true;
  frame_session = nullptr;
  run->exit_status = session_finish(&run->session, status);
  run->running = false;
  run->program.reset();
  return false;
}

}  // namespace

const Program* app_program() { return running_program; }

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

int32_t app_begin(AppRun* run, int32_t instance, const Options& options) {
  Session& session = run->session;
  std::string error;
  if (!session_open(&session, options, &error)) {
    std::fprintf(stderr, "zorvane: %s: %s\n", options.demo_file.c_str(), error.c_str());
    return EXIT_DEMO_UNREADABLE;
  }

  int32_t window = platform_window_create("Marrowin");
  if (window == 0) {
    // Without a window there is nothing to show the game in: say why and fail.
    std::fprintf(stderr, "zorvane: %s\n", platform_window_error());
    return EXIT_NO_WINDOW;
  }
  // Every run starts from fresh records (the round alone is far too large for the stack).
  run->program = std::make_unique<Program>();
  Program& program = *run->program;
  running_program = &program;
  program.app_window = window;
  program.app_instance = instance;

  // A timed replay shows nothing and never waits; every replay and recording fingerprints
  // each frame it shows.
  const bool timed = session.mode == DemoMode::TIME;
  display.display_realtime = !timed;
  frame_session = &session;
  display.display_frame_observer = session.mode == DemoMode::NONE ? nullptr : take_frame;

  game_set_now(program.game, session_start_seconds(&session, program.hiscores));
  if (!app_startup(program, session_seed(&session, options), !timed)) {
    std::fprintf(stderr, "zorvane: cannot set up the 640x480 8-bit display\n");
    running_program = nullptr;
    run->program.reset();
    display_shutdown();
    platform_window_destroy();
    display.display_frame_observer = nullptr;
    display.display_realtime = true;
    frame_session = nullptr;
    return EXIT_NO_DISPLAY;
  }
  run->running = true;
  return -1;
}

bool app_pass(AppRun* run) {
  if (!run->running) return false;
  Program& program = *run->program;
  Session& session = run->session;
  // The input of the pass is read once, before anything else: every screen sees the same.
  Input input;
  if (!session_next_input(&session, &input)) return app_end(run, 0);
  // The desktop's request to close arrives as one WM_DESTROY, in order with the others.
  if (input.close_requested && !run->close_posted) {
    run->close_posted = true;
    platform_post_message(WM_DESTROY, 0, 0);
  }
  // At most one message per pass, so message traffic never changes the frame rate.
  PlatformMessage message;
  if (platform_peek_message(&message)) {
    if (message.message == WM_QUIT) return app_end(run, static_cast<int32_t>(message.wparam));
    app_window_proc(program.app_window, message.message, message.wparam, message.lparam);
  }
  game_set_now(program.game, input.seconds);
  const FrontendResult result =
      frontend_run_pass(program.frontend, program.game, program.round, program.hiscores, program.assets, input);
  if (result.quit) platform_post_message(WM_DESTROY, 0, 0);
  return true;
}

int32_t app_main(int32_t instance, const Options& options) {
  AppRun run;
  const int32_t status = app_begin(&run, instance, options);
  if (status >= 0) return status;
  while (app_pass(&run)) {
  }
  return run.exit_status;
}
