// The QIX: what its scan sees, where it is placed, how it moves and bounces, when it kills,
// when it counts as captured, and how it is drawn.
#include <array>
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
    for (int32_t k = 0; k < QIX_TRAIL_LENGTH; ++k) {
      s.x1[k] = l[0];
      s.y1[k] = l[1];
      s.x2[k] = l[2];
      s.y2[k] = l[3];
    }
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
  EXPECT_EQ(grid_line_scan(100, 100, 150, 100), CELL_BORDER);
  EXPECT_EQ(grid_line_scan(150, 100, 100, 100), 0);  // the second endpoint is not examined
  EXPECT_EQ(grid_line_scan(100, 150, 100, 100), 0);
  playfield_cell(120, 100) = CELL_CLAIMED;
  EXPECT_EQ(grid_line_scan(150, 100, 100, 100), CELL_CLAIMED);
  // A vertical line stays in its column.
  playfield_cell(201, 150) = CELL_STIX;
  EXPECT_EQ(grid_line_scan(200, 100, 200, 300), 0);
  playfield_cell(200, 150) = CELL_STIX;
  EXPECT_EQ(grid_line_scan(200, 300, 200, 100), CELL_STIX);
  // Slope 1.8 is still stepped along x: x = 302 reads row 103, row 102 is skipped.
  playfield_cell(302, 102) = CELL_BORDER;
  EXPECT_EQ(grid_line_scan(300, 100, 310, 118), 0);
  playfield_cell(302, 103) = CELL_BORDER;
  EXPECT_EQ(grid_line_scan(300, 100, 310, 118), CELL_BORDER);
  // Slope 10 is stepped along y: row 270 reads column 307.
  playfield_cell(307, 270) = CELL_INNER_BORDER;
  EXPECT_EQ(grid_line_scan(300, 200, 310, 300), CELL_INNER_BORDER);
  // A line with an end on the outer rows or columns sees nothing.
  paint(0, 1, 468, 467, CELL_CLAIMED);
  EXPECT_EQ(grid_line_scan(1, 1, 467, 467), CELL_CLAIMED);
  EXPECT_EQ(grid_line_scan(0, 100, 200, 100), 0);
  EXPECT_EQ(grid_line_scan(200, 300, 200, 468), 0);
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
  put(0, {100, 100, 140, 110}, {3, 1, 3, -1});
  paint(142, 1, 142, 467, CELL_CLAIMED);  // the candidate reaches column 142, the line does not
  qix_move(1);
  EXPECT_EQ(line(0), (Line{100, 100, 140, 110}));
  EXPECT_EQ(speeds(0), (Speeds{-3, -1, -3, 1}));
  qix_slots[0].adjust_count = 0;
  qix_move(1);
  EXPECT_EQ(line(0), (Line{97, 99, 137, 111}));
  EXPECT_EQ(line(0, 1), line(0));
  EXPECT_EQ(line(0, 2), (Line{100, 100, 140, 110}));
  // Beyond column 468 the scan sees nothing: the move is allowed and only x2 bounces; x1 may
  // rest on the outer column.
  put(0, {464, 200, 466, 240}, {4, 2, 5, -3});
  qix_move(1);
  EXPECT_EQ(line(0), (Line{468, 202, 466, 237}));
  EXPECT_EQ(speeds(0), (Speeds{4, 2, -5, -3}));
  put(0, {20, 3, 60, 2}, {-1, -4, 0, -3});
  qix_move(1);
  EXPECT_EQ(line(0), (Line{19, 3, 60, 2}));
  EXPECT_EQ(speeds(0), (Speeds{-1, 4, 0, 3}));
}

TEST_F(QixTest, LongCandidatesAreRedrawnUntilWithinTheLimit) {
  put(0, {100, 200, 200, 200}, {0, 0, 1, 0});  // the first candidate is 101 long
  random_seed(5);
  qix_move(1);
  EXPECT_LE(std::hypot(qix_slots[0].x2[0] - qix_slots[0].x1[0], qix_slots[0].y2[0] - qix_slots[0].y1[0]), 100.0);
  EXPECT_NE(random_state, 5u);
}

