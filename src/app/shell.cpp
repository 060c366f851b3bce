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

void app_window_proc(PlatformEvent event) {
  // Closing the window, from the desktop or from a screen, ends the program.
  if (event == PLATFORM_EVENT_CLOSE) platform_post_message(PLATFORM_EVENT_QUIT);
}

int32_t app_begin(AppRun* run, const Options& options) {
  Session& session = run->session;
  std::string error;
  if (!session_open(&session, options, &error)) {
    std::fprintf(stderr, "zorvane: %s: %s\n", options.demo_file.c_str(), error.c_str());
    return EXIT_DEMO_UNREADABLE;
  }

  if (platform_window_create("Marrowin") == 0) {
    // Without a window there is nothing to show the game in: say why and fail.
    std::fprintf(stderr, "zorvane: %s\n", platform_window_error());
    return EXIT_NO_WINDOW;
  }
  // Every run starts from fresh records (the round alone is far too large for the stack).
  run->program = std::make_unique<Program>();
  Program& program = *run->program;
  running_program = &program;

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
  // The desktop's request to close arrives as one close event, in order with the others.
  if (input.close_requested && !run->close_posted) {
    run->close_posted = true;
    platform_post_message(PLATFORM_EVENT_CLOSE);
  }
  // At most one event per pass, so event traffic never changes the frame rate.
  PlatformMessage message;
  if (platform_peek_message(&message)) {
    if (message.event == PLATFORM_EVENT_QUIT) return app_end(run, 0);
    app_window_proc(message.event);
  }
  game_set_now(program.game, input.seconds);
  app_pass_begin();
  const FrontendResult result =
      frontend_run_pass(program.frontend, program.game, program.round, program.hiscores, program.assets, input);
  app_pass_end(result.pass_end);
  frontend_finish_pass(program.frontend, result);
  if (result.quit) platform_post_message(PLATFORM_EVENT_CLOSE);
  return true;
}

void app_pass_begin() { clock_start(); }

void app_pass_end(int32_t pass_end) {
  switch (pass_end) {
    case PASS_END_PRESENT:
      display_flip();
      break;
    case PASS_END_GAME_FRAME:
      display_flip();
      clock_wait(GAME_FRAME_MS);
      break;
    case PASS_END_WAIT_TICK:
      display_wait_vblank();
      break;
    default:
      break;
  }
}

int32_t app_main(const Options& options) {
  AppRun run;
  const int32_t status = app_begin(&run, options);
  if (status >= 0) return status;
  while (app_pass(&run)) {
  }
  return run.exit_status;
}
