// The set-ups of a level and of a game, and the restart after a game has ended.
#include "enemies/qix.h"
#include "enemies/sparx.h"
#include "frontend/menu.h"
#include "game/game.h"
#include "game/hiscore.h"
#include "playfield/player.h"
#include "playfield/playfield.h"
#include "sound/sound.h"

void game_new_level() {
  playfield_reset();
  player_x = PLAYER_START_X;
  player_y = PLAYER_START_Y;
  player_drawing = 0;
  stix_speed = 0;
  claimed_cells = 0;
  move_mode = 0;
  engine_beat_frames = 0;
  qix_captured = 0;
  phase_frames = 0;
  phase_announced = 0;
  marker_blink = 0;
  sparx_reset();
  qix_reset();
  time_base = game_now();
}

void game_new() {
  scroll_x_intro = 700.0f;
  scroll_x_credits = 700.0f;
  game_lives = LIVES_AT_START;
  game_score = 0;
  game_level = 1;
  game_phase = PHASE_PLAYING;
  menu_selection = 1;
  menu_key_latch = 0;
  menu_frames = 0;
  recorded_score = 0;
  hiscore_loaded = 0;
  hiscore_load(0);
  hiscore_edit_row = -1;
  hiscore_edit_cursor = 0;
  hiscore_loaded = 1;
  hiscore_edit_letter = 'A';
}

void game_restart() {
  game_phase = PHASE_PLAYING;
  sound_effect(SND_CONNECT);
  sound_effect(SND_STARTUP);
  game_new_level();
  game_new();
}
