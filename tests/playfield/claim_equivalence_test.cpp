// The stack-based fills against the plain recursive ones on many random fields: the wall
// rules read their neighbours at the moment of the visit, so any change in the order of visits
// shows up as a different grid.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <random>

#include "playfield_fixture.h"
#include "reference_claim.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int32_t FIELDS = 160;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int32_t FIELDS = 160;
#else
constexpr int32_t FIELDS = 1000;
#endif
#else
constexpr int32_t FIELDS = 1000;
#endif

struct Random {
  std::mt19937 engine;
  int32_t below(int32_t n) { return static_cast<int32_t>(engine() % static_cast<uint32_t>(n)); }
  bool chance(int32_t percent) { return below(100) < percent; }
};

int32_t interior(Random& rnd) { return 1 + rnd.below(467); }
int32_t even_interior(Random& rnd) { return 2 + 2 * rnd.below(233); }
int32_t clamp_grid(int32_t v) { return std::clamp(v, 0, PLAYFIELD_LAST); }

int32_t wall_value(Random& rnd) {
  int32_t r = rnd.below(10);
  return r < 6 ? CELL_STIX : (r < 9 ? CELL_BORDER : CELL_INNER_BORDER);
}

// Walls on even rows and columns, as cuts in play lay them.
void walls_even(Random& rnd) {
  int32_t segments = 20 + rnd.below(200);
  for (int32_t i = 0; i < segments; ++i) {
    int32_t along = rnd.below(469), length = 2 + rnd.below(200), line = even_interior(rnd), value = wall_value(rnd);
    if (rnd.chance(50))
      cells_line(clamp_grid(along), line, clamp_grid(along + length), line, value);
    else
      cells_line(line, clamp_grid(along), line, clamp_grid(along + length), value);
  }
}

// Stix left behind by abandoned cuts, lines one cell apart on rows or columns of any parity.
void stix_packed(Random& rnd) {
  int32_t blocks = 1 + rnd.below(6);
  for (int32_t b = 0; b < blocks; ++b) {
    int32_t left = interior(rnd), top = interior(rnd);
    int32_t right = std::min(left + 4 + rnd.below(150), 467), bottom = std::min(top + 4 + rnd.below(150), 467);
    bool rows = rnd.chance(50);
    int32_t gap_percent = rnd.below(8);
    for (int32_t line = rows ? top : left; line <= (rows ? bottom : right); line += 2)
      for (int32_t along = rows ? left : top; along <= (rows ? right : bottom); ++along)
        if (!rnd.chance(gap_percent)) playfield_cell(rows ? along : line, rows ? line : along) = CELL_STIX;
  }
}

// Full-height walls on every even column with a few gaps: a winding region of very many spans.
void comb(Random& rnd) {
  for (int32_t x = 2; x <= 466; x += 2) {
    cells_line(x, 1, x, 467, rnd.chance(70) ? CELL_STIX : CELL_BORDER);
    int32_t gaps = rnd.chance(60) ? 1 : 1 + rnd.below(4);
    for (int32_t g = 0; g < gaps; ++g) {
      int32_t y = (x / 2) % 2 ? 1 + rnd.below(3) : 465 + rnd.below(3);
      if (g > 0) y = interior(rnd);
      playfield_cell(x, y) = CELL_OPEN;
    }
  }
}

void field_random(Random& rnd, int32_t kind) {
  playfield_reset();
  if (kind == 0) walls_even(rnd);
  if (kind == 1) {
    walls_even(rnd);
    stix_packed(rnd);
  }
  if (kind == 2) comb(rnd);
  // Loose stix cells anywhere inside, and now and then a claimed patch.
  int32_t per_mille = std::array<int32_t, 4>{0, 5, 30, 100}[rnd.below(4)];
  for (int32_t i = 0; i < 467 * 467 * per_mille / 1000; ++i) playfield_cell(interior(rnd), interior(rnd)) = CELL_STIX;
  if (rnd.chance(20)) {
    int32_t left = interior(rnd), top = interior(rnd);
    for (int32_t y = top; y <= std::min(top + rnd.below(40), 467); ++y)
      for (int32_t x = left; x <= std::min(left + rnd.below(40), 467); ++x) playfield_cell(x, y) = CELL_CLAIMED;
  }
  // Random trail points, half of them on open ground.
  game_level = 1 + rnd.below(5);
  for (Qix& q : qix_slots)
    for (int32_t k = 0; k < QIX_TRAIL_LENGTH; ++k) {
      int32_t x = rnd.below(469), y = rnd.below(469);
      for (int32_t tries = 0; rnd.chance(50) && tries < 100 && playfield_cell(x, y) != CELL_OPEN; ++tries)
        x = rnd.below(469), y = rnd.below(469);
      q.x1[k] = x;
      q.y1[k] = y;
    }
}

// Grid and counters, kept in static storage: the comparisons copy whole grids very often.
struct Snapshot {
  int32_t cells[PLAYFIELD_CELLS];
  int32_t score, claimed;
};
Snapshot start, mine;

