// The game screen: its counters and phases, its frame, and the set-ups of a level and a game.
#pragma once
#include <cstdint>

#include "common/input.h"
#include "game/assets.h"
#include "game/hiscore.h"
#include "game/round.h"
#include "game/scene.h"

enum : int32_t {
  PHASE_GAME_OVER = 0,
  PHASE_LIFE_LOST = 1,
  PHASE_PLAYING = 2,
  PHASE_LEVEL_COMPLETE = 3,
  PHASE_HISCORE_ENTRY = 4,
  PHASE_PAUSED = 5,
};

// How a pass of the main loop ends, as the screen that ran it asks; the main loop does it.
enum : int32_t {
  PASS_END_NOTHING = 0,     // nothing shown, no wait: the screen is being left
  PASS_END_PRESENT = 1,     // the back buffer is shown at the next tick of the 60 Hz clock
  PASS_END_GAME_FRAME = 2,  // shown, then the rest of the game's 30 ms frame is waited out
  PASS_END_WAIT_TICK = 3,   // nothing shown; the pass sleeps to the next tick
};

constexpr int32_t LIVES_AT_START = 5;
constexpr uint32_t GAME_FRAME_MS = 30;
constexpr int32_t PHASE_WAIT_FRAMES = 50;
constexpr int32_t PHASE_LONG_WAIT_FRAMES = 100;
constexpr int32_t CAPTURE_BONUS_PER_LEVEL = 10000;
constexpr int32_t LEVEL_BONUS_PER_PERCENT = 1000;
// A level is complete at 65 % of the 219,961 cells, cut to a whole number: 142,974 cells. The
// side panel's "Required" shows the percentage.
constexpr int32_t CLAIM_TARGET_PERCENT = 65;
constexpr int32_t CLAIM_TARGET_CELLS = PLAYFIELD_CELLS * CLAIM_TARGET_PERCENT / 100;

// The game-wide counters and the phase. The counters of one level live in the Round.
struct Game {
  int32_t game_phase = PHASE_PLAYING;
  int32_t game_score = 0;
  int32_t game_lives = LIVES_AT_START;
  int32_t game_level = 1;
  int32_t time_left = 60;        // seconds left of the current minute period
  int32_t pause_started_at = 0;  // calendar second at which the pause began
  int32_t recorded_score = 0;    // the score already taken to the initials entry
  int32_t now = 0;               // calendar second of the current pass of the main loop
  // Set when a frame stopped to wait for F1 to be released: where it goes on.
  int32_t f1_wait_resume = 0;
  // The "High" value the side panel shows: the table's best score as the frame found it.
  int32_t high_shown = 0;
  // The pause came from the window losing the keyboard focus (the message says so).
  bool paused_by_focus = false;
  // The still part of the game screen as last composed: a fresh record draws it all again.
  GameScene scene;
};

// What a game frame asks of the main loop and, once its picture is shown, of the screens.
struct GameFrameResult {
  bool to_menu = false;   // Esc: back to the menu, the game left as it stands
  bool new_game = false;  // a new game started after game over or the initials entry
  int32_t pass_end = PASS_END_GAME_FRAME;
};

// Calendar time in whole seconds of the current pass, as the minute periods and the pause
// count it: one frame always sees one time.
void game_set_now(Game& game, int64_t seconds);

// One pass of the game screen: a whole frame (update and picture; the main loop then shows it
// and waits out the 30 ms), or a pass that waits for F1 to be released and shows nothing.
// menu_key_latch is the latch the initials entry shares with the menu.
GameFrameResult game_run_frame(Game& game, Round& round, Hiscores& hiscores, int32_t& menu_key_latch,
                               const Assets& assets, const Input& input);
// A frame's update and picture; false when it stopped to wait for F1 (nothing is drawn in
// that pass).
bool game_compose_frame(Game& game, Round& round, Hiscores& hiscores, int32_t& menu_key_latch, const Assets& assets,
                        const Input& input, GameFrameResult* result);
// True while a frame waits for F1 to be released: the next passes go on with that frame
// whatever screen its Esc may have chosen.
bool game_frame_waiting(const Game& game);

// A fresh playfield and round for the current game (level, lives and score stay).
void game_new_level(Game& game, Round& round);
// The game-wide counters of a fresh game, and the hi-score table read again.
void game_new(Game& game, Hiscores& hiscores);
