// The game-wide counters and the phase.
#include "game/game.h"

int32_t game_phase = PHASE_PLAYING;
int32_t game_score = 0;
int32_t game_lives = LIVES_AT_START;
int32_t game_level = 1;
int32_t claimed_cells = 0;
int32_t time_left = 60;
int32_t time_base = 0;
int32_t pause_started_at = 0;
int32_t phase_frames = 0;
int32_t phase_announced = 0;
int32_t recorded_score = 0;
int32_t move_mode = 0;
int32_t engine_beat_frames = 0;
int32_t marker_blink = 0;

namespace {
int64_t now_seconds = 0;
}

int32_t game_now() { return static_cast<int32_t>(now_seconds); }
void game_set_now(int64_t seconds) { now_seconds = seconds; }
