// The stack-based fills against the claim written as plain nested calls, straight from its
// rules, on many random fields. The wall rules read their neighbours at the moment of the visit,
// so any change in the order of visits shows up as a different grid.
#include <gtest/gtest.h>
#include <pthread.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <random>

#include "playfield_fixture.h"

namespace {

constexpr int32_t FIELDS = 1000;

// ---- The reference. A cell outside the grid reads as -1: not open, and never the region's value.
int64_t spans_visited = 0;
bool below_first = false;  // swaps the rows above and below, to show that the order matters

int32_t at(int32_t x, int32_t y) { return playfield_inside(x, y) ? playfield_cell(x, y) : -1; }
bool non_open(int32_t x, int32_t y) { return at(x, y) != CELL_OPEN; }

void span(int32_t x, int32_t y, int32_t v, int32_t& l, int32_t& r) {
  for (l = x; l > 0 && at(l, y) == v;) --l;
  for (r = x; r < 468 && at(r, y) == v;) ++r;
}

// Whether a border cell next to the span of row y, in column c, turns inner: the table of the
// claim's wall rules, one line per column kind and side.
bool turns_inner_above(int32_t c, int32_t y, int32_t l, int32_t r) {
  if (l < c && c < r) return y - 2 <= 0 || (non_open(c - 1, y - 2) && non_open(c + 1, y - 2));
  if (c == l) return (y - 2 < 0 || non_open(c + 1, y - 2)) && non_open(c - 1, y);
  return (y - 2 < 0 || non_open(c - 1, y - 2)) && non_open(c + 1, y) && non_open(c + 1, y - 1);  // c == r
}

bool turns_inner_below(int32_t c, int32_t y, int32_t l, int32_t r) {
  if (l < c && c < r) return y + 2 >= 468 || (non_open(c - 1, y + 2) && non_open(c + 1, y + 2));
  if (c == l) return (y + 2 > 468 || non_open(c + 1, y + 2)) && non_open(c - 1, y);
  return (y + 2 > 468 || non_open(c - 1, y + 2)) && non_open(c + 1, y) && non_open(c + 1, y + 1);  // c == r
}

int32_t reference_claim_fill(int32_t x, int32_t y) {
  ++spans_visited;
  int32_t v = at(x, y), l, r, count = 0;
  span(x, y, v, l, r);
  for (int32_t c = l + 1; c < r; ++c) playfield_cell(c, y) = CELL_CLAIMED, ++count;
  for (int32_t c = l; c <= r; ++c)
    for (int32_t s : {below_first ? 1 : -1, below_first ? -1 : 1}) {
      const int32_t n = at(c, y + s);
      if (n == v) count += reference_claim_fill(c, y + s);
      else if (n == CELL_STIX) playfield_cell(c, y + s) = CELL_BORDER;
      else if (n == CELL_BORDER && (s < 0 ? turns_inner_above(c, y, l, r) : turns_inner_below(c, y, l, r)))
        playfield_cell(c, y + s) = CELL_INNER_BORDER;
    }
  // The row's own walls, left then right; the left wall's unsettled case is a border as well.
  for (int32_t w : {l, r}) {
    const int32_t beyond = at(w == l ? l - 1 : r + 1, y);
    const bool edge = w == l ? l == 0 : r == 468;
    PlayfieldCell& wall = playfield_cell(w, y);
    wall = beyond != CELL_OPEN && wall >= 4 && (edge || (beyond & 6) == 0) ? CELL_INNER_BORDER : CELL_BORDER;
  }
  return count;
}

int32_t reference_probe_fill(int32_t x, int32_t y, int32_t mark) {
  int32_t v = at(x, y), l, r;
  span(x, y, v, l, r);
  for (int32_t q = 0; q < qix_active_count(game_level); ++q)
    for (int32_t k = 0; k < QIX_TRAIL_LENGTH; ++k)
      if (qix_slots[q].y1[k] == y && l < qix_slots[q].x1[k] && qix_slots[q].x1[k] < r) return 0;
  for (int32_t c = l + 1; c < r; ++c) playfield_cell(c, y) = mark;
  for (int32_t c = l; c <= r; ++c) {
    if (y - 1 >= 1 && at(c, y - 1) == v && !reference_probe_fill(c, y - 1, mark)) return 0;
    if (y + 1 <= 467 && at(c, y + 1) == v && !reference_probe_fill(c, y + 1, mark)) return 0;
  }
  return 1;
}

// By the last step's direction: the probe seed's offset (tried first), then the other side's.
constexpr int32_t SEEDS[5][4] = {{}, {-1, 1, -1, -1}, {1, 1, 1, -1}, {1, 1, -1, 1}, {1, -1, -1, -1}};

void reference_claim(int32_t x, int32_t y, int32_t direction, int32_t mode) {
  const int32_t* d = SEEDS[direction];
  const int32_t free_of_qix = reference_probe_fill(x + d[0], y + d[1], CELL_PROBE_MARK);
  reference_probe_fill(x + d[0], y + d[1], CELL_OPEN);
  const int32_t n = free_of_qix ? reference_claim_fill(x + d[0], y + d[1]) : reference_claim_fill(x + d[2], y + d[3]);
  claimed_cells += n;
  game_score += static_cast<int32_t>(n * static_cast<double>(mode == 2 ? SCORE_PER_CELL_FAST : SCORE_PER_CELL_SLOW));
}

// ---- Random fields.
struct Random {
  std::mt19937 engine{20240611};
  int32_t below(int32_t n) { return static_cast<int32_t>(engine() % static_cast<uint32_t>(n)); }
  bool chance(int32_t percent) { return below(100) < percent; }
  int32_t inside() { return 1 + below(467); }
  int32_t even() { return 2 + 2 * below(233); }
};

void field_random(Random& rnd, int32_t kind) {
  playfield_reset();
  if (kind < 2)  // walls on even rows and columns, as cuts in play lay them
    for (int32_t i = 20 + rnd.below(200); i > 0; --i) {
      const int32_t a = rnd.below(469), b = std::min(a + 2 + rnd.below(200), 468), line = rnd.even();
      const int32_t value = rnd.chance(60) ? CELL_STIX : rnd.chance(75) ? CELL_BORDER : CELL_INNER_BORDER;
      rnd.chance(50) ? cells_fill(a, line, b, line, value) : cells_fill(line, a, line, b, value);
    }
  if (kind == 1)  // stix left by abandoned cuts: lines one cell apart, rows or columns of any parity
    for (int32_t block = 1 + rnd.below(6); block > 0; --block) {
      const int32_t left = rnd.inside(), top = rnd.inside(), rows = rnd.chance(50), gaps = rnd.below(8);
      const int32_t right = std::min(left + 4 + rnd.below(150), 467), bottom = std::min(top + 4 + rnd.below(150), 467);
      for (int32_t y = top; y <= bottom; y += rows ? 2 : 1)
        for (int32_t x = left; x <= right; x += rows ? 1 : 2)
          if (!rnd.chance(gaps)) playfield_cell(x, y) = CELL_STIX;
    }
  if (kind == 2)  // full-height walls on every even column with few gaps: a chain of very many spans
    for (int32_t x = 2; x <= 466; x += 2) {
      cells_fill(x, 1, x, 467, rnd.chance(70) ? CELL_STIX : CELL_BORDER);
      playfield_cell(x, (x / 2) % 2 ? 1 + rnd.below(3) : 465 + rnd.below(3)) = CELL_OPEN;
      for (int32_t gaps = rnd.chance(60) ? 0 : rnd.below(4); gaps > 0; --gaps)
        playfield_cell(x, rnd.inside()) = CELL_OPEN;
    }
  // Loose stix cells anywhere inside.
  for (int32_t i = 467 * 467 * std::array{0, 5, 30, 100}[rnd.below(4)] / 1000; i > 0; --i)
    playfield_cell(rnd.inside(), rnd.inside()) = CELL_STIX;
  // Trail points anywhere, about half of them moved onto open ground.
  game_level = 1 + rnd.below(5);
  for (Qix& q : qix_slots)
    for (int32_t k = 0; k < QIX_TRAIL_LENGTH; ++k) {
      q.x1[k] = rnd.below(469), q.y1[k] = rnd.below(469);
      for (int32_t tries = 0; rnd.chance(50) && tries < 100 && playfield_cell(q.x1[k], q.y1[k]) != CELL_OPEN; ++tries)
        q.x1[k] = rnd.below(469), q.y1[k] = rnd.below(469);
    }
}

// ---- The comparison. Grids live in static storage: they are copied very often.
PlayfieldCell start[PLAYFIELD_CELLS], mine[PLAYFIELD_CELLS];
int32_t start_score, start_claimed, mine_result;

void start_restore() {
  std::memcpy(playfield.cells, start, sizeof start);
  game_score = start_score, claimed_cells = start_claimed;
}

// Runs the stack version, then the reference from the same grid; true when result, grid and
// counters agree. The reference's grid stays; the stack version's is left in `mine`.
template <class Mine, class Reference>
bool same_outcome(Mine mine_run, Reference reference_run) {
  std::memcpy(start, playfield.cells, sizeof start);
  start_score = game_score, start_claimed = claimed_cells;
  mine_result = mine_run();
  std::memcpy(mine, playfield.cells, sizeof mine);
  const int32_t score = game_score, claimed = claimed_cells;
  start_restore();
  return reference_run() == mine_result && game_score == score && claimed_cells == claimed &&
         std::memcmp(mine, playfield.cells, sizeof mine) == 0;
}

struct Tally {
  int32_t claims, claim_mismatches, order_checks, order_sensitive, probes, probe_mismatches, stopped_midway, clear;
  int64_t most_spans;
};

// One probe from an open cell (undone afterwards) and three claims beside open ground per field.
void* fields_compare(void* tally) {
  Tally& t = *static_cast<Tally*>(tally);
  Random rnd;
  for (int32_t field = 0; field < FIELDS; ++field) {
    field_random(rnd, field % 3);
    game_score = 0, claimed_cells = 0;
    int32_t x = rnd.inside(), y = rnd.inside();
    while (playfield_cell(x, y) != CELL_OPEN) x = rnd.inside(), y = rnd.inside();
    ++t.probes;
    t.probe_mismatches += !same_outcome([&] { return playfield_probe_fill(x, y, CELL_PROBE_MARK); },
                                        [&] { return reference_probe_fill(x, y, CELL_PROBE_MARK); });
    t.clear += mine_result;
    t.stopped_midway += !mine_result && std::count(std::begin(mine), std::end(mine), CELL_PROBE_MARK) > 0;
    start_restore();
    for (int32_t claim = 0, tries = 0; claim < 3 && tries < 600; ++tries) {
      const int32_t direction = 1 + rnd.below(4), *d = SEEDS[direction];
      x = rnd.even(), y = rnd.even();
      if (playfield_cell(x + d[0], y + d[1]) != CELL_OPEN || playfield_cell(x + d[2], y + d[3]) != CELL_OPEN) continue;
      const int32_t mode = rnd.below(3);
      auto mine_claim = [&] { return playfield_claim(x, y, direction, mode), 0; };
      auto reference = [&] { return reference_claim(x, y, direction, mode), 0; };
      if (t.claims % 3 == 0) {  // now and then in the other order, to show that these fields depend on it
        below_first = true, t.order_checks += 1;
        t.order_sensitive += !same_outcome(mine_claim, reference);
        below_first = false;
        start_restore();
      }
      spans_visited = 0, ++t.claims, ++claim;
      if (!same_outcome(mine_claim, reference) && t.claim_mismatches++ == 0)
        ADD_FAILURE() << "first mismatch at " << x << ", " << y << ", direction " << direction << ", mode " << mode;
      t.most_spans = std::max(t.most_spans, spans_visited);
    }
  }
  return nullptr;
}

}  // namespace

TEST(ClaimEquivalence, StackFillsMatchRecursionOnRandomFields) {
  level_fresh();
  Tally t{};
  pthread_attr_t attr;
  pthread_t thread;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, size_t{512} << 20);
  ASSERT_EQ(pthread_create(&thread, &attr, fields_compare, &t), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
  EXPECT_EQ(t.claim_mismatches, 0) << "of " << t.claims << " claims";
  EXPECT_EQ(t.probe_mismatches, 0) << "of " << t.probes << " probes";
  // The fields must really exercise what the order decides and what the stack must hold.
  EXPECT_GE(t.claims, FIELDS);
  EXPECT_GT(t.order_sensitive, t.order_checks / 10) << "claims whose result depends on the order";
  EXPECT_GT(t.stopped_midway, 0);
  EXPECT_GT(t.clear, 0);
  EXPECT_GT(t.most_spans, 50000) << "longest chain of spans in one claim";
  std::printf("claims %d (order-sensitive %d of %d), probes %d (stopped midway %d), most spans %lld\n", t.claims,
              t.order_sensitive, t.order_checks, t.probes, t.stopped_midway, static_cast<long long>(t.most_spans));
}
