// Shared set-up for the playfield tests: a fresh level, QIX trails placed by hand, walls drawn.
#pragma once
#include <cstdint>
#include <vector>

#include "enemies/fuse.h"
#include "enemies/qix.h"
#include "game/game.h"
#include "platform/fake/fake_platform.h"
#include "playfield/player.h"
#include "playfield/playfield.h"

// Puts every trail line of a QIX slot at one point.
inline void qix_trail_place(int32_t slot, int32_t x, int32_t y) {
  for (int32_t k = 0; k < QIX_TRAIL_LENGTH; ++k) {
    qix_slots[slot].x1[k] = x;
    qix_slots[slot].y1[k] = y;
    qix_slots[slot].x2[k] = x;
    qix_slots[slot].y2[k] = y;
  }
}

// A new level on level 1 with the QIX far to the left, the marker at its start, the Fuse out.
inline void level_fresh() {
  fake_reset();
  playfield_reset();
  game_level = 1;
  game_phase = PHASE_PLAYING;
  game_score = 0;
  claimed_cells = 0;
  qix_trail_place(0, 100, 200);
  qix_trail_place(1, 100, 200);
  player_x = PLAYER_START_X;
  player_y = PLAYER_START_Y;
  player_direction = DIR_UP;
  player_drawing = 0;
  stix_speed = 0;
  stix_start_x = PLAYER_START_X;
  stix_start_y = PLAYER_START_Y;
  fuse.sprite.state = 0;
  fuse.sprite.counter_a = FUSE_IGNITE_DELAY;
}

// Sets the cells of a horizontal or vertical run, ends included.
inline void cells_line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t value) {
  int32_t sx = x1 > x0 ? 1 : (x1 < x0 ? -1 : 0), sy = y1 > y0 ? 1 : (y1 < y0 ? -1 : 0);
  for (int32_t x = x0, y = y0;; x += sx, y += sy) {
    playfield_cell(x, y) = value;
    if (x == x1 && y == y1) break;
  }
}

// The outline of a rectangle, corners included.
inline void cells_box(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t value) {
  cells_line(left, top, right, top, value);
  cells_line(left, bottom, right, bottom, value);
  cells_line(left, top, left, bottom, value);
  cells_line(right, top, right, bottom, value);
}

inline int32_t cells_count(int32_t value) {
  int32_t n = 0;
  for (int32_t cell : playfield.cells) n += cell == value;
  return n;
}

inline std::vector<int32_t> grid_copy() { return std::vector<int32_t>(std::begin(playfield.cells), std::end(playfield.cells)); }
