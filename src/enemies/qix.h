// The QIX: a line whose ends drift inside the open area, with a fading trail that kills.
#pragma once
#include <cstdint>

constexpr int32_t QIX_TRAIL_LENGTH = 20;
constexpr double QIX_MAX_LENGTH = 100.0;
constexpr int32_t QIX_SLOTS = 2;

struct Qix {
  int32_t x1[QIX_TRAIL_LENGTH], y1[QIX_TRAIL_LENGTH];
  int32_t x2[QIX_TRAIL_LENGTH], y2[QIX_TRAIL_LENGTH];
  int32_t vx1, vy1, vx2, vy2;
  int32_t adjust_count;
};

extern Qix qix_slots[QIX_SLOTS];
extern int32_t qix_captured;

// QIXes in play on a level: one on levels 1 and 2, two from level 3 on.
inline int32_t qix_active_count(int32_t level) { return 1 + (level > 2 ? 1 : 0); }

int32_t grid_line_scan(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
void qix_reset();
void qix_move(int32_t level);
// Draws into locked memory whose rows are 640 bytes apart.
void qix_draw(int32_t level, uint8_t* pixels);
