// The grid: set-up for a level, drawing into the locked back buffer, erasing the stix.
#include "playfield/playfield.h"

#include <algorithm>
#include <iterator>

void playfield_reset(Playfield& playfield) {
  std::fill(std::begin(playfield.cells), std::end(playfield.cells), CELL_OPEN);
  for (int32_t y = 0; y < PLAYFIELD_SIZE; ++y) playfield_touch_row(playfield, y);
  for (int32_t i = 0; i <= PLAYFIELD_LAST; ++i) {
    playfield_cell(playfield, i, 0) = CELL_BORDER;
    playfield_cell(playfield, i, PLAYFIELD_LAST) = CELL_BORDER;
    playfield_cell(playfield, 0, i) = CELL_BORDER;
    playfield_cell(playfield, PLAYFIELD_LAST, i) = CELL_BORDER;
  }
}

void playfield_erase_stix(Playfield& playfield) {
  for (int32_t y = 0; y < PLAYFIELD_SIZE; ++y) {
    PlayfieldCell* row = &playfield.cells[y * PLAYFIELD_SIZE];
    int32_t had = 0;
    for (int32_t x = 0; x < PLAYFIELD_SIZE; ++x) {
      had |= row[x] & CELL_STIX;
      row[x] &= ~CELL_STIX;
    }
    if (had) playfield_touch_row(playfield, y);
  }
}

void playfield_draw(const Playfield& playfield, uint8_t* pixels) { playfield_draw_rows(playfield, pixels, 0, PLAYFIELD_LAST); }

void playfield_draw_rows(const Playfield& playfield, uint8_t* pixels, int32_t first, int32_t last) {
  if (first < 0) first = 0;
  if (last > PLAYFIELD_LAST) last = PLAYFIELD_LAST;
  // Masks rather than branches, so the compiler draws many cells at once; a cell of any other
  // code (claimed above all) writes back the byte that is already there.
  for (int32_t y = first; y <= last; ++y) {
    const PlayfieldCell* __restrict row = &playfield.cells[y * PLAYFIELD_SIZE];
    uint8_t* __restrict out = pixels + (y + PLAYFIELD_SCREEN_OFFSET) * 640 + PLAYFIELD_SCREEN_OFFSET;
    // Byte masks on byte cells: the compiler takes 16 or 32 cells a step.
    for (int32_t x = 0; x < PLAYFIELD_SIZE; ++x) {
      const uint8_t code = row[x];
      const uint8_t open = code == CELL_OPEN ? 0xFF : 0, stix = code == CELL_STIX ? 0xFF : 0;
      const uint8_t border = code == CELL_BORDER ? 0xFF : 0, inner = code == CELL_INNER_BORDER ? 0xFF : 0;
      const uint8_t drawn = open | stix | border | inner;
      const uint8_t colour = (stix & COLOUR_STIX) | (border & COLOUR_BORDER) | (inner & COLOUR_INNER_BORDER);
      out[x] = static_cast<uint8_t>((colour & drawn) | (out[x] & ~drawn));
    }
  }
}

void trail_points_clear(TrailPoints* t) {
  std::fill(std::begin(t->on_row), std::end(t->on_row), 0);
  t->count = 0;
}

void trail_points_add(TrailPoints* t, int32_t x, int32_t y) {
  if (y < 0 || y > PLAYFIELD_LAST || t->count >= TRAIL_POINTS_MAX) return;  // off the grid: in no span
  t->x[t->count] = x;
  t->y[t->count++] = y;
  t->on_row[y] = 1;
}
