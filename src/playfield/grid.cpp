// The grid: set-up for a level, drawing into the locked back buffer, erasing the stix.
#include "playfield/playfield.h"

#include <algorithm>
#include <iterator>

Playfield playfield;

void playfield_reset() {
  std::fill(std::begin(playfield.cells), std::end(playfield.cells), CELL_OPEN);
  for (int32_t i = 0; i <= PLAYFIELD_LAST; ++i) {
    playfield_cell(i, 0) = CELL_BORDER;
    playfield_cell(i, PLAYFIELD_LAST) = CELL_BORDER;
    playfield_cell(0, i) = CELL_BORDER;
    playfield_cell(PLAYFIELD_LAST, i) = CELL_BORDER;
  }
}

void playfield_erase_stix() {
  for (int32_t& cell : playfield.cells) cell &= ~CELL_STIX;
}

void playfield_draw(uint8_t* pixels) {
  // A table from cell code to colour keeps the inner loop free of branches on the code;
  // entry 256 means "leave the picture under it".
  constexpr int32_t KEEP = 256;
  static const int32_t colour_of[16] = {COLOUR_OPEN, KEEP, COLOUR_STIX, KEEP, COLOUR_BORDER, KEEP, KEEP, KEEP,
                                        COLOUR_INNER_BORDER, KEEP, KEEP, KEEP, KEEP, KEEP, KEEP, KEEP};
  for (int32_t y = 0; y < PLAYFIELD_SIZE; ++y) {
    const int32_t* row = &playfield.cells[y * PLAYFIELD_SIZE];
    uint8_t* out = pixels + (y + PLAYFIELD_SCREEN_OFFSET) * 640 + PLAYFIELD_SCREEN_OFFSET;
    for (int32_t x = 0; x < PLAYFIELD_SIZE; ++x) {
      uint32_t code = static_cast<uint32_t>(row[x]);
      int32_t colour = code < 16 ? colour_of[code] : KEEP;
      if (colour != KEEP) out[x] = static_cast<uint8_t>(colour);
    }
  }
}
