// The Sparx: their start, their run along the borders, their hit on the player, their drawing.
#include "enemies/sparx.h"

#include "enemies/hit.h"

namespace {

constexpr int32_t START_X = 314;
constexpr int32_t START_Y = 0;

// A neighbour outside the grid never matches.
bool cell_is(const Playfield& playfield, int32_t x, int32_t y, int32_t code) {
  return playfield_inside(x, y) && playfield_cell(playfield, x, y) == code;
}
void offset_of(int32_t direction, int32_t* dx, int32_t* dy) {
  *dx = direction == DIR_RIGHT ? 1 : (direction == DIR_LEFT ? -1 : 0);
  *dy = direction == DIR_DOWN ? 1 : (direction == DIR_UP ? -1 : 0);
}

// One phase of a step for a Sparx heading `heading`: ahead moves on, the sides only turn.
// A border beats an inner border in every direction. 0 when nothing matched.
int32_t run_phase(Sparx& s, const Playfield& playfield, int32_t heading) {
  const bool horizontal = heading == DIR_RIGHT || heading == DIR_LEFT;
  const int32_t first_side = horizontal ? DIR_UP : DIR_LEFT;
  const int32_t second_side = horizontal ? DIR_DOWN : DIR_RIGHT;
  int32_t ax, ay, fx, fy, sx, sy;
  offset_of(heading, &ax, &ay);
  offset_of(first_side, &fx, &fy);
  offset_of(second_side, &sx, &sy);
  static const int32_t codes[] = {CELL_BORDER, CELL_INNER_BORDER};
  for (int32_t code : codes) {
    if (cell_is(playfield, s.x + ax, s.y + ay, code)) {
      s.x += STEP_CELLS * ax;
      s.y += STEP_CELLS * ay;
      return 1;
    }
    if (cell_is(playfield, s.x + fx, s.y + fy, code)) {
      s.direction = first_side;
      return 1;
    }
    if (cell_is(playfield, s.x + sx, s.y + sy, code)) {
      s.direction = second_side;
      return 1;
    }
  }
  return 0;
}

}  // namespace

void sparx_reset(SparxTeam& team) {
  for (int32_t i = 0; i < SPARX_SLOTS; ++i) team.sparx[i] = Sparx{START_X, START_Y, 0, i % 2 == 0 ? DIR_LEFT : DIR_RIGHT};
  team.sparx_count = 2;
}

bool sparx_move_all(SparxTeam& team, const Playfield& playfield, const Player& player, bool playing) {
  bool hit = false;
  for (int32_t i = 0; i < team.sparx_count && i < SPARX_SLOTS; ++i) {
    Sparx& s = team.sparx[i];
    // A hit ends play at once: the steps after it, of this Sparx and the next, hit no more.
    sparx_step(s, playfield, player, playing && !hit, &hit);
    const int32_t speed = s.state;
    if (speed == 1) sparx_step(s, playfield, player, playing && !hit, &hit);
    if (speed == 2) {
      sparx_step(s, playfield, player, playing && !hit, &hit);
      sparx_step(s, playfield, player, playing && !hit, &hit);
    }
  }
  return hit;
}

int32_t sparx_step(Sparx& s, const Playfield& playfield, const Player& player, bool playing, bool* hit) {
  // Right and left run before down and up, so a turn made on a horizontal run is carried out in
  // the same step, while a turn made on a vertical run only changes the heading.
  static const int32_t phases[] = {DIR_RIGHT, DIR_LEFT, DIR_DOWN, DIR_UP};
  for (int32_t heading : phases)
    if (s.direction == heading && !run_phase(s, playfield, heading)) return 0;

  // The player is hit only through a border cell between the two, never from the stix.
  const int32_t px = player.player_x, py = player.player_y;
  if (playing && distance(s.y, py) <= 2 && distance(s.x, px) <= 2) {
    const int32_t mx = (s.x + px) / 2, my = (s.y + py) / 2;
    if (cell_is(playfield, mx, my, CELL_BORDER)) *hit = true;
  }
  return s.direction;
}

void sparx_draw(const SparxTeam& team, const Bob& sprite, Surface* target) {
  for (int32_t i = 0; i < team.sparx_count && i < SPARX_SLOTS; ++i)
    bob_draw_at(sprite, team.sparx[i].x - 2, team.sparx[i].y - 2, target);
}

bool sparx_timer_update(SparxTeam& team, int32_t now, int32_t* time_left, int32_t* time_base, bool playing) {
  *time_left = *time_base - now + SPARX_PERIOD_SECONDS;
  if (!playing || *time_left >= 0) return false;
  if (team.sparx_count == SPARX_SLOTS) {
    // Speeds run 0, 1, 2, 1, 2, ... and all four always share one.
    for (Sparx& s : team.sparx) s.state = s.state == 1 ? 2 : 1;
  } else {
    // Slots 2 and 3 have stood where the reset put them; they start running from there.
    team.sparx_count = SPARX_SLOTS;
  }
  *time_base = now;
  return true;
}
