// The 469 x 469 territory grid, its cell codes, its drawing and the claim of a completed cut.
#pragma once
#include <cstdint>

#include "common/art.h"

constexpr int32_t PLAYFIELD_SIZE = 469;
constexpr int32_t PLAYFIELD_LAST = 468;
constexpr int32_t PLAYFIELD_CELLS = PLAYFIELD_SIZE * PLAYFIELD_SIZE;  // 219961
constexpr int32_t PLAYFIELD_SCREEN_OFFSET = 5;

enum : int32_t {
  CELL_OPEN = 0,
  CELL_CLAIMED = 1,
  CELL_STIX = 2,
  CELL_BORDER = 4,
  CELL_INNER_BORDER = 8,
  CELL_PROBE_MARK = 42,
};


constexpr float SCORE_PER_CELL_SLOW = 0.09092521f;
constexpr float SCORE_PER_CELL_FAST = 0.045462605f;

// Every cell code is below 64, so a cell is held in one byte: the grid takes 215 kB instead of
// 860, and its drawing reads a byte a pixel. Cells read as int32_t, as the codes are.
using PlayfieldCell = uint8_t;

struct Playfield {
  PlayfieldCell cells[PLAYFIELD_CELLS];  // row-major: cell (x, y) at y * 469 + x
  // Every write stamps its row with the next count of writes, so a picture of the grid finds
  // the rows to draw again by their stamps instead of looking at every cell.
  uint64_t row_written[PLAYFIELD_SIZE];
  uint64_t writes;
};

inline void playfield_touch_row(Playfield& playfield, int32_t y) { playfield.row_written[y] = ++playfield.writes; }
// A cell reached for writing counts as written.
inline PlayfieldCell& playfield_cell(Playfield& playfield, int32_t x, int32_t y) {
  playfield_touch_row(playfield, y);
  return playfield.cells[y * PLAYFIELD_SIZE + x];
}
inline int32_t playfield_cell(const Playfield& playfield, int32_t x, int32_t y) {
  return playfield.cells[y * PLAYFIELD_SIZE + x];
}
inline bool playfield_inside(int32_t x, int32_t y) {
  return x >= 0 && x <= PLAYFIELD_LAST && y >= 0 && y <= PLAYFIELD_LAST;
}

// The points of the QIX trails that a claim must not take: the first endpoint of every trail
// line of the QIXes in play, with the rows they lie on flagged so that most spans need no look
// at the points at all.
constexpr int32_t TRAIL_POINTS_MAX = 40;
struct TrailPoints {
  int32_t x[TRAIL_POINTS_MAX], y[TRAIL_POINTS_MAX];
  int32_t count;
  uint8_t on_row[PLAYFIELD_SIZE];
};
void trail_points_clear(TrailPoints* points);
void trail_points_add(TrailPoints* points, int32_t x, int32_t y);

// What a claim took: the cells and the points they are worth.
struct ClaimResult {
  int32_t cells = 0;
  int32_t points = 0;
};

void playfield_reset(Playfield& playfield);
void playfield_erase_stix(Playfield& playfield);
// Writes every cell into locked 8-bit memory whose rows are 640 bytes apart: open ground black,
// the lines in their colours, and claimed cells left as the picture beneath them.
void playfield_draw(const Playfield& playfield, uint8_t* pixels);
// The same for the grid rows first..last only.
void playfield_draw_rows(const Playfield& playfield, uint8_t* pixels, int32_t first, int32_t last);
int32_t playfield_probe_fill(Playfield& playfield, const TrailPoints& trail, int32_t x, int32_t y, int32_t mark);
int32_t playfield_claim_fill(Playfield& playfield, int32_t x, int32_t y);
ClaimResult playfield_claim(Playfield& playfield, const TrailPoints& trail, int32_t x, int32_t y, int32_t direction,
                            int32_t move_mode);
