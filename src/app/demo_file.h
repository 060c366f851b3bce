// Demo files (.zdemo): everything that decides a run — the seed, the hi-score table it starts
// with, and for every pass of the main loop the input it read and the calendar clock — plus
// the fingerprints of the frames the recorded run showed, to check a replay against.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/input.h"

constexpr uint16_t DEMO_VERSION = 1;
// A table of ten lines is about a hundred bytes; a demo never needs more than this.
constexpr size_t DEMO_MAX_SCORES_BYTES = 64 * 1024;
// Hours of play take well under a megabyte; anything this large is not one of ours.
constexpr size_t DEMO_MAX_FILE_BYTES = 64 * 1024 * 1024;

// One pass's input, as a replay hands it to the game (the clock apart).
struct DemoPass {
  uint16_t held = 0;
  uint16_t pressed = 0;
  bool close_requested = false;
  bool focused = true;
};

// A run of identical passes.
struct DemoRun {
  DemoPass pass;
  uint32_t count = 0;
};

// The calendar clock moved by delta seconds at the start of the pass that comes gap passes
// after the previous step's pass (the first step counts from just before pass 0).
struct DemoClockStep {
  uint32_t gap = 0;
  int64_t delta = 0;
};

struct Demo {
  uint32_t seed = 0;
  int64_t start_seconds = 0;        // the clock when the program started, before pass 0
  std::string scores;             // the scores file's text when the run began
  uint32_t passes = 0;            // passes of the main loop, the sum of the runs' counts
  std::vector<DemoRun> runs;
  std::vector<DemoClockStep> clock;
  // What the recorded run showed: a fingerprint of all its frames and the low 16 bits of each
  // frame's own fingerprint, so that a replay can name the first frame that differs.
  uint64_t checksum = 0;
  std::vector<uint16_t> frame_checks;
  // While recording: the clock as of the last pass, and the pass of the last clock step + 1.
  int64_t recorded_seconds = 0;
  uint64_t recorded_step_end = 0;
};

bool demo_equal_pass(const DemoPass& a, const DemoPass& b);
// Appends one pass (its input and the clock reading) to a demo being recorded; the clock is
// counted from demo->start_seconds.
void demo_append(Demo* demo, const Input& input);

std::string demo_encode(const Demo& demo);
// False, with a one-line reason, when bytes are not a demo this version can play.
bool demo_decode(const std::string& bytes, Demo* demo, std::string* error);

// Walks a demo's passes in order.
struct DemoCursor {
  size_t run = 0;
  uint32_t in_run = 0;
  size_t clock = 0;
  uint64_t clock_pass = 0;  // the pass of the next clock step
  uint64_t pass = 0;
  int64_t seconds = 0;
};
DemoCursor demo_cursor(const Demo& demo);
// The next pass's input; false when the demo has no more passes.
bool demo_next(const Demo& demo, DemoCursor* cursor, Input* input);
