// The Fuse: its sprite, its burn along the stix towards the player, its hit and its sizzle.
// The lighting rule that sets it burning lives with the player's step.
#include "enemies/fuse.h"

#include "app/sprites.h"
#include "display/display.h"
#include "game/game.h"
#include "playfield/player.h"
#include "playfield/playfield.h"
#include "sound/sound.h"

Fuse fuse;

namespace {

constexpr int32_t FRAME_PIXEL_X = 72;
constexpr int32_t FRAME_PIXEL_Y = 1;
constexpr int32_t SPRITE_SIZE = 16;

// A neighbour outside the grid never counts as stix.
bool stix_at(int32_t x, int32_t y) { return playfield_inside(x, y) && playfield_cell(x, y) == CELL_STIX; }

int32_t distance(int32_t a, int32_t b) { return a > b ? a - b : b - a; }

// One step along the stix. Running right or left the Fuse takes a bend and follows it at once;
// running up or down it only turns. 0 when it is stuck.
int32_t burn_step() {
  int32_t& direction = fuse.sprite.direction;
  int32_t& x = fuse.x;
  int32_t& y = fuse.y;
  switch (direction) {
    case DIR_RIGHT:
    case DIR_LEFT: {
      const int32_t dx = direction == DIR_RIGHT ? 1 : -1;
      if (stix_at(x + dx, y)) {
        x += STEP_CELLS * dx;
      } else if (stix_at(x, y - 1)) {
        direction = DIR_UP;
        y -= STEP_CELLS;
      } else if (stix_at(x, y + 1)) {
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
      if (stix_at(x, y + dy))
        y += STEP_CELLS * dy;
      else if (stix_at(x - 1, y))
        direction = DIR_LEFT;
      else if (stix_at(x + 1, y))
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

void fuse_create() {
  const int32_t loaded = bitmap_load(&startup_bitmap, "OBJECTS2.BMP");
  bob_create(&fuse.sprite, 320, 0, SPRITE_SIZE, SPRITE_SIZE, 1, BOB_FLAG_ONE_FRAME | BOB_FLAG_SHOWN,
             DDSCAPS_SYSTEMMEMORY);
  // Without the picture the frame stays empty rather than copied from a stale record.
  if (loaded) bob_load_frame(&fuse.sprite, &startup_bitmap, 0, FRAME_PIXEL_X, FRAME_PIXEL_Y, FRAME_AT_PIXEL);
  bitmap_unload(&startup_bitmap);
  fuse.sprite.state = 0;
  fuse.sprite.counter_a = FUSE_IGNITE_DELAY;
}

void fuse_destroy() { bob_destroy(&fuse.sprite); }

void fuse_move() {
  if (fuse.sprite.state == 0) return;
  // A stuck Fuse stays lit but silent and harmless.
  if (!burn_step()) return;

  if (game_phase == PHASE_PLAYING && distance(fuse.y, player_y) <= 2 && distance(fuse.x, player_x) <= 2 &&
      stix_at((fuse.x + player_x) / 2, (fuse.y + player_y) / 2)) {
    fuse.sprite.state = 0;
    game_phase = PHASE_LIFE_LOST;
  }

  if (fuse.sprite.counter_b > 0) {
    --fuse.sprite.counter_b;
  } else {
    fuse.sprite.counter_b = FUSE_SIZZLE_FRAMES;
    sound_effect(SND_FUSEHIT);
  }
}

void fuse_draw() {
  if (fuse.sprite.state == 0) return;
  fuse.sprite.x = fuse.x + 1;
  fuse.sprite.y = fuse.y;
  bob_draw(&fuse.sprite, display_back);
}
