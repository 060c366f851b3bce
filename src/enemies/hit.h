// Small helpers the enemies share for their hit tests.
#pragma once
#include <cstdint>

#include "playfield/playfield.h"

inline int32_t distance(int32_t a, int32_t b) { return a > b ? a - b : b - a; }

// A cell outside the grid never counts as stix.
inline bool stix_at(const Playfield& playfield, int32_t x, int32_t y) {
  return playfield_inside(x, y) && playfield_cell(playfield, x, y) == CELL_STIX;
}
