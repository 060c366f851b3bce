// The fills as nested calls, straight from their description.
#include "reference_claim.h"

#include <pthread.h>

#include "enemies/qix.h"
#include "game/game.h"
#include "playfield/player.h"
#include "playfield/playfield.h"

int64_t reference_claim_spans = 0;

namespace {

constexpr int32_t OUTSIDE = -1000;

int32_t at(int32_t x, int32_t y) { return playfield_inside(x, y) ? playfield_cell(x, y) : OUTSIDE; }
bool non_open(int32_t x, int32_t y) { return at(x, y) != CELL_OPEN; }

void span(int32_t x, int32_t y, int32_t v, int32_t& l, int32_t& r) {
  l = x;
  while (l > 0 && at(l, y) == v) --l;
  r = x;
  while (r < PLAYFIELD_LAST && at(r, y) == v) ++r;
}

bool inner_above(int32_t c, int32_t y, int32_t l, int32_t r) {
  if (l < c && c < r) return y - 2 <= 0 || (non_open(c - 1, y - 2) && non_open(c + 1, y - 2));
  if (c == l) return (y - 2 < 0 || non_open(c + 1, y - 2)) && non_open(c - 1, y);
  return (y - 2 < 0 || non_open(c - 1, y - 2)) && non_open(c + 1, y) && non_open(c + 1, y - 1);
}

bool inner_below(int32_t c, int32_t y, int32_t l, int32_t r) {
  if (l < c && c < r) return y + 2 >= 468 || (non_open(c - 1, y + 2) && non_open(c + 1, y + 2));
  if (c == l) return (y + 2 > 468 || non_open(c + 1, y + 2)) && non_open(c - 1, y);
  return (y + 2 > 468 || non_open(c - 1, y + 2)) && non_open(c + 1, y) && non_open(c + 1, y + 1);
}

int32_t claim_fill(int32_t x, int32_t y, bool below_first);

int32_t neighbour(int32_t c, int32_t y, int32_t l, int32_t r, int32_t v, bool above, bool below_first) {
  int32_t ny = above ? y - 1 : y + 1;
  int32_t n = at(c, ny);
  if (n == v) return claim_fill(c, ny, below_first);
  if (n == CELL_STIX)
    playfield_cell(c, ny) = CELL_BORDER;
  else if (n == CELL_BORDER && (above ? inner_above(c, y, l, r) : inner_below(c, y, l, r)))
    playfield_cell(c, ny) = CELL_INNER_BORDER;
  return 0;
}

int32_t claim_fill(int32_t x, int32_t y, bool below_first) {
  ++reference_claim_spans;
  int32_t v = at(x, y), l, r;
  span(x, y, v, l, r);
  int32_t count = 0;
  for (int32_t c = l + 1; c <= r - 1; ++c) playfield_cell(c, y) = CELL_CLAIMED, ++count;
  for (int32_t c = l; c <= r; ++c) {
    count += neighbour(c, y, l, r, v, !below_first, below_first);
    count += neighbour(c, y, l, r, v, below_first, below_first);
  }
  int32_t& w = playfield_cell(l, y);
  int32_t p = at(l - 1, y);
  if (p == CELL_OPEN)
    w = CELL_BORDER;
  else if (w >= 4 && (l == 0 || (p & 6) == 0))
    w = CELL_INNER_BORDER;
  else if (at(l - 1, y - 1) >= 2 && at(l - 1, y + 1) >= 2)
    w = CELL_BORDER;  // the unsettled case: our choice
  else
    w = CELL_BORDER;
  int32_t& e = playfield_cell(r, y);
  int32_t q = at(r + 1, y);
  if (q == CELL_OPEN)
    e = CELL_BORDER;
  else if (e >= 4 && (r == 468 || (q & 6) == 0))
    e = CELL_INNER_BORDER;
  else
    e = CELL_BORDER;
  return count;
}

}  // namespace

int32_t reference_probe_fill(int32_t x, int32_t y, int32_t mark) {
  int32_t v = at(x, y), l, r;
  span(x, y, v, l, r);
  for (int32_t q = 0; q < qix_active_count(game_level); ++q)
    for (int32_t k = 0; k < QIX_TRAIL_LENGTH; ++k)
      if (l < qix_slots[q].x1[k] && qix_slots[q].x1[k] < r && qix_slots[q].y1[k] == y) return 0;
  for (int32_t c = l + 1; c <= r - 1; ++c) playfield_cell(c, y) = mark;
  for (int32_t c = l; c <= r; ++c) {
    if (y - 1 >= 1 && at(c, y - 1) == v && !reference_probe_fill(c, y - 1, mark)) return 0;
    if (y + 1 <= 467 && at(c, y + 1) == v && !reference_probe_fill(c, y + 1, mark)) return 0;
  }
  return 1;
}

int32_t reference_claim_fill(int32_t x, int32_t y, bool below_first) { return claim_fill(x, y, below_first); }

void reference_claim(int32_t x, int32_t y, int32_t direction, int32_t move_mode, bool below_first) {
  int32_t px = 0, py = 0, ox = 0, oy = 0;
  if (direction == DIR_UP) px = x + 1, py = y + 1, ox = x - 1, oy = y + 1;
  if (direction == DIR_DOWN) px = x + 1, py = y - 1, ox = x - 1, oy = y - 1;
  if (direction == DIR_LEFT) px = x + 1, py = y + 1, ox = x + 1, oy = y - 1;
  if (direction == DIR_RIGHT) px = x - 1, py = y + 1, ox = x - 1, oy = y - 1;
  int32_t r = reference_probe_fill(px, py, CELL_PROBE_MARK);
  reference_probe_fill(px, py, CELL_OPEN);
  int32_t n = r ? claim_fill(px, py, below_first) : claim_fill(ox, oy, below_first);
  claimed_cells += n;
  game_score += static_cast<int32_t>(n * static_cast<double>(move_mode == 2 ? SCORE_PER_CELL_FAST : SCORE_PER_CELL_SLOW));
}

bool run_with_big_stack(void (*body)(void*), void* argument) {
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, size_t{512} << 20);
  struct Call {
    void (*body)(void*);
    void* argument;
  } call{body, argument};
  pthread_t thread;
  int started = pthread_create(&thread, &attr, [](void* p) -> void* {
    auto* c = static_cast<Call*>(p);
    c->body(c->argument);
    return nullptr;
  }, &call);
  if (started == 0) pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
  return started == 0;
}