TEST_F(QixTest, ChaseThatCannotShortenAnOverlongLineStillEnds) {
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

TEST_F(QixTest, ModeIsDrawnOnLevelTwoAndFromFourOnAndSlotOneMovesFromThree) {
  const int32_t mode_draws[] = {0, 0, 1, 0, 1, 1};
  for (int32_t level = 1; level <= 5; ++level) {
    put(0, {100, 100, 140, 110}, {1, 0, 1, 0});
    put(1, {300, 300, 320, 290}, {1, 0, 1, 0});
    random_seed(99);
    ReferenceRandom ref{99};
    for (int32_t i = 0; i < mode_draws[level]; ++i) ref.next();
    qix_move(level);
    EXPECT_EQ(random_state, ref.state) << "level " << level;
    EXPECT_EQ(qix_slots[1].x1[0], level > 2 ? 301 : 300) << "level " << level;
  }
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
    EXPECT_TRUE(v[0] == 0 || v[0] == -1) << seed;
    EXPECT_TRUE(v[2] == 0 || v[2] == 1) << seed;
    EXPECT_TRUE(v[3] == 0 || v[3] == -1) << seed;
    EXPECT_TRUE(player_drawing ? v[1] == 5 : v[1] >= 6) << seed;  // drawing caps the speed at 5
    x1_pulled += v[0] == -1;
  }
  EXPECT_GT(chases, 20);
  EXPECT_GT(x1_pulled, 0);
}

TEST_F(QixTest, CaptureFlagFollowsTheFirstEndpointOfActiveQixesUntilCleared) {
  playfield_cell(100, 100) = CELL_CLAIMED;
  qix_move(1);
  EXPECT_EQ(qix_captured, 1);
  playfield_cell(100, 100) = CELL_OPEN;
  qix_move(1);
  EXPECT_EQ(qix_captured, 1);  // only the game clears it
  qix_captured = 0;
  playfield_cell(100, 100) = CELL_BORDER;
  qix_move(1);
  EXPECT_EQ(qix_captured, 0);
  playfield_cell(100, 100) = CELL_OPEN;
  playfield_cell(300, 300) = CELL_CLAIMED;
  qix_move(2);
  EXPECT_EQ(qix_captured, 0);
  qix_move(3);
  EXPECT_EQ(qix_captured, 1);
}

TEST_F(QixTest, CandidateMeetingTheStixFirstMovesAndCostsALifeOnlyInPlay) {
  paint(120, 1, 120, 467, CELL_STIX);
  paint(130, 1, 130, 467, CELL_BORDER);  // beyond the stix on the same line
  for (int32_t phase : {PHASE_PAUSED, PHASE_LIFE_LOST, PHASE_PLAYING}) {
    game_phase = phase;
    fuse.sprite.state = 1;
    put(0, {100, 100, 140, 110}, {0, 2, 0, 2});
    qix_move(1);
    EXPECT_EQ(qix_slots[0].y1[0], 102);
    EXPECT_EQ(game_phase, phase == PHASE_PLAYING ? PHASE_LIFE_LOST : phase);
    EXPECT_EQ(fuse.sprite.state, phase == PHASE_PLAYING ? 0 : 1);
    EXPECT_EQ(plays_of("stixhit.wav"), phase == PHASE_PLAYING ? 1 : 0);
  }
}

TEST_F(QixTest, TrailLinesKillUntilOneMeetsSomethingElseFirst) {
  // Entry k on row 100 + 3k; after the shift old entry k is trail line k + 1.
  auto lay_trail = [] {
    put(0, {100, 100, 140, 100});
    for (int32_t k = 0; k < QIX_TRAIL_LENGTH; ++k) qix_slots[0].y1[k] = qix_slots[0].y2[k] = 100 + 3 * k;
  };
  auto hit_with = [&](int32_t stix_entry, int32_t border_entry) {
    playfield_reset();
    game_phase = PHASE_PLAYING;
    lay_trail();
    playfield_cell(120, 100 + 3 * stix_entry) = CELL_STIX;
    if (border_entry >= 0) playfield_cell(120, 100 + 3 * border_entry) = CELL_BORDER;
    qix_move(1);
    return game_phase == PHASE_LIFE_LOST;
  };
  EXPECT_TRUE(hit_with(6, -1));   // an odd trail line, never drawn, still kills
  EXPECT_TRUE(hit_with(18, -1));  // the last line scanned
  EXPECT_FALSE(hit_with(19, -1)); // dropped by the shift
  EXPECT_FALSE(hit_with(6, 3));   // a border on an earlier line ends the test
  EXPECT_TRUE(hit_with(6, 12));
  // A current line blocked by a border skips the trail test.
  playfield_reset();
  game_phase = PHASE_PLAYING;
  lay_trail();
  qix_slots[0].vy1 = qix_slots[0].vy2 = -1;
  paint(100, 99, 140, 99, CELL_BORDER);
  playfield_cell(120, 118) = CELL_STIX;
  qix_move(1);
  EXPECT_EQ(game_phase, PHASE_PLAYING);
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
