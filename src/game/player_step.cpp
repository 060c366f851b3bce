// The player's step as the game makes it: the move, the Fuse's lighting rule, the stix, and the
// claim of a closed stix with its cells and points.
#include "game/round.h"

void player_step(Round& round, int32_t move_mode, int32_t level, int32_t* score, const Input& input) {
  const PlayerMove move = player_move(round.player, round.playfield, move_mode, input);
  fuse_after_player_step(round.fuse, round.player, round.playfield, move.sx != 0 || move.sy != 0);
  if (!player_lay_stix(round.player, round.playfield, move, input)) return;
  TrailPoints trail;
  qix_trail_points(round.qix, level, &trail);
  const ClaimResult claim = playfield_claim(round.playfield, trail, round.player.player_x, round.player.player_y,
                                            round.player.player_direction, move_mode);
  round.claimed_cells += claim.cells;
  *score += claim.points;
}
