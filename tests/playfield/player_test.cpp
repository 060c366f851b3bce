// The marker's steps driven through the fake keyboard, the stix it lays, and the Fuse's lighting.
#include <gtest/gtest.h>

#include <initializer_list>

#include "playfield_fixture.h"

namespace {

void keys_hold(std::initializer_list<int32_t> keys) {
  fake_release_all_keys();
  for (int32_t vk : keys) fake_set_key(vk, true);
}

void steps(int32_t count, int32_t mode) {
  for (int32_t i = 0; i < count; ++i) player_step(mode);
}

// Ctrl and an arrow from a border cell: one step into open ground.
void stix_begin(int32_t x, int32_t y, int32_t arrow) {
  player_x = x;
  player_y = y;
  keys_hold({arrow});
  player_step(1);
  fake_release_all_keys();
}

}  // namespace

TEST(Player, CtrlAndUpAtTheStartBeginsAStix) {
  level_fresh();
  keys_hold({VK_UP});
  player_step(1);
  EXPECT_EQ(player_x, 320);
  EXPECT_EQ(player_y, 466);
  EXPECT_EQ(player_drawing, 1);
  EXPECT_EQ(stix_speed, 1);
  EXPECT_EQ(stix_start_x, 320);
  EXPECT_EQ(stix_start_y, 468);
  EXPECT_EQ(playfield_cell(320, 467), CELL_STIX);
  EXPECT_EQ(playfield_cell(320, 466), CELL_STIX);
  EXPECT_EQ(playfield_cell(320, 468), CELL_BORDER);
  player_step(1);
  EXPECT_EQ(player_y, 464);
  EXPECT_EQ(cells_count(CELL_STIX), 4);
}

TEST(Player, WithoutADrawKeyTheMarkerStaysOnTheBorder) {
  level_fresh();
  keys_hold({VK_UP});
  player_step(0);
  EXPECT_EQ(player_y, 468);
  keys_hold({VK_LEFT});
  player_step(0);
  EXPECT_EQ(player_x, 318);
  EXPECT_EQ(player_direction, DIR_LEFT);
  player_x = 2;
  steps(2, 0);
  EXPECT_EQ(player_x, 0);
  EXPECT_EQ(player_y, 468);
  keys_hold({VK_RIGHT});
  player_step(0);
  EXPECT_EQ(player_x, 2);
  EXPECT_EQ(cells_count(CELL_STIX), 0);
  EXPECT_EQ(player_drawing, 0);
}

TEST(Player, TwoKeysSlideAlongBordersAndRoundCorners) {
  level_fresh();
  keys_hold({VK_UP, VK_LEFT});
  player_step(0);  // up leads into open ground: only the left part is taken
  EXPECT_EQ(player_x, 318);
  EXPECT_EQ(player_y, 468);
  player_x = 468;
  keys_hold({VK_UP, VK_RIGHT});
  player_step(0);  // right is cut off at the edge; the marker climbs the right border
  EXPECT_EQ(player_x, 468);
  EXPECT_EQ(player_y, 466);
  EXPECT_EQ(player_direction, DIR_RIGHT);
  // Beside a cut the step onto the new border is taken diagonally.
  cells_line(320, 1, 320, 467, CELL_BORDER);
  player_x = 318;
  player_y = 468;
  player_step(0);
  EXPECT_EQ(player_x, 320);
  EXPECT_EQ(player_y, 466);
}

TEST(Player, DrawingRefusesToTurnBackAndTakesTheNextKey) {
  level_fresh();
  keys_hold({VK_UP});
  steps(5, 1);
  ASSERT_EQ(player_y, 458);
  keys_hold({VK_DOWN});
  player_step(1);
  EXPECT_EQ(player_y, 458);
  EXPECT_EQ(player_direction, DIR_UP);
  keys_hold({VK_DOWN, VK_LEFT});
  player_step(1);
  EXPECT_EQ(player_x, 318);
  EXPECT_EQ(player_y, 458);
  EXPECT_EQ(player_direction, DIR_LEFT);
  EXPECT_EQ(playfield_cell(319, 458), CELL_STIX);
  keys_hold({VK_RIGHT, VK_UP});
  player_step(1);  // Up comes first in the order anyway
  EXPECT_EQ(player_x, 318);
  EXPECT_EQ(player_y, 456);
  keys_hold({VK_RIGHT});
  player_step(1);
  EXPECT_EQ(player_x, 320);
}

TEST(Player, StixCannotCrossItself) {
  level_fresh();
  keys_hold({VK_UP});
  steps(10, 1);  // up to row 448
  keys_hold({VK_LEFT});
  steps(2, 1);  // to (316, 448)
  keys_hold({VK_DOWN});
  steps(2, 1);  // to (316, 452)
  keys_hold({VK_RIGHT});
  steps(3, 1);  // (318, 452), then (320, 452) is stix
  EXPECT_EQ(player_x, 318);
  EXPECT_EQ(player_y, 452);
  EXPECT_EQ(player_drawing, 1);
}

TEST(Player, StixStopsInFrontOfAnInnerBorder) {
  level_fresh();
  cells_line(100, 400, 400, 400, CELL_INNER_BORDER);
  keys_hold({VK_UP});
  steps(40, 1);
  EXPECT_EQ(player_y, 402);
  EXPECT_EQ(player_drawing, 1);
  EXPECT_EQ(playfield_cell(320, 402), CELL_STIX);
  EXPECT_EQ(playfield_cell(320, 401), CELL_OPEN);
  EXPECT_EQ(playfield_cell(320, 400), CELL_INNER_BORDER);
  EXPECT_EQ(claimed_cells, 0);
}

