// How this run of the program gets its input: live from the platform (and, when recording,
// into a demo), or from a demo being replayed; and what it does with the frames it shows.
#pragma once
#include <cstdint>
#include <string>

#include "app/demo_file.h"
#include "app/options.h"
#include "common/input.h"

// What the session says when the program ends.
enum : int32_t { EXIT_DEMO_UNREADABLE = 2, EXIT_DEMO_MISMATCH = 3 };

struct Session {
  DemoMode mode = DemoMode::NONE;
  std::string file;
  Demo demo;
  DemoCursor cursor;
  uint16_t previous_held = 0;  // live input: what was held in the previous pass
  bool any_key_was_down = true;  // a replay on the screen: a key down in the previous pass
  bool interrupted = false;    // a replay ended early by a key or a window close
  uint64_t frames = 0;
  uint64_t checksum = 0;
  int64_t first_mismatch = -1;  // 1-based number of the first frame that differs, -1: none
  // A timed replay's own time: from its first pass to its last frame (start-up and shutdown
  // left out, so the page's and the desktop's figures compare).
  uint64_t first_pass_ns = 0, last_frame_ns = 0;
};

struct Hiscores;

// Reads the demo a replay needs; false (with a one-line reason) when it cannot be played.
bool session_open(Session* session, const Options& options, std::string* error);
// The seed and the calendar clock the run starts with.
uint32_t session_seed(Session* session, const Options& options);
// The calendar clock the run starts with; the hi-score table is set up for the mode.
int64_t session_start_seconds(Session* session, Hiscores& hiscores);
// The input of the next pass; false when a replay is over.
bool session_next_input(Session* session, Input* input);
// The seconds a timed replay took for its frames, start-up excluded (0 before its first frame).
double session_replay_seconds(const Session& session);
// Takes one shown frame into the session's fingerprints.
void session_take_frame(Session* session, uint64_t frame_hash);
// Writes the recording or checks the replay; the program's exit status given its own.
int32_t session_finish(Session* session, int32_t exit_status);
// The input of one pass, read from the platform.
Input session_poll_platform(uint16_t previous_held);
