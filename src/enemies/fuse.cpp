// The Fuse: its burn along the stix towards the player, its hit and its sizzle. The lighting
// rule that sets it burning lives with the player's step.
#include "enemies/fuse.h"

#include "enemies/hit.h"
#include "sound/sound.h"

namespace {

// One step along the stix. Running right or left the Fuse takes a bend and follows it at once;
// running up or down it only turns. 0 when it is stuck.
int32_t burn_step(Fuse& fuse, const Playfield& pf) {
  int32_t& direction = fuse.direction;
  int32_t& x = fuse.x;
  int32_t& y = fuse.y;
  switch (direction) {
    case DIR_RIGHT:
    case DIR_LEFT: {
      const int32_t dx = direction == DIR_RIGHT ? 1 : -1;
      if (stix_at(pf, x + dx, y)) {
        x += STEP_CELLS * dx;
      } else if (stix_at(pf, x, y - 1)) {
        direction = DIR_UP;
        y -= STEP_CELLS;
      } else if (stix_at(pf, x, y + 1)) {
        direction = DIR_DOWN;
        y += STEP_CELLS;
      } else {
        return 0;
      }
      return 1;
    }
    case DIR_DOWN:
    case DIR_UP: {
      const int32_t dy = direction == DIR_DOWN ? 1 : -1;
      if (stix_at(pf, x, y + dy))
        y += STEP_CELLS * dy;
      else if (stix_at(pf, x - 1, y))
        direction = DIR_LEFT;
      else if (stix_at(pf, x + 1, y))
        direction = DIR_RIGHT;
      else
        return 0;
      return 1;
    }
    default:
      return 1;  // no heading: no step, but it still burns where it stands
  }
}

}  // namespace

bool fuse_move(Fuse& fuse, const Playfield& playfield, const Player& player, bool playing) {
  if (fuse.state == 0) return false;
  // A stuck Fuse stays lit but silent and harmless.
  if (!burn_step(fuse, playfield)) return false;

  bool hit = false;
  const int32_t px = player.player_x, py = player.player_y;
  if (playing && distance(fuse.y, py) <= 2 && distance(fuse.x, px) <= 2 &&
      stix_at(playfield, (fuse.x + px) / 2, (fuse.y + py) / 2)) {
    fuse.state = 0;
    hit = true;
  }

  if (fuse.counter_b > 0) {
    --fuse.counter_b;
  } else {
    fuse.counter_b = FUSE_SIZZLE_FRAMES;
    sound_effect(SND_FUSEHIT);
  }
  return hit;
}

void fuse_draw(const Fuse& fuse, const Bob& sprite, Surface* target) {
  if (fuse.state != 0) bob_draw_at(sprite, fuse.x + 1, fuse.y, target);
}