TEST(Player, SpaceAtCompletionSkipsTheClaim) {
  level_fresh();
  keys_hold({VK_UP, VK_SPACE});
  steps(234, 1);
  EXPECT_EQ(player_y, 0);
  EXPECT_EQ(player_drawing, 0);
  EXPECT_EQ(stix_speed, 0);
  EXPECT_EQ(claimed_cells, 0);
  EXPECT_EQ(game_score, 0);
  EXPECT_EQ(cells_count(CELL_STIX), 467);
  EXPECT_EQ(cells_count(CELL_CLAIMED), 0);
  // The cells left behind block the marker like any stix.
  player_x = 318;
  player_y = 0;
  keys_hold({VK_DOWN});
  player_step(1);
  EXPECT_EQ(player_drawing, 1);
  keys_hold({VK_RIGHT});
  player_step(1);
  EXPECT_EQ(player_x, 318);
}

TEST(Player, CrossingAOneCellGapLeavesOneStixCellAndBeginsNoStix) {
  level_fresh();
  cells_line(300, 466, 340, 466, CELL_BORDER);
  keys_hold({VK_UP});
  player_step(1);
  EXPECT_EQ(player_y, 466);
  EXPECT_EQ(player_drawing, 0);
  EXPECT_EQ(stix_speed, 0);
  EXPECT_EQ(playfield_cell(320, 467), CELL_STIX);
  EXPECT_EQ(cells_count(CELL_STIX), 1);
  EXPECT_EQ(claimed_cells, 0);
}

TEST(Player, TheCompletingStepsModeChoosesThePoints) {
  struct Case {
    int32_t begin_mode, finish_mode, points;
  };
  for (Case c : {Case{2, 1, 6241}, Case{2, 2, 3120}, Case{1, 2, 3120}}) {
    SCOPED_TRACE(testing::Message() << c.begin_mode << " then " << c.finish_mode);
    level_fresh();
    keys_hold({VK_UP});
    player_step(c.begin_mode);
    EXPECT_EQ(stix_speed, c.begin_mode);
    steps(233, c.finish_mode);
    EXPECT_EQ(player_y, 0);
    EXPECT_EQ(player_drawing, 0);
    EXPECT_EQ(claimed_cells, 68649);
    EXPECT_EQ(game_score, c.points);
    EXPECT_EQ(playfield_cell(320, 1), CELL_BORDER);
  }
}

TEST(Fuse, LitOnTheTenthStillCallAndPutOutByMoving) {
  for (int32_t still_mode : {1, 0}) {  // with the draw key held, or released (the marker freezes)
    SCOPED_TRACE(still_mode);
    level_fresh();
    stix_begin(320, 468, VK_UP);
    ASSERT_EQ(player_drawing, 1);
    keys_hold({VK_LEFT});
    if (still_mode == 1) fake_release_all_keys();
    steps(9, still_mode);
    EXPECT_EQ(fuse.sprite.state, 0);
    EXPECT_EQ(fuse.sprite.counter_a, 1);
    fuse.sprite.counter_b = 7;
    player_step(still_mode);
    EXPECT_EQ(player_y, 466);
    EXPECT_EQ(fuse.sprite.state, 1);
    EXPECT_EQ(fuse.x, 320);
    EXPECT_EQ(fuse.y, 468);
    EXPECT_EQ(fuse.sprite.direction, DIR_UP);
    EXPECT_EQ(fuse.sprite.counter_a, FUSE_IGNITE_DELAY);
    EXPECT_EQ(fuse.sprite.counter_b, 0);
    steps(3, still_mode);  // burning: the delay is left alone
    EXPECT_EQ(fuse.sprite.counter_a, FUSE_IGNITE_DELAY);
    keys_hold({VK_UP});
    player_step(1);
    EXPECT_EQ(fuse.sprite.state, 0);
  }
}

TEST(Fuse, MovingDoesNotRestoreTheDelay) {
  level_fresh();
  stix_begin(320, 468, VK_UP);
  steps(4, 1);
  EXPECT_EQ(fuse.sprite.counter_a, 6);
  keys_hold({VK_UP});
  player_step(1);
  EXPECT_EQ(fuse.sprite.counter_a, 6);
  fake_release_all_keys();
  steps(5, 1);
  EXPECT_EQ(fuse.sprite.state, 0);
  player_step(1);
  EXPECT_EQ(fuse.sprite.state, 1);
  EXPECT_EQ(fuse.x, 320);
  EXPECT_EQ(fuse.y, 468);
}

TEST(Fuse, NotLitOnTheBorder) {
  level_fresh();
  steps(30, 1);
  EXPECT_EQ(fuse.sprite.state, 0);
  EXPECT_EQ(fuse.sprite.counter_a, FUSE_IGNITE_DELAY);
}

TEST(Fuse, BurnsIntoTheStixFromItsStart) {
  struct Case {
    int32_t x, y, arrow, direction;
  };
  const Case cases[] = {{320, 468, VK_UP, DIR_UP},
                        {0, 200, VK_RIGHT, DIR_RIGHT},
                        {468, 200, VK_LEFT, DIR_LEFT},
                        {200, 0, VK_DOWN, DIR_DOWN}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.direction);
    level_fresh();
    fuse.sprite.direction = 0;
    stix_begin(c.x, c.y, c.arrow);
    steps(10, 1);
    EXPECT_EQ(fuse.sprite.state, 1);
    EXPECT_EQ(fuse.x, c.x);
    EXPECT_EQ(fuse.y, c.y);
    EXPECT_EQ(fuse.sprite.direction, c.direction);
  }
}