void snapshot_take(Snapshot& s) {
  std::memcpy(s.cells, playfield.cells, sizeof s.cells);
  s.score = game_score, s.claimed = claimed_cells;
}
void snapshot_put(const Snapshot& s) {
  std::memcpy(playfield.cells, s.cells, sizeof s.cells);
  game_score = s.score, claimed_cells = s.claimed;
}
bool snapshot_same(const Snapshot& s) {
  return std::memcmp(s.cells, playfield.cells, sizeof s.cells) == 0 && s.score == game_score &&
         s.claimed == claimed_cells;
}

struct Tally {
  int32_t claims = 0, claim_mismatches = 0;
  int32_t probes = 0, probe_mismatches = 0, probes_stopped_midway = 0, probes_clear = 0;
  int32_t order_checks = 0, order_sensitive = 0;
  int64_t most_spans = 0;
};

void probe_compare(Random& rnd, Tally& t) {
  int32_t x = interior(rnd), y = interior(rnd);
  for (int32_t tries = 0; tries < 200 && playfield_cell(x, y) != CELL_OPEN; ++tries) x = interior(rnd), y = interior(rnd);
  if (playfield_cell(x, y) != CELL_OPEN) return;
  snapshot_take(start);
  int32_t mine_result = playfield_probe_fill(x, y, CELL_PROBE_MARK);
  snapshot_take(mine);
  snapshot_put(start);
  int32_t reference_result = reference_probe_fill(x, y, CELL_PROBE_MARK);
  ++t.probes;
  if (mine_result != reference_result || !snapshot_same(mine)) ++t.probe_mismatches;
  if (mine_result == 0 && cells_count(CELL_PROBE_MARK) > 0) ++t.probes_stopped_midway;
  if (mine_result == 1) ++t.probes_clear;
  snapshot_put(start);
}

bool seeds_open(int32_t x, int32_t y, int32_t direction) {
  int32_t side = direction == DIR_RIGHT ? -1 : 1;
  int32_t ax = x + side, ay = direction == DIR_DOWN ? y - 1 : y + 1;
  int32_t bx = (direction == DIR_UP || direction == DIR_DOWN) ? x - 1 : x + side;
  int32_t by = (direction == DIR_UP || direction == DIR_DOWN) ? ay : y - 1;
  return playfield_cell(ax, ay) == CELL_OPEN && playfield_cell(bx, by) == CELL_OPEN;
}

void claim_compare(Random& rnd, Tally& t) {
  int32_t x = 0, y = 0, direction = 0;
  for (int32_t tries = 0; tries < 200; ++tries) {
    x = even_interior(rnd), y = even_interior(rnd), direction = 1 + rnd.below(4);
    if (seeds_open(x, y, direction)) break;
    direction = 0;
  }
  if (direction == 0) return;
  int32_t mode = rnd.below(3);
  snapshot_take(start);
  playfield_claim(x, y, direction, mode);
  snapshot_take(mine);

  // Now and then the order is swapped, to show that these fields do depend on it.
  if (t.claims % 3 == 0) {
    snapshot_put(start);
    reference_claim(x, y, direction, mode, true);
    ++t.order_checks;
    if (!snapshot_same(mine)) ++t.order_sensitive;
  }

  snapshot_put(start);
  reference_claim_spans = 0;
  reference_claim(x, y, direction, mode);
  ++t.claims;
  t.most_spans = std::max(t.most_spans, reference_claim_spans);
  if (!snapshot_same(mine) && t.claim_mismatches++ == 0)
    ADD_FAILURE() << "first mismatch: claim at (" << x << ", " << y << ") direction " << direction << " mode " << mode
                  << ": cells " << mine.claimed - start.claimed << " vs " << claimed_cells - start.claimed;
}

void fields_compare(void* out) {
  Tally& t = *static_cast<Tally*>(out);
  Random rnd{std::mt19937(20240611)};
  for (int32_t field = 0; field < FIELDS; ++field) {
    field_random(rnd, field % 3);
    game_score = 0, claimed_cells = 0;
    probe_compare(rnd, t);
    for (int32_t claim = 0; claim < 3; ++claim) claim_compare(rnd, t);
  }
}

}  // namespace

TEST(ClaimEquivalence, StackFillsMatchRecursionOnRandomFields) {
  level_fresh();
  Tally t;
  ASSERT_TRUE(run_with_big_stack(fields_compare, &t));
  EXPECT_EQ(t.claim_mismatches, 0) << "of " << t.claims << " claims";
  EXPECT_EQ(t.probe_mismatches, 0) << "of " << t.probes << " probes";
  // The fields must really exercise what the order decides and what the stack must hold.
  EXPECT_GE(t.claims, FIELDS);
  EXPECT_GT(t.order_sensitive, t.order_checks / 10) << "claims whose result depends on the visiting order";
  EXPECT_GT(t.probes_stopped_midway, 0);
  EXPECT_GT(t.probes_clear, 0);
  EXPECT_GT(t.most_spans, 50000) << "longest chain of spans in one claim";
  std::printf("fields %d, claims %d (order-sensitive %d of %d), probes %d (stopped midway %d), most spans %lld\n",
              FIELDS, t.claims, t.order_sensitive, t.order_checks, t.probes, t.probes_stopped_midway,
              static_cast<long long>(t.most_spans));
}
