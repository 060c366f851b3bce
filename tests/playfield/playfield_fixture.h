// Shared set-up for the playfield tests: a fresh level, QIX trails placed by hand, cells set.
#pragma once
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

#include "enemies/fuse.h"
#include "enemies/qix.h"
#include "game/game.h"
#include "platform/fake/fake_platform.h"
#include "world.h"
#include "playfield/player.h"
#include "playfield/playfield.h"

using Values = std::vector<int32_t>;

// Puts every trail point of a QIX slot at one place.
inline void qix_trail_place(int32_t slot, int32_t x, int32_t y) {
  for (int32_t k = 0; k < QIX_TRAIL_LENGTH; ++k) qix_slots[slot].x1[k] = x, qix_slots[slot].y1[k] = y;
}

// Level 1 with the QIXes far to the left, the marker at its start, the Fuse out.
inline void level_fresh() {
  fake_reset();
  playfield_reset();
  game_level = 1, game_phase = PHASE_PLAYING, game_score = 0, claimed_cells = 0;
  qix_trail_place(0, 100, 200);
  qix_trail_place(1, 100, 200);
  player_x = stix_start_x = PLAYER_START_X;
  player_y = stix_start_y = PLAYER_START_Y;
  player_direction = DIR_UP, player_drawing = 0, stix_speed = 0;
  fuse.state = 0, fuse.counter_a = FUSE_IGNITE_DELAY;
}

// Sets every cell of a rectangle (a line when it is one cell wide), corners included.
inline void cells_fill(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t value) {
  for (int32_t y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
    for (int32_t x = std::min(x0, x1); x <= std::max(x0, x1); ++x) playfield_cell(x, y) = value;
}

inline int32_t cells_count(int32_t value) {
  return static_cast<int32_t>(std::count(std::begin(playfield.cells), std::end(playfield.cells), value));
}

inline std::vector<int32_t> grid_copy() {
  return std::vector<int32_t>(std::begin(playfield.cells), std::end(playfield.cells));
}
