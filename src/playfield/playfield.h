// The 469 x 469 territory grid, its cell codes, its drawing and the claim of a completed cut.
#pragma once
#include <cstdint>

constexpr int32_t PLAYFIELD_SIZE = 469;
constexpr int32_t PLAYFIELD_LAST = 468;
constexpr int32_t PLAYFIELD_CELLS = PLAYFIELD_SIZE * PLAYFIELD_SIZE;  // 219961
constexpr int32_t PLAYFIELD_SCREEN_OFFSET = 5;
constexpr int32_t CLAIM_TARGET_CELLS = 142974;

enum : int32_t {
  CELL_OPEN = 0,
  CELL_CLAIMED = 1,
  CELL_STIX = 2,
  CELL_BORDER = 4,
  CELL_INNER_BORDER = 8,
  CELL_PROBE_MARK = 42,
};

// Palette indices the cells are drawn with.
enum : uint8_t { COLOUR_OPEN = 0, COLOUR_STIX = 255, COLOUR_BORDER = 250, COLOUR_INNER_BORDER = 175 };

constexpr float SCORE_PER_CELL_SLOW = 0.09092521f;
constexpr float SCORE_PER_CELL_FAST = 0.045462605f;

struct Playfield {
  int32_t cells[PLAYFIELD_CELLS];  // row-major: cell (x, y) at y * 469 + x
};

extern Playfield playfield;

inline int32_t& playfield_cell(int32_t x, int32_t y) { return playfield.cells[y * PLAYFIELD_SIZE + x]; }
inline bool playfield_inside(int32_t x, int32_t y) {
  return x >= 0 && x <= PLAYFIELD_LAST && y >= 0 && y <= PLAYFIELD_LAST;
}

void playfield_reset();
void playfield_erase_stix();
// Writes every cell into locked 8-bit memory whose rows are 640 bytes apart.
void playfield_draw(uint8_t* pixels);
int32_t playfield_probe_fill(int32_t x, int32_t y, int32_t mark);
int32_t playfield_claim_fill(int32_t x, int32_t y);
void playfield_claim(int32_t x, int32_t y, int32_t direction, int32_t move_mode);
