// The Sparx: their run and turns along the borders, the hit on the player, and the minute clock
// that adds two more and changes their speed.
#include "enemies_support.h"

namespace {

class SparxTest : public EnemiesTest {
 protected:
  void SetUp() override {
    EnemiesTest::SetUp();
    sparx_reset();
    time_base = game_now();
  }
  static void place(int32_t i, int32_t x, int32_t y, int32_t direction, int32_t speed = 0) {
    sparx[i].x = x, sparx[i].y = y;
    sparx[i].direction = direction, sparx[i].state = speed;
  }
  static At at(int32_t i) { return {sparx[i].x, sparx[i].y, sparx[i].direction}; }
};

// A turn made on a horizontal run moves on in the same step, one made on a vertical run does not;
// a border beats an inner border in every direction, and inner borders carry a Sparx alone.
TEST_F(SparxTest, TurnsAtCornersAndPrefersBordersToInnerBorders) {
  paint(201, 0, 300, 0, CELL_INNER_BORDER);
  paint(200, 1, 200, 100, CELL_BORDER);
  paint(200, 101, 200, 200, CELL_INNER_BORDER);
  paint(201, 100, 260, 100, CELL_BORDER);
  const struct { At from, to; } steps[] = {
      {{468, 0, DIR_RIGHT}, {468, 2, DIR_DOWN}},   {{0, 468, DIR_LEFT}, {0, 466, DIR_UP}},
      {{468, 468, DIR_DOWN}, {468, 468, DIR_LEFT}}, {{0, 0, DIR_UP}, {0, 0, DIR_RIGHT}},
      {{466, 0, DIR_RIGHT}, {468, 0, DIR_RIGHT}},  {{200, 0, DIR_RIGHT}, {200, 2, DIR_DOWN}},
      {{200, 100, DIR_DOWN}, {200, 100, DIR_RIGHT}}, {{200, 102, DIR_DOWN}, {200, 104, DIR_DOWN}},
      {{240, 0, DIR_LEFT}, {238, 0, DIR_LEFT}},
  };
  for (const auto& s : steps) {
    place(0, s.from[0], s.from[1], s.from[2]);
    sparx_step(0);
    EXPECT_EQ(at(0), s.to) << s.from[0] << "," << s.from[1];
  }
}

TEST_F(SparxTest, HitsOnlyThroughABorderCellBetweenWhilePlaying) {
  auto hit_from_start = [](int32_t px, int32_t py, int32_t phase) {
    game_phase = phase;
    player_x = px, player_y = py;
    place(0, 314, 0, DIR_LEFT);
    sparx_step(0);  // to (312, 0)
    return game_phase == PHASE_LIFE_LOST;
  };
  EXPECT_TRUE(hit_from_start(310, 0, PHASE_PLAYING));
  EXPECT_FALSE(hit_from_start(310, 0, PHASE_PAUSED));
  EXPECT_FALSE(hit_from_start(310, 2, PHASE_PLAYING));  // diagonal: the cell between is open
  playfield_cell(312, 1) = playfield_cell(312, 2) = CELL_STIX;
  EXPECT_FALSE(hit_from_start(312, 2, PHASE_PLAYING));  // on a stix begun at (312, 0)
  // A stuck Sparx makes no test, even with a border between it and the player behind it.
  paint(190, 90, 210, 110, CELL_CLAIMED);
  playfield_cell(199, 100) = CELL_BORDER;
  player_x = 198, player_y = 100;
  place(0, 200, 100, DIR_RIGHT);
  EXPECT_EQ(sparx_step(0), 0);
  EXPECT_EQ(at(0), (At{200, 100, DIR_RIGHT}));
  EXPECT_EQ(game_phase, PHASE_PLAYING);
}

TEST_F(SparxTest, SpeedGivesExtraStepsEachWithItsOwnHitTest) {
  place(0, 300, 0, DIR_LEFT, 1);
  place(1, 300, 0, DIR_RIGHT, 2);
  sparx_move_all();
  EXPECT_EQ(sparx[0].x, 296);
  EXPECT_EQ(sparx[1].x, 306);
  player_x = 326, player_y = 0;  // within reach after the first of three steps only
  place(0, 326, 0, DIR_LEFT, 2);
  sparx_move_all();
  EXPECT_EQ(sparx[0].x, 320);
  EXPECT_EQ(game_phase, PHASE_LIFE_LOST);
}

// Two of four start on one cell running apart; after the first minute the other two join from
// there, and every later minute switches all four between speeds 1 and 2.
TEST_F(SparxTest, MinuteClockAddsTwoSparxThenRunsTheSpeedsOneTwoOneTwo) {
  sparx_move_all();
  EXPECT_EQ(at(0), (At{312, 0, DIR_LEFT}));
  EXPECT_EQ(at(1), (At{316, 0, DIR_RIGHT}));
  EXPECT_EQ(at(2), (At{314, 0, DIR_LEFT}));  // inactive slots stand still
  for (int32_t s = 1; s <= 61; ++s) {
    game_set_now(game_now() + 1);
    sparx_timer_update();
    EXPECT_EQ(time_left, 60 - s);
    EXPECT_EQ(sparx_count, s <= 60 ? 2 : 4);
  }
  EXPECT_EQ(time_base, game_now());
  EXPECT_EQ(plays_of("newsparx.wav"), 1);
  sparx_move_all();
  EXPECT_EQ(at(2), (At{312, 0, DIR_LEFT}));
  EXPECT_EQ(at(3), (At{316, 0, DIR_RIGHT}));
  for (int32_t speed : {1, 2, 1, 2}) {
    game_set_now(game_now() + 61);
    sparx_timer_update();
    for (const Sparx& s : sparx) EXPECT_EQ(s.state, speed);
  }
  EXPECT_EQ(plays_of("newsparx.wav"), 5);
  // Outside play time runs on, but nothing happens until play resumes.
  game_phase = PHASE_PAUSED;
  game_set_now(game_now() + 62);
  sparx_timer_update();
  EXPECT_EQ(time_left, -2);
  EXPECT_EQ(sparx[0].state, 2);
  game_phase = PHASE_PLAYING;
  sparx_timer_update();
  EXPECT_EQ(sparx[0].state, 1);
}

}  // namespace
