// One movement step of the marker: keys, restrictions, the stix and its completion.
#include "playfield/player.h"

#include "common/input.h"

namespace {

// A cell the marker looks at; off the grid nothing is open.
int32_t cell_or_edge(const Playfield& playfield, int32_t x, int32_t y) {
  return playfield_inside(x, y) ? playfield_cell(playfield, x, y) : CELL_BORDER;
}

void stix_lay(Playfield& playfield, int32_t x, int32_t y) {
  if (playfield_inside(x, y) && playfield_cell(playfield, x, y) == CELL_OPEN) playfield_cell(playfield, x, y) = CELL_STIX;
}

}  // namespace

PlayerMove player_move(Player& p, const Playfield& playfield, int32_t move_mode, const Input& input) {
  auto key_down = [&input](int32_t vk) { return input_held(input, vk); };
  int32_t& player_x = p.player_x;
  int32_t& player_y = p.player_y;
  int32_t& player_direction = p.player_direction;
  int32_t& player_drawing = p.player_drawing;
  const bool draw_key = move_mode == 1 || move_mode == 2;
  int32_t dx = 0, dy = 0;
  if (draw_key) {
    // One axis only, the first key in the order Up, Down, Left, Right; while drawing, a key
    // that would turn the stix back on itself is passed over.
    const bool drawing = player_drawing == 1;
    if (key_down(VK_UP) && !(drawing && player_direction == DIR_DOWN)) {
      dy = -1;
      player_direction = DIR_UP;
    } else if (key_down(VK_DOWN) && !(drawing && player_direction == DIR_UP)) {
      dy = 1;
      player_direction = DIR_DOWN;
    } else if (key_down(VK_LEFT) && !(drawing && player_direction == DIR_RIGHT)) {
      dx = -1;
      player_direction = DIR_LEFT;
    } else if (key_down(VK_RIGHT) && !(drawing && player_direction == DIR_LEFT)) {
      dx = 1;
      player_direction = DIR_RIGHT;
    }
  } else if (player_drawing == 0) {
    // On the border both axes may be wanted: that slides the marker round corners.
    if (key_down(VK_UP)) {
      dy = -1;
      player_direction = DIR_UP;
    } else if (key_down(VK_DOWN)) {
      dy = 1;
      player_direction = DIR_DOWN;
    }
    if (key_down(VK_LEFT)) {
      dx = -1;
      player_direction = DIR_LEFT;
    } else if (key_down(VK_RIGHT)) {
      dx = 1;
      player_direction = DIR_RIGHT;
    }
  }

  int32_t sx = STEP_CELLS * dx, sy = STEP_CELLS * dy;
  if (!playfield_inside(player_x + sx, 0)) sx = 0;
  if (!playfield_inside(0, player_y + sy)) sy = 0;

  if (!draw_key && cell_or_edge(playfield, player_x + sx, player_y + sy) == CELL_OPEN) {
    // Without a draw key open ground is never entered: keep the part that stays on a wall.
    if (cell_or_edge(playfield, player_x, player_y + sy) != CELL_OPEN)
      sx = 0;
    else if (cell_or_edge(playfield, player_x + sx, player_y) != CELL_OPEN)
      sy = 0;
    else
      sx = sy = 0;
  }
  if (cell_or_edge(playfield, player_x + sx, player_y + sy) == CELL_STIX) sx = sy = 0;
  if (cell_or_edge(playfield, player_x + sx, player_y + sy) & (CELL_CLAIMED | CELL_INNER_BORDER)) sx = sy = 0;

  player_x += sx;
  player_y += sy;

  if (draw_key && player_drawing == 0 && playfield_cell(playfield, player_x, player_y) == CELL_OPEN) {
    player_drawing = 1;
    p.stix_speed = move_mode;
    p.stix_start_x = player_x - sx;
    p.stix_start_y = player_y - sy;
  }
  return PlayerMove{sx, sy, draw_key};
}

bool player_lay_stix(Player& p, Playfield& playfield, const PlayerMove& move, const Input& input) {
  if (!move.draw_key) return false;
  // Laid whether or not a stix is being drawn: crossing a one-cell gap between two borders
  // leaves a single stix cell behind.
  stix_lay(playfield, p.player_x, p.player_y);
  stix_lay(playfield, p.player_x - move.sx / 2, p.player_y - move.sy / 2);
  if (p.player_drawing == 1 && playfield_cell(playfield, p.player_x, p.player_y) == CELL_BORDER) {
    p.player_drawing = 0;
    p.stix_speed = 0;
    return !input_held(input, VK_SPACE);
  }
  return false;
}
