// The QIX: its placement, the scan that finds what a line touches, its movement with the stix
// hit and the capture test, and its drawing with the fading trail.
#include "enemies/qix.h"

#include <algorithm>
#include <cmath>

#include "common/random.h"
#include "display/draw.h"
#include "sound/sound.h"

namespace {

// What the scan reports for a position beyond the last row or column.
constexpr int32_t SCAN_OFF_GRID = 64;
constexpr int32_t PLACE_FIRST = 50;
constexpr int32_t PLACE_RANGE = 370;
constexpr int32_t SPEED_WANDER = 7;
constexpr int32_t SPEED_CHASE_DRAWING = 5;
constexpr int32_t SCREEN_PITCH = 640;
// A chase whose target lies beyond both ends of a line left over-long by a bounce pushes both
// ends alike, so no amount of adjusting shortens it; after this many passes the candidate is
// taken as it is (it is then no longer than the line already standing there).
constexpr int32_t LENGTH_PASSES_MAX = 10000;
// Even one open cell among the 136,900 the draws reach is found within this many rounds
// nearly always (about 136,900 rounds on average).
constexpr int32_t PLACE_ROUNDS_MAX = 2000000;

int32_t scan_cell(const Playfield& playfield, int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= PLAYFIELD_LAST || y >= PLAYFIELD_LAST) return SCAN_OFF_GRID;
  return playfield_cell(playfield, x, y);
}

void place_at_random(Qix* slots) {
  Qix& a = slots[0];
  Qix& b = slots[1];
  a.x1[0] = random_below(PLACE_RANGE) + PLACE_FIRST;
  a.y1[0] = random_below(PLACE_RANGE) + PLACE_FIRST;
  b.x1[0] = random_below(PLACE_RANGE) + PLACE_FIRST;
  b.y1[0] = random_below(PLACE_RANGE) + PLACE_FIRST;
  a.x2[0] = a.x1[0] + 40;
  a.y2[0] = a.y1[0] + 10;
  b.x2[0] = b.x1[0] + 20;
  b.y2[0] = b.y1[0] - 10;
}

bool open_cell_in(const Playfield& playfield, int32_t first_x, int32_t last_x, int32_t first_y, int32_t last_y, int32_t* x_out,
                  int32_t* y_out) {
  for (int32_t y = first_y; y <= last_y; ++y)
    for (int32_t x = first_x; x <= last_x; ++x)
      if (playfield_cell(playfield, x, y) == CELL_OPEN) {
        *x_out = x;
        *y_out = y;
        return true;
      }
  return false;
}

void fill_trail(Qix& q) {
  for (int32_t k = 1; k < QIX_TRAIL_LENGTH; ++k) {
    q.x1[k] = q.x1[0];
    q.y1[k] = q.y1[0];
    q.x2[k] = q.x2[0];
    q.y2[k] = q.y2[0];
  }
}

int32_t clamp_speed(int32_t v, int32_t max_speed) { return v > max_speed ? max_speed : (v < -max_speed ? -max_speed : v); }

void wander_adjust(int32_t& v) {
  if (random_below(2) != 0) {
    if (random_below(2) != 0)
      v += random_below(2);
    else
      v -= random_below(2);
  }
}

void chase_adjust(int32_t& v, int32_t target, int32_t at) {
  if (target > at)
    v += random_below(2);
  else
    v -= random_below(2);
}

void adjust_velocities(Qix& q, const Player& player, bool chase, int32_t max_speed) {
  if (chase) {
    // The stix start is whatever the last stix left there, also while the player is not drawing.
    const int32_t tx = (player.player_x + player.stix_start_x) / 2;
    const int32_t ty = (player.player_y + player.stix_start_y) / 2;
    chase_adjust(q.vx1, tx, q.x1[0]);
    chase_adjust(q.vx2, tx, q.x2[0]);
    chase_adjust(q.vy1, ty, q.y1[0]);
    chase_adjust(q.vy2, ty, q.y2[0]);
  } else {
    wander_adjust(q.vx1);
    wander_adjust(q.vy1);
    wander_adjust(q.vx2);
    wander_adjust(q.vy2);
  }
  q.vx1 = clamp_speed(q.vx1, max_speed);
  q.vy1 = clamp_speed(q.vy1, max_speed);
  q.vx2 = clamp_speed(q.vx2, max_speed);
  q.vy2 = clamp_speed(q.vy2, max_speed);
}

