// The Fuse's lighting rule, applied after every player step: moving puts it out, standing still
// while drawing counts the delay down and lights it at the stix start.
#include "enemies/fuse.h"
#include "enemies/hit.h"

void fuse_after_player_step(Fuse& fuse, const Player& player, const Playfield& playfield, bool moved) {
  if (moved) {
    fuse.state = 0;
    return;
  }
  if (player.player_drawing != 1 || fuse.state != 0) return;
  // The delay is not restored by moving: hesitating again goes on from where it stopped.
  if (--fuse.counter_a > 0) return;
  fuse.x = player.stix_start_x;
  fuse.y = player.stix_start_y;
  fuse.counter_b = 0;
  fuse.state = 1;
  fuse.counter_a = FUSE_IGNITE_DELAY;
  // Burn into the stix; a start on the outer border has nothing beyond the grid.
  if (stix_at(playfield, fuse.x + 1, fuse.y))
    fuse.direction = DIR_RIGHT;
  else if (stix_at(playfield, fuse.x - 1, fuse.y))
    fuse.direction = DIR_LEFT;
  else if (stix_at(playfield, fuse.x, fuse.y + 1))
    fuse.direction = DIR_DOWN;
  else if (stix_at(playfield, fuse.x, fuse.y - 1))
    fuse.direction = DIR_UP;
}
