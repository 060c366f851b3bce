// The QIX: what its scan sees, where it is placed, how it moves and bounces, when it kills,
// when it counts as captured, and how it is drawn.
#include <cmath>

#include "enemies_support.h"

namespace {

using Line = std::array<int32_t, 4>;
using Speeds = std::array<int32_t, 4>;  // vx1, vy1, vx2, vy2

class QixTest : public EnemiesTest {
 protected:
  void SetUp() override {
    EnemiesTest::SetUp();
    put(0, {100, 100, 140, 110});
    put(1, {300, 300, 320, 290});
  }
  // Slot q still on one line, its whole trail on it, the velocity gate shut for the next pass.
  static void put(int32_t q, Line l, Speeds v = {0, 0, 0, 0}) {
    Qix& s = qix_slots[q];
    for (int32_t k = 0; k < QIX_TRAIL_LENGTH; ++k) s.x1[k] = l[0], s.y1[k] = l[1], s.x2[k] = l[2], s.y2[k] = l[3];
    s.vx1 = v[0], s.vy1 = v[1], s.vx2 = v[2], s.vy2 = v[3];
    s.adjust_count = 0;
  }
  static Line line(int32_t q, int32_t k = 0) {
    const Qix& s = qix_slots[q];
    return {s.x1[k], s.y1[k], s.x2[k], s.y2[k]};
  }
  static Speeds speeds(int32_t q) { return {qix_slots[q].vx1, qix_slots[q].vy1, qix_slots[q].vx2, qix_slots[q].vy2}; }
};

TEST_F(QixTest, ScanReportsTheFirstCellMetFromTheFirstEndpointOn) {
  playfield_cell(100, 100) = CELL_BORDER;
  playfield_cell(201, 150) = playfield_cell(200, 250) = CELL_STIX;
  playfield_cell(302, 102) = playfield_cell(302, 133) = CELL_BORDER;
  playfield_cell(307, 270) = CELL_INNER_BORDER;
  const struct { Line l; int32_t want; } cases[] = {
      {{100, 100, 150, 100}, CELL_BORDER},
      {{150, 100, 100, 100}, 0},  // the second endpoint is not examined
      {{200, 100, 200, 200}, 0},  // a vertical line stays in its column
      {{200, 300, 200, 220}, CELL_STIX},
      {{300, 100, 310, 118}, 0},  // slope 1.8 is stepped along x: x = 302 reads row 103, row 102 is skipped
      {{300, 130, 310, 148}, CELL_BORDER},
      {{300, 200, 310, 300}, CELL_INNER_BORDER},  // slope 10 is stepped along y: row 270 reads column 307
      {{0, 100, 200, 100}, 0},  // an end on the outer rows or columns: nothing is seen
      {{200, 220, 200, 468}, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(grid_line_scan(c.l[0], c.l[1], c.l[2], c.l[3]), c.want) << &c - cases;
}

TEST_F(QixTest, ResetTakesTheFirstDrawsAndRetriesWhileSlotZeroIsNotOnOpenGround) {
  ReferenceRandom ref{12345};
  std::array<int32_t, 4> first, second;
  for (int32_t& v : first) v = ref.below(370) + 50;
  for (int32_t& v : second) v = ref.below(370) + 50;
  random_seed(12345);
  qix_reset();
  EXPECT_EQ(line(0), (Line{first[0], first[1], first[0] + 40, first[1] + 10}));
  EXPECT_EQ(line(1), (Line{first[2], first[3], first[2] + 20, first[3] - 10}));
  for (int32_t q = 0; q < 2; ++q) {
    EXPECT_EQ(speeds(q), (Speeds{1, 0, 1, 0}));
    EXPECT_EQ(line(q, QIX_TRAIL_LENGTH - 1), line(q));
  }
  // Slot 0's first place claimed: four more draws. Slot 1's place is never tested.
  playfield_cell(first[0], first[1]) = CELL_CLAIMED;
  playfield_cell(second[2], second[3]) = CELL_CLAIMED;
  ASSERT_EQ(playfield_cell(second[0], second[1]), CELL_OPEN);
  random_seed(12345);
  qix_reset();
  EXPECT_EQ(line(0), (Line{second[0], second[1], second[0] + 40, second[1] + 10}));
  EXPECT_EQ(line(1), (Line{second[2], second[3], second[2] + 20, second[3] - 10}));
  EXPECT_EQ(random_state, ref.state);
}

TEST_F(QixTest, ResetEndsOnOpenGroundWhereDrawsCanHardlyOrNeverReachIt) {
  paint(1, 1, 467, 467, CELL_CLAIMED);
  playfield_cell(235, 236) = CELL_OPEN;  // the only open cell the draws can reach
  qix_reset();
  EXPECT_EQ(line(0), (Line{235, 236, 275, 246}));
  playfield_cell(235, 236) = CELL_CLAIMED;
  playfield_cell(30, 5) = CELL_OPEN;  // out of the draws' reach
  qix_reset();
  EXPECT_EQ(line(0), (Line{30, 5, 70, 15}));
}

TEST_F(QixTest, BouncesOffClaimedGroundAsAWholeAndOffEdgesPerCoordinate) {
  paint(142, 1, 142, 467, CELL_CLAIMED);  // the candidate reaches column 142, the line does not
  const struct { Line from; Speeds v; Line to; Speeds v_after; } moves[] = {
      {{100, 100, 140, 110}, {3, 1, 3, -1}, {100, 100, 140, 110}, {-3, -1, -3, 1}},
      {{100, 100, 140, 110}, {-3, -1, -3, 1}, {97, 99, 137, 111}, {-3, -1, -3, 1}},
      // Beyond column 468 the scan sees nothing: the move is allowed and only x2 bounces; x1 may
      // rest on the outer column.
      {{464, 200, 466, 240}, {4, 2, 5, -3}, {468, 202, 466, 237}, {4, 2, -5, -3}},
      {{20, 3, 60, 2}, {-1, -4, 0, -3}, {19, 3, 60, 2}, {-1, 4, 0, 3}},
  };
  for (const auto& m : moves) {
    put(0, m.from, m.v);
    qix_move(1);
    EXPECT_EQ(line(0), m.to);
    EXPECT_EQ(speeds(0), m.v_after);
    EXPECT_EQ(line(0, 1), m.to);  // the trail moves up one entry a frame
    EXPECT_EQ(line(0, 2), m.from);
  }
}

TEST_F(QixTest, LongCandidatesAreRedrawnAndAChaseThatCannotShortenThemStillEnds) {
  put(0, {100, 200, 200, 200}, {0, 0, 1, 0});  // the first candidate is 101 long
  random_seed(5);
  qix_move(1);
  EXPECT_LE(std::hypot(qix_slots[0].x2[0] - qix_slots[0].x1[0], qix_slots[0].y2[0] - qix_slots[0].y1[0]), 100.0);
  // A bounce may leave a line a little over the limit. A chase towards a target beyond both its
  // ends pushes all four velocities to the same maximum, so no adjustment shortens it: the
  // frame must still end, with the line moved as it stands.
  uint32_t seed = 1;
  while (ReferenceRandom{seed}.below(5) >= 2) ++seed;  // the mode draw chooses the chase
  player_drawing = 1;
  player_x = stix_start_x = 468;
  put(0, {100, 100, 205, 100}, {5, 5, 5, 5});
  qix_slots[0].adjust_count = 1;
  random_seed(seed);
  qix_move(2);
  EXPECT_EQ(line(0), (Line{105, 105, 210, 105}));
}

TEST_F(QixTest, ChaseSteersTowardsTheIntegerHalfOfPlayerAndStixStart) {
  // Target (100, 250): the sums are odd, and a target in fractions (100.5) would pull x1 the
  // other way. The stix start counts also while the player is not drawing.
  player_x = 2, stix_start_x = 199;
  player_y = 468, stix_start_y = 33;
  int32_t chases = 0, x1_pulled = 0;
  for (uint32_t seed = 1; seed < 300; ++seed) {
    player_drawing = seed % 2;
    ReferenceRandom ref{seed};
    const bool chase = player_drawing ? ref.below(5) < 2 : ref.below(10) >= 9;
    put(0, {100, 250, 98, 260}, {0, 7, 0, 0});  // x1 on the target, x2 left of it, y2 below it
    qix_slots[0].adjust_count = 1;
    random_seed(seed);
    qix_move(4);
    if (!chase) continue;
    ++chases;
    const Speeds v = speeds(0);
    EXPECT_TRUE((v[0] == 0 || v[0] == -1) && (v[2] == 0 || v[2] == 1) && (v[3] == 0 || v[3] == -1)) << seed;
    EXPECT_TRUE(player_drawing ? v[1] == 5 : v[1] >= 6) << seed;  // drawing caps the speed at 5
    x1_pulled += v[0] == -1;
  }
  EXPECT_GT(chases, 20);
  EXPECT_GT(x1_pulled, 0);
}

// The draws of one velocity adjustment, in the order the rules give them, from a known seed:
// the mode draw first (levels 2 and 4 on), then the wander's vx1, vy1, vx2, vy2 (a draw whether
// to change, one for the sign, one for the step) or the chase's vx1, vx2, vy1, vy2 (one draw
// each, its sign from where the target lies), then the clamp to the mode's speed. Any other
// order hands the same numbers to other velocities and shows within a few seeds.
TEST_F(QixTest, VelocityDrawsComeInTheirOrderInTheWanderAndInTheChase) {
  // Target (200, 200): x1 left of it and y2 above it are pulled up, x2 and y1 pulled down.
  player_x = 150, stix_start_x = 251;
  player_y = 300, stix_start_y = 101;
  const Line at = {180, 220, 220, 190};
  const Speeds start = {5, -5, 4, 0};
  const struct { int32_t level, drawing; } modes[] = {{1, 0}, {3, 0}, {4, 0}, {4, 1}, {2, 1}};
  int32_t chases = 0, wanders = 0;
  for (const auto& m : modes)
    for (uint32_t seed = 1; seed <= 120; ++seed) {
      SCOPED_TRACE(testing::Message() << "level " << m.level << " drawing " << m.drawing << " seed " << seed);
      ReferenceRandom ref{seed};
      bool chase = false;
      int32_t max = 7;
      if (m.level == 2 || m.level >= 4) {
        chase = m.drawing ? ref.below(5) < 2 : ref.below(10) >= 9;
        if (m.drawing) max = 5;
      }
      Speeds want = start;  // vx1, vy1, vx2, vy2
      if (chase) {
        const int32_t order[] = {0, 2, 1, 3};
        const bool pull_up[] = {true, false, false, true};  // by index: x1 < tx, y1 > ty, x2 > tx, y2 < ty
        for (int32_t i : order) want[i] += (pull_up[i] ? 1 : -1) * ref.below(2);
      } else {
        for (int32_t i = 0; i < 4; ++i)
          if (ref.below(2) != 0) want[i] += ref.below(2) != 0 ? ref.below(2) : -ref.below(2);
      }
      for (int32_t& v : want) v = std::clamp(v, -max, max);
      (chase ? chases : wanders) += 1;

      player_drawing = m.drawing;
      put(0, at, start);
      put(1, {300, 300, 320, 290});  // its gate stays shut: slot 1 draws nothing this frame
      qix_slots[0].adjust_count = 1;
      random_seed(seed);
      qix_move(m.level);
      EXPECT_EQ(speeds(0), want);
      EXPECT_EQ(random_state, ref.state);  // no draw more, none less
    }
  EXPECT_GT(chases, 40);
  EXPECT_GT(wanders, 300);
}

// One frame a row: the cells under the first ends of slots 0 and 1, the level, whether the game
// cleared the flag before it, and what the frame did. Slot 1 is in play from level 3 on.
TEST_F(QixTest, CaptureFlagModeDrawAndSlotOneFollowTheLevel) {
  const struct { int32_t under0, under1, level; bool cleared; int32_t captured; bool mode_drawn; } frames[] = {
      {CELL_CLAIMED, CELL_OPEN, 1, false, 1, false},
      {CELL_OPEN, CELL_OPEN, 1, false, 1, false},  // only the game clears the flag
      {CELL_BORDER, CELL_OPEN, 1, true, 0, false},
      {CELL_OPEN, CELL_CLAIMED, 2, true, 0, true},
      {CELL_OPEN, CELL_CLAIMED, 3, true, 1, false},
      {CELL_OPEN, CELL_OPEN, 4, true, 0, true},
      {CELL_OPEN, CELL_OPEN, 5, true, 0, true},
  };
  for (const auto& f : frames) {
    SCOPED_TRACE(&f - frames);
    put(0, {100, 100, 140, 110}, {1, 0, 1, 0});
    put(1, {300, 300, 320, 290}, {1, 0, 1, 0});
    playfield_cell(100, 100) = f.under0, playfield_cell(300, 300) = f.under1;
    if (f.cleared) qix_captured = 0;
    ReferenceRandom ref{99};
    if (f.mode_drawn) ref.next();
    random_seed(99);
    qix_move(f.level);  // the velocity gate is shut: the mode is the only draw
    EXPECT_EQ(qix_captured, f.captured);
    EXPECT_EQ(random_state, ref.state);
    EXPECT_EQ(qix_slots[1].x1[0], f.level > 2 ? 301 : 300);
  }
}

TEST_F(QixTest, StixOnTheCandidateOrOnATrailLineCostsALifeOnlyInPlay) {
  // The candidate meets the stix before a border further along: it still moves, and kills only in play.
  paint(120, 1, 120, 467, CELL_STIX);
  paint(130, 1, 130, 467, CELL_BORDER);
  for (int32_t phase : {PHASE_PAUSED, PHASE_LIFE_LOST, PHASE_PLAYING}) {
    game_phase = phase;
    fuse.state = 1;
    put(0, {100, 100, 140, 110}, {0, 2, 0, 2});
    qix_move(1);
    EXPECT_EQ(qix_slots[0].y1[0], 102);
    EXPECT_EQ(game_phase, phase == PHASE_PLAYING ? PHASE_LIFE_LOST : phase);
    EXPECT_EQ(fuse.state, phase == PHASE_PLAYING ? 0 : 1);
    EXPECT_EQ(plays_of("stixhit.wav"), phase == PHASE_PLAYING ? 1 : 0);
  }
  // Trail entry k lies on row 100 + 3k; after the shift old entry k is trail line k + 1. The
  // first trail line that meets anything decides; a current line blocked by a border skips them.
  auto hit_with = [&](int32_t stix_entry, int32_t border_row, int32_t vy = 0) {
    playfield_reset();
    game_phase = PHASE_PLAYING;
    put(0, {100, 100, 140, 100}, {0, vy, 0, vy});
    for (int32_t k = 0; k < QIX_TRAIL_LENGTH; ++k) qix_slots[0].y1[k] = qix_slots[0].y2[k] = 100 + 3 * k;
    playfield_cell(120, 100 + 3 * stix_entry) = CELL_STIX;
    if (border_row != 0) paint(100, border_row, 140, border_row, CELL_BORDER);
    qix_move(1);
    return game_phase == PHASE_LIFE_LOST;
  };
  EXPECT_TRUE(hit_with(6, 0));      // an odd trail line, never drawn, still kills
  EXPECT_TRUE(hit_with(18, 0));     // the last line scanned
  EXPECT_FALSE(hit_with(19, 0));    // dropped by the shift
  EXPECT_FALSE(hit_with(6, 109));   // a border on an earlier trail line ends the test
  EXPECT_TRUE(hit_with(6, 136));    // a border on a later one comes too late
  EXPECT_FALSE(hit_with(6, 99, -1));  // the candidate itself blocked by a border
}

TEST_F(QixTest, DrawsTheEvenTrailEntriesNewestFirstFadingFrom31) {
  std::vector<uint8_t> pixels(640 * 480, 0);
  for (int32_t k = 0; k < QIX_TRAIL_LENGTH; ++k) qix_slots[0].y1[k] = qix_slots[0].y2[k] = 100 + 2 * k;
  qix_draw(1, pixels.data());
  for (int32_t k = 0; k < QIX_TRAIL_LENGTH; ++k)
    EXPECT_EQ(pixels[(100 + 2 * k + 5) * 640 + 120 + 5], k % 2 == 0 ? 31 - k : 0) << "entry " << k;
  // Slot 1 only from level 3 on; its trail lies on one line, so the oldest colour ends on top.
  EXPECT_EQ(pixels[305 * 640 + 305], 0);
  qix_draw(3, pixels.data());
  EXPECT_EQ(pixels[305 * 640 + 305], 31 - 18);
}

}  // namespace