// An edge bounces only the coordinate that would leave the grid; a blocked line bounces all four.
void move_coordinate(int32_t& coordinate, int32_t& velocity, bool allowed) {
  const int32_t moved = coordinate + velocity;
  if (moved > PLAYFIELD_LAST || moved < 0 || !allowed)
    velocity = -velocity;
  else
    coordinate = moved;
}

// True when the trail touched the stix while playing.
bool move_one(Qix& q, const Playfield& playfield, const Player& player, bool chase, int32_t max_speed, bool playing) {
  int32_t cx1, cy1, cx2, cy2;
  for (int32_t passes = 1;; ++passes) {
    if (++q.adjust_count >= 2) {
      adjust_velocities(q, player, chase, max_speed);
      q.adjust_count = 0;
    }
    cx1 = q.x1[0] + q.vx1;
    cy1 = q.y1[0] + q.vy1;
    cx2 = q.x2[0] + q.vx2;
    cy2 = q.y2[0] + q.vy2;
    const double dx = cx2 - cx1, dy = cy2 - cy1;
    if (std::sqrt(dx * dx + dy * dy) <= QIX_MAX_LENGTH || passes >= LENGTH_PASSES_MAX) break;
  }

  int32_t r = grid_line_scan(playfield, cx1, cy1, cx2, cy2);
  const bool allowed = r == CELL_OPEN || r == CELL_STIX;
  move_coordinate(q.x1[0], q.vx1, allowed);
  move_coordinate(q.x2[0], q.vx2, allowed);
  move_coordinate(q.y1[0], q.vy1, allowed);
  move_coordinate(q.y2[0], q.vy2, allowed);

  for (int32_t k = QIX_TRAIL_LENGTH - 1; k > 0; --k) {
    q.x1[k] = q.x1[k - 1];
    q.y1[k] = q.y1[k - 1];
    q.x2[k] = q.x2[k - 1];
    q.y2[k] = q.y2[k - 1];
  }

  // The trail kills too; the first trail line that meets anything decides.
  if (r == 0)
    for (int32_t k = 1; k < QIX_TRAIL_LENGTH && r == 0; ++k) r = grid_line_scan(playfield, q.x1[k], q.y1[k], q.x2[k], q.y2[k]);

  if (playing && (r & CELL_STIX) != 0) {
    sound_effect(SND_STIXHIT);
    return true;
  }
  return false;
}

}  // namespace

int32_t grid_line_scan(const Playfield& playfield, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  auto outside = [](int32_t v) { return v <= 0 || v >= PLAYFIELD_LAST; };
  if (outside(x0) || outside(y0) || outside(x1) || outside(y1)) return 0;

  int32_t result = 0;
  const bool vertical = x1 == x0;
  const float slope = vertical ? 0.0f : static_cast<float>(y1 - y0) / static_cast<float>(x1 - x0);
  const int32_t whole = static_cast<int32_t>(slope);
  if (!vertical && whole >= -1 && whole <= 1) {
    // Lines with 1 <= |slope| < 2 are stepped along x too and may skip cells in y.
    const int32_t step = x0 < x1 ? 1 : -1;
    for (int32_t x = x0; x != x1; x += step) {
      const int32_t y = static_cast<int32_t>(static_cast<float>(x - x0) * slope + static_cast<float>(y0));
      result = scan_cell(playfield, x, y);
      if (result != 0) break;
    }
  } else {
    const int32_t step = y0 < y1 ? 1 : -1;
    for (int32_t y = y0; y != y1; y += step) {
      const int32_t x =
          vertical ? x0 : static_cast<int32_t>(static_cast<float>(y - y0) / slope + static_cast<float>(x0));
      result = scan_cell(playfield, x, y);
      if (result != 0) break;
    }
  }
  return result;
}

