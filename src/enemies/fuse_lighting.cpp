// The Fuse's lighting rule, applied after every player step: moving puts it out, standing still
// while drawing counts the delay down and lights it at the stix start.
#include "enemies/fuse.h"
#include "playfield/player.h"
#include "playfield/playfield.h"

namespace {

bool stix_at(int32_t x, int32_t y) { return playfield_inside(x, y) && playfield_cell(x, y) == CELL_STIX; }

}  // namespace

void fuse_after_player_step(int32_t moved) {
  Bob& bob = fuse.sprite;
  if (moved) {
    bob.state = 0;
    return;
  }
  if (player_drawing != 1 || bob.state != 0) return;
  // The delay is not restored by moving: hesitating again goes on from where it stopped.
  if (--bob.counter_a > 0) return;
  fuse.x = stix_start_x;
  fuse.y = stix_start_y;
  bob.counter_b = 0;
  bob.state = 1;
  bob.counter_a = FUSE_IGNITE_DELAY;
  // Burn into the stix; a start on the outer border has nothing beyond the grid.
  if (stix_at(fuse.x + 1, fuse.y))
    bob.direction = DIR_RIGHT;
  else if (stix_at(fuse.x - 1, fuse.y))
    bob.direction = DIR_LEFT;
  else if (stix_at(fuse.x, fuse.y + 1))
    bob.direction = DIR_DOWN;
  else if (stix_at(fuse.x, fuse.y - 1))
    bob.direction = DIR_UP;
}
