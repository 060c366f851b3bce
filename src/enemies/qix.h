// The QIX: a line whose ends drift inside the open area, with a fading trail that kills.
#pragma once
#include <cstdint>

#include "display/surface.h"
#include "playfield/player.h"
#include "playfield/playfield.h"

constexpr int32_t QIX_TRAIL_LENGTH = 20;
constexpr double QIX_MAX_LENGTH = 100.0;
constexpr int32_t QIX_SLOTS = 2;

struct Qix {
  int32_t x1[QIX_TRAIL_LENGTH], y1[QIX_TRAIL_LENGTH];
  int32_t x2[QIX_TRAIL_LENGTH], y2[QIX_TRAIL_LENGTH];
  int32_t vx1, vy1, vx2, vy2;
  int32_t adjust_count;
};

// The QIXes of a level and the flag that one of them is cut off (its trail head on claimed
// ground), which pays the split bonus a while later.
struct QixState {
  Qix qix_slots[QIX_SLOTS];
  int32_t qix_captured = 0;
};

// QIXes in play on a level: one on levels 1 and 2, two from level 3 on.
inline int32_t qix_active_count(int32_t level) { return 1 + (level > 2 ? 1 : 0); }

// What a straight line from (x0, y0) to (x1, y1) meets first on the grid: 0 for open ground.
int32_t grid_line_scan(const Playfield& playfield, int32_t x0, int32_t y0, int32_t x1, int32_t y1);
// Both QIXes placed anew at random on open ground.
void qix_reset(QixState& qix, const Playfield& playfield);
// One frame of the QIXes in play: the capture test, then their moves. True when a trail
// touched the stix while playing (it plays its sound; the caller ends the life).
bool qix_move(QixState& qix, int32_t level, const Playfield& playfield, const Player& player, bool playing);
// Draws into locked memory whose rows are 640 bytes apart.
void qix_draw(const QixState& qix, int32_t level, uint8_t* pixels);
// The rectangle (screen pixels, right and bottom exclusive) holding every line qix_draw draws;
// false when it draws none.
bool qix_drawn_rect(const QixState& qix, int32_t level, Rect* rect);
// The trail points a claim must leave to the QIXes in play.
void qix_trail_points(const QixState& qix, int32_t level, TrailPoints* points);