void qix_reset(QixState& qix, const Playfield& playfield) {
  Qix* qix_slots = qix.qix_slots;
  for (Qix& q : qix.qix_slots) {
    q.vx1 = 1;
    q.vx2 = 1;
    q.vy1 = 0;
    q.vy2 = 0;
    q.adjust_count = 0;
  }
  // Draws retry while slot 0 starts on a cell that is not open. A capture can leave every cell
  // the draws reach closed, or only a few open that the generator may never hit: then slot 0
  // goes to the first open cell of that area, or failing that of the grid (with room for its line).
  int32_t open_x = 0, open_y = 0;
  const int32_t last = PLACE_FIRST + PLACE_RANGE - 1;
  const bool reachable = open_cell_in(playfield, PLACE_FIRST, last, PLACE_FIRST, last, &open_x, &open_y);
  bool placed = false;
  for (int32_t round = 1; !placed; ++round) {
    place_at_random(qix_slots);
    placed = playfield_cell(playfield, qix_slots[0].x1[0], qix_slots[0].y1[0]) == CELL_OPEN;
    if (!reachable || round >= PLACE_ROUNDS_MAX) break;
  }
  if (!placed &&
      (reachable || open_cell_in(playfield, 1, PLAYFIELD_LAST - 1 - 40, 1, PLAYFIELD_LAST - 1 - 10, &open_x, &open_y))) {
    Qix& a = qix_slots[0];
    a.x1[0] = open_x;
    a.y1[0] = open_y;
    a.x2[0] = open_x + 40;
    a.y2[0] = open_y + 10;
  }
  for (Qix& q : qix.qix_slots) fill_trail(q);
}

bool qix_move(QixState& qix, int32_t level, const Playfield& playfield, const Player& player, bool playing) {
  const int32_t active = qix_active_count(level);
  for (int32_t i = 0; i < active && qix.qix_captured == 0; ++i)
    qix.qix_captured = playfield_cell(playfield, qix.qix_slots[i].x1[0], qix.qix_slots[i].y1[0]) == CELL_CLAIMED ? 1 : 0;

  // One mode for all QIXes of the frame.
  bool chase = false;
  int32_t max_speed = SPEED_WANDER;
  if (level == 2 || level >= 4) {
    if (player.player_drawing == 0) {
      chase = random_below(10) >= 9;
    } else {
      chase = random_below(5) < 2;
      max_speed = SPEED_CHASE_DRAWING;
    }
  }

  // A hit ends play at once: a second QIX touching the stix in the same frame is not heard.
  bool hit = false;
  for (int32_t i = 0; i < active; ++i)
    if (move_one(qix.qix_slots[i], playfield, player, chase, max_speed, playing && !hit)) hit = true;
  return hit;
}

void qix_draw(const QixState& qix, int32_t level, uint8_t* pixels) {
  if (pixels == nullptr) return;
  const int32_t active = qix_active_count(level);
  // The even entries only, newest first, fading from the newest trail colour down.
  for (int32_t i = 0; i < active; ++i) {
    const Qix& q = qix.qix_slots[i];
    for (int32_t k = 0; k < QIX_TRAIL_LENGTH; k += 2)
      draw_line(q.x1[k] + PLAYFIELD_SCREEN_OFFSET, q.y1[k] + PLAYFIELD_SCREEN_OFFSET, q.x2[k] + PLAYFIELD_SCREEN_OFFSET,
                q.y2[k] + PLAYFIELD_SCREEN_OFFSET, COLOUR_TRAIL_NEWEST - k, pixels, SCREEN_PITCH);
  }
}

bool qix_drawn_rect(const QixState& qix, int32_t level, Rect* rect) {
  const int32_t active = std::clamp(qix_active_count(level), 0, QIX_SLOTS);
  bool any = false;
  Rect r{0, 0, 0, 0};
  auto take = [&](int32_t x, int32_t y) {
    x += PLAYFIELD_SCREEN_OFFSET, y += PLAYFIELD_SCREEN_OFFSET;
    if (!any) r = Rect{x, y, x + 1, y + 1};
    r.left = std::min(r.left, x), r.top = std::min(r.top, y);
    r.right = std::max(r.right, x + 1), r.bottom = std::max(r.bottom, y + 1);
    any = true;
  };
  for (int32_t i = 0; i < active; ++i) {
    const Qix& q = qix.qix_slots[i];
    for (int32_t k = 0; k < QIX_TRAIL_LENGTH; k += 2) {
      take(q.x1[k], q.y1[k]);
      take(q.x2[k], q.y2[k]);
    }
  }
  // A pixel of slack on every side: the line's steps never leave its end points' box, but the
  // record must never be short of what was drawn.
  *rect = Rect{r.left - 1, r.top - 1, r.right + 1, r.bottom + 1};
  return any;
}

void qix_trail_points(const QixState& qix, int32_t level, TrailPoints* points) {
  trail_points_clear(points);
  const int32_t slots = std::clamp(qix_active_count(level), 0, QIX_SLOTS);
  for (int32_t q = 0; q < slots; ++q)
    for (int32_t k = 0; k < QIX_TRAIL_LENGTH; ++k) trail_points_add(points, qix.qix_slots[q].x1[k], qix.qix_slots[q].y1[k]);
}
