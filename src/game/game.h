// The game screen's frame, its phases, the game-wide counters and the two set-ups.
#pragma once
#include <cstdint>

#include "common/input.h"

enum : int32_t {
  PHASE_GAME_OVER = 0,
  PHASE_LIFE_LOST = 1,
  PHASE_PLAYING = 2,
  PHASE_LEVEL_COMPLETE = 3,
  PHASE_HISCORE_ENTRY = 4,
  PHASE_PAUSED = 5,
};

constexpr int32_t LIVES_AT_START = 5;
constexpr uint32_t GAME_FRAME_MS = 30;
constexpr int32_t PHASE_WAIT_FRAMES = 50;
constexpr int32_t PHASE_LONG_WAIT_FRAMES = 100;

extern int32_t game_phase;
extern int32_t game_score;
extern int32_t game_lives;
extern int32_t game_level;
extern int32_t claimed_cells;
extern int32_t time_left;
extern int32_t time_base;
extern int32_t pause_started_at;
extern int32_t phase_frames;
extern int32_t phase_announced;
extern int32_t recorded_score;
extern int32_t move_mode;
extern int32_t engine_beat_frames;
extern int32_t marker_blink;

// Calendar time in whole seconds, as the minute periods and the pause count it: the reading
// of the current pass of the main loop, so that one frame always sees one time.
int32_t game_now();
void game_set_now(int64_t seconds);

int32_t game_run_frame(const Input& input);
// Everything of a frame up to the side panel: keys, the phase step, the moves and the whole
// picture in the back buffer; game_run_frame then flips and waits out the 30 ms. 0 when the
// frame stopped to wait for F1 to be released (nothing more is drawn in this pass).
int32_t game_compose_frame(const Input& input);
// True while a frame waits for F1 to be released: the next passes go on with that frame
// whatever screen its Esc may have chosen.
bool game_frame_waiting();
void game_new_level();
void game_new();
// Back to play after game over or the initials entry: sounds, fresh level, fresh game.
void game_restart();
