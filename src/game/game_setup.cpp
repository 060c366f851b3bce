// The set-ups of a level and of a game.
#include "game/game.h"

void game_set_now(Game& game, int64_t seconds) { game.now = static_cast<int32_t>(seconds); }

void game_new_level(Game& game, Round& round) {
  // Everything of the level starts afresh but the marker's heading, the start of the last stix
  // (which the chasing QIX still aims at) and the Fuse, which carry on. The playfield is reset
  // where it lies: it is far too large to build anew on the stack.
  playfield_reset(round.playfield);
  const Player previous = round.player;
  round.player = Player{};
  round.player.player_direction = previous.player_direction;
  round.player.stix_start_x = previous.stix_start_x;
  round.player.stix_start_y = previous.stix_start_y;
  round.claimed_cells = 0;
  round.move_mode = 0;
  round.engine_beat_frames = 0;
  round.qix.qix_captured = 0;
  round.phase_frames = 0;
  round.phase_announced = 0;
  round.marker_blink = 0;
  sparx_reset(round.sparx);
  qix_reset(round.qix, round.playfield);
  round.time_base = game.now;
}

void game_new(Game& game, Hiscores& hiscores) {
  game.game_lives = LIVES_AT_START;
  game.game_score = 0;
  game.game_level = 1;
  game.game_phase = PHASE_PLAYING;
  game.recorded_score = 0;
  hiscores.hiscore_loaded = 0;
  hiscore_load(hiscores, 0);
  hiscores.hiscore_edit_row = -1;
  hiscores.hiscore_edit_cursor = 0;
  hiscores.hiscore_loaded = 1;
  hiscores.hiscore_edit_letter = 'A';
}
