// The Sparx: their sprites, their start, their run along the borders and their hit on the player.
#include "enemies/sparx.h"

#include "app/sprites.h"
#include "display/display.h"
#include "game/game.h"
#include "playfield/player.h"
#include "playfield/playfield.h"

Sparx sparx[SPARX_SLOTS];
int32_t sparx_count = 2;

namespace {

constexpr int32_t START_X = 314;
constexpr int32_t START_Y = 0;
constexpr int32_t FRAME_PIXEL_X = 36;
constexpr int32_t FRAME_PIXEL_Y = 1;
constexpr int32_t SPRITE_SIZE = 16;

// A neighbour outside the grid never matches.
bool cell_is(int32_t x, int32_t y, int32_t code) { return playfield_inside(x, y) && playfield_cell(x, y) == code; }

void offset_of(int32_t direction, int32_t* dx, int32_t* dy) {
  *dx = direction == DIR_RIGHT ? 1 : (direction == DIR_LEFT ? -1 : 0);
  *dy = direction == DIR_DOWN ? 1 : (direction == DIR_UP ? -1 : 0);
}

// One phase of a step for a Sparx heading `heading`: ahead moves on, the sides only turn.
// A border beats an inner border in every direction. 0 when nothing matched.
int32_t run_phase(Sparx& s, int32_t heading) {
  const bool horizontal = heading == DIR_RIGHT || heading == DIR_LEFT;
  const int32_t first_side = horizontal ? DIR_UP : DIR_LEFT;
  const int32_t second_side = horizontal ? DIR_DOWN : DIR_RIGHT;
  int32_t ax, ay, fx, fy, sx, sy;
  offset_of(heading, &ax, &ay);
  offset_of(first_side, &fx, &fy);
  offset_of(second_side, &sx, &sy);
  static const int32_t codes[] = {CELL_BORDER, CELL_INNER_BORDER};
  for (int32_t code : codes) {
    if (cell_is(s.x + ax, s.y + ay, code)) {
      s.x += STEP_CELLS * ax;
      s.y += STEP_CELLS * ay;
      return 1;
    }
    if (cell_is(s.x + fx, s.y + fy, code)) {
      s.sprite.direction = first_side;
      return 1;
    }
    if (cell_is(s.x + sx, s.y + sy, code)) {
      s.sprite.direction = second_side;
      return 1;
    }
  }
  return 0;
}

int32_t distance(int32_t a, int32_t b) { return a > b ? a - b : b - a; }

}  // namespace

void sparx_create() {
  const int32_t loaded = bitmap_load(&startup_bitmap, "OBJECTS2.BMP");
  for (Sparx& s : sparx) {
    bob_create(&s.sprite, 320, 0, SPRITE_SIZE, SPRITE_SIZE, 1, BOB_FLAG_ONE_FRAME | BOB_FLAG_SHOWN,
               DDSCAPS_SYSTEMMEMORY);
    // Without the picture the frame stays empty rather than copied from a stale record.
    if (loaded) bob_load_frame(&s.sprite, &startup_bitmap, 0, FRAME_PIXEL_X, FRAME_PIXEL_Y, FRAME_AT_PIXEL);
  }
  bitmap_unload(&startup_bitmap);
}

void sparx_reset() {
  for (int32_t i = 0; i < SPARX_SLOTS; ++i) {
    sparx[i].x = START_X;
    sparx[i].y = START_Y;
    sparx[i].sprite.state = 0;
    sparx[i].sprite.direction = i % 2 == 0 ? DIR_LEFT : DIR_RIGHT;
  }
  sparx_count = 2;
}

void sparx_destroy() {
  for (Sparx& s : sparx) bob_destroy(&s.sprite);
}

void sparx_move_all() {
  for (int32_t i = 0; i < sparx_count && i < SPARX_SLOTS; ++i) {
    sparx_step(i);
    const int32_t speed = sparx[i].sprite.state;
    if (speed == 1) sparx_step(i);
    if (speed == 2) {
      sparx_step(i);
      sparx_step(i);
    }
  }
}

int32_t sparx_step(int32_t i) {
  Sparx& s = sparx[i];
  // Right and left run before down and up, so a turn made on a horizontal run is carried out in
  // the same step, while a turn made on a vertical run only changes the heading.
  static const int32_t phases[] = {DIR_RIGHT, DIR_LEFT, DIR_DOWN, DIR_UP};
  for (int32_t heading : phases)
    if (s.sprite.direction == heading && !run_phase(s, heading)) return 0;

  // The player is hit only through a border cell between the two, never from the stix.
  if (game_phase == PHASE_PLAYING && distance(s.y, player_y) <= 2 && distance(s.x, player_x) <= 2) {
    const int32_t mx = (s.x + player_x) / 2, my = (s.y + player_y) / 2;
    if (cell_is(mx, my, CELL_BORDER)) game_phase = PHASE_LIFE_LOST;
  }
  return s.sprite.direction;
}

void sparx_draw() {
  for (int32_t i = 0; i < sparx_count && i < SPARX_SLOTS; ++i) {
    Sparx& s = sparx[i];
    s.sprite.x = s.x - 2;
    s.sprite.y = s.y - 2;
    bob_draw(&s.sprite, display_back);
  }
}
