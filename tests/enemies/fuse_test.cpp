// The Fuse: its burn along the stix, its bends, getting stuck, its hit and its sizzle.
#include "enemies_support.h"

namespace {

// A stix up from (200, 468) to (200, 400), right to (260, 400), up to (260, 300).
class FuseTest : public EnemiesTest {
 protected:
  void SetUp() override {
    EnemiesTest::SetUp();
    paint(200, 400, 200, 467, CELL_STIX);
    paint(200, 400, 260, 400, CELL_STIX);
    paint(260, 300, 260, 400, CELL_STIX);
  }
  static void light(int32_t x, int32_t y, int32_t direction) {
    fuse.x = x, fuse.y = y;
    fuse.direction = direction, fuse.state = 1, fuse.counter_b = 0;
  }
  static At after_moves(int32_t n) {
    for (int32_t i = 0; i < n; ++i) fuse_move();
    return {fuse.x, fuse.y, fuse.direction};
  }
};

// Running right or left it takes a bend and moves on at once; running up or down it only turns.
TEST_F(FuseTest, BurnsAlongTheStixAndTakesItsBends) {
  light(200, 468, DIR_UP);
  EXPECT_EQ(after_moves(34), (At{200, 400, DIR_UP}));
  EXPECT_EQ(after_moves(1), (At{200, 400, DIR_RIGHT}));
  EXPECT_EQ(after_moves(30), (At{260, 400, DIR_RIGHT}));
  EXPECT_EQ(after_moves(1), (At{260, 398, DIR_UP}));
  paint(100, 200, 100, 240, CELL_STIX);
  paint(60, 240, 100, 240, CELL_STIX);
  paint(60, 240, 60, 280, CELL_STIX);
  light(100, 240, DIR_DOWN);
  EXPECT_EQ(after_moves(1), (At{100, 240, DIR_LEFT}));
  EXPECT_EQ(after_moves(20), (At{60, 240, DIR_LEFT}));
  EXPECT_EQ(after_moves(1), (At{60, 242, DIR_DOWN}));
  fuse.state = 0;
  EXPECT_EQ(after_moves(1), (At{60, 242, DIR_DOWN}));  // out: nothing moves
}

TEST_F(FuseTest, StuckFuseStaysLitSilentAndHarmless) {
  player_x = 260, player_y = 302;  // behind it, through a stix cell: a hit if it were tested
  light(260, 300, DIR_UP);
  EXPECT_EQ(after_moves(1), (At{260, 300, DIR_UP}));
  EXPECT_EQ(fuse.state, 1);
  EXPECT_EQ(game_phase, PHASE_PLAYING);
  EXPECT_EQ(plays_of("fusehit.wav"), 0);
}

TEST_F(FuseTest, ReachesTheMarkerOnlyThroughAStixCellAndOnlyInPlay) {
  player_x = 260, player_y = 300;
  light(260, 306, DIR_UP);
  fuse_move();
  EXPECT_EQ(game_phase, PHASE_PLAYING);  // four cells away
  fuse_move();
  EXPECT_EQ(game_phase, PHASE_LIFE_LOST);
  EXPECT_EQ(fuse.state, 0);
  EXPECT_EQ(plays_of("fusehit.wav"), 1);  // the second frame's countdown had not run out
  for (int32_t phase : {PHASE_PAUSED, PHASE_PLAYING}) {
    game_phase = phase;
    player_x = phase == PHASE_PLAYING ? 262 : 260;  // in play: diagonal, the cell between is open
    light(260, 304, DIR_UP);
    fuse_move();
    EXPECT_EQ(fuse.state, 1);
    EXPECT_EQ(game_phase, phase);
  }
}

// Lit at the stix start, the Fuse takes the first stix neighbour in the order right, left,
// below, above. Every set of neighbours is tried, so any other order fails one of them; with
// none (or only cells beyond the outer border) the direction stays as it was.
TEST_F(FuseTest, LightingTakesTheFirstStixNeighbourRightLeftBelowAbove) {
  const struct { int32_t dx, dy, direction; } order[] = {{1, 0, DIR_RIGHT}, {-1, 0, DIR_LEFT}, {0, 1, DIR_DOWN},
                                                        {0, -1, DIR_UP}};
  constexpr int32_t KEPT = 9;  // none of the four
  const At starts[] = {{100, 100, 0}, {468, 100, 0}, {100, 0, 0}};
  for (const At& start : starts)
    for (int32_t set = 0; set < 16; ++set) {
      SCOPED_TRACE(testing::Message() << "start " << start[0] << "," << start[1] << " neighbours " << set);
      int32_t want = KEPT;
      for (int32_t i = 0; i < 4; ++i) {
        const int32_t x = start[0] + order[i].dx, y = start[1] + order[i].dy;
        const bool inside = x >= 0 && x <= PLAYFIELD_LAST && y >= 0 && y <= PLAYFIELD_LAST;
        if (inside) playfield_cell(x, y) = (set >> i & 1) ? CELL_STIX : CELL_OPEN;
        if (inside && (set >> i & 1) && want == KEPT) want = order[i].direction;
      }
      stix_start_x = start[0], stix_start_y = start[1];
      player_drawing = 1;
      fuse.state = 0, fuse.counter_a = 1, fuse.direction = KEPT;
      fuse_after_player_step(0);
      EXPECT_EQ((At{fuse.x, fuse.y, fuse.direction}), (At{start[0], start[1], want}));
      EXPECT_EQ(fuse.state, 1);
    }
}

TEST_F(FuseTest, SizzlesOnTheFirstStepAndThenEveryTwentyOneFrames) {
  paint(20, 100, 20, 450, CELL_STIX);
  light(20, 450, DIR_UP);
  std::vector<int32_t> sizzles;
  for (int32_t frame = 1; frame <= 64; ++frame) {
    const int32_t before = plays_of("fusehit.wav");
    fuse_move();
    if (plays_of("fusehit.wav") > before) sizzles.push_back(frame);
  }
  EXPECT_EQ(sizzles, (std::vector<int32_t>{1, 22, 43, 64}));
}

}  // namespace
