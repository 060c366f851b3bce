// The marker's steps driven through the fake keyboard, the stix it lays, and the Fuse's lighting.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <utility>

#include "live_input.h"
#include "playfield_fixture.h"
#include "sound/sound.h"

namespace {

void keys_hold(std::initializer_list<int32_t> keys) {
  fake_release_all_keys();
  for (int32_t vk : keys) fake_set_key(vk, true);
}

void steps(int32_t count, int32_t mode, std::initializer_list<int32_t> keys) {
  keys_hold(keys);
  for (int32_t i = 0; i < count; ++i) player_step(mode, live_input());
}

Values marker() { return {player_x, player_y, player_drawing, stix_speed}; }
Values fuse_state() { return {fuse.state, fuse.x, fuse.y, fuse.direction, fuse.counter_a}; }

}  // namespace

TEST(Player, WithoutADrawKeyTheMarkerWalksTheBorderAndSlidesRoundCorners) {
  struct Case { int32_t x, y; std::initializer_list<int32_t> keys; int32_t to_x, to_y, direction; };
  const Case cases[] = {
      {320, 468, {VK_UP}, 320, 468, DIR_UP},  // never into open ground
      {320, 468, {VK_LEFT}, 318, 468, DIR_LEFT},
      {0, 468, {VK_LEFT}, 0, 468, DIR_LEFT},               // the grid's edge
      {152, 468, {VK_LEFT}, 152, 468, DIR_LEFT},           // an inner border
      {320, 468, {VK_UP, VK_LEFT}, 318, 468, DIR_LEFT},    // up leads into open ground: only left is taken
      {468, 468, {VK_UP, VK_RIGHT}, 468, 466, DIR_RIGHT},  // right is cut off at the edge: it climbs
      {320, 468, {VK_UP, VK_RIGHT}, 322, 466, DIR_RIGHT},  // onto the border of a cut, diagonally
  };
  level_fresh();
  cells_fill(100, 468, 150, 468, CELL_INNER_BORDER);
  cells_fill(322, 1, 322, 467, CELL_BORDER);
  for (const Case& c : cases) {
    player_x = c.x, player_y = c.y;
    steps(1, 0, c.keys);
    EXPECT_EQ((Values{player_x, player_y, player_direction}), (Values{c.to_x, c.to_y, c.direction})) << c.x;
  }
  EXPECT_EQ(cells_count(CELL_STIX) + player_drawing, 0);
}

TEST(Player, AStixKeepsItsBeginningSpeedAndTheCompletingStepChoosesThePoints) {
  struct Case { int32_t begin_mode, finish_mode, points; };
  for (Case c : {Case{1, 1, 6241}, Case{2, 1, 6241}, Case{2, 2, 3120}, Case{1, 2, 3120}}) {
    SCOPED_TRACE(testing::Message() << c.begin_mode << " then " << c.finish_mode);
    level_fresh();
    steps(1, c.begin_mode, {VK_UP});
    EXPECT_EQ(marker(), (Values{320, 466, 1, c.begin_mode}));
    EXPECT_EQ((Values{stix_start_x, stix_start_y, cells_count(CELL_STIX)}), (Values{320, 468, 2}));
    EXPECT_EQ(playfield_cell(320, 467), CELL_STIX);
    steps(233, c.finish_mode, {VK_UP});
    EXPECT_EQ(marker(), (Values{320, 0, 0, 0}));
    EXPECT_EQ((Values{claimed_cells, game_score}), (Values{68649, c.points}));
  }
}

TEST(Player, DrawingRefusesToTurnBackOrCrossItself) {
  level_fresh();
  steps(5, 1, {VK_UP});
  steps(1, 1, {VK_DOWN});
  EXPECT_EQ((Values{player_x, player_y, player_direction}), (Values{320, 458, DIR_UP}));
  steps(1, 1, {VK_DOWN, VK_LEFT});  // Down refused, Left taken
  EXPECT_EQ((Values{player_x, player_y, player_direction}), (Values{318, 458, DIR_LEFT}));
  EXPECT_EQ(playfield_cell(319, 458), CELL_STIX);
  steps(1, 1, {VK_RIGHT, VK_UP});  // Up comes first in the order anyway
  steps(1, 1, {VK_RIGHT});
  EXPECT_EQ(marker(), (Values{320, 456, 1, 1}));
  steps(1, 1, {VK_DOWN});  // onto the stix laid on the way up
  EXPECT_EQ(marker(), (Values{320, 456, 1, 1}));
}

TEST(Player, StixStopsInFrontOfAnInnerBorderAndACellGapBeginsNone) {
  level_fresh();
  cells_fill(100, 400, 400, 400, CELL_INNER_BORDER);
  steps(40, 1, {VK_UP});
  EXPECT_EQ(marker(), (Values{320, 402, 1, 1}));
  EXPECT_EQ(playfield_cell(320, 401), CELL_OPEN);
  // Between two borders one cell apart the step leaves a single stix cell and no stix under way.
  level_fresh();
  cells_fill(300, 466, 340, 466, CELL_BORDER);
  steps(1, 1, {VK_UP});
  EXPECT_EQ(marker(), (Values{320, 466, 0, 0}));
  EXPECT_EQ((Values{playfield_cell(320, 467), cells_count(CELL_STIX), claimed_cells}), (Values{CELL_STIX, 1, 0}));
}

TEST(Player, SpaceAtCompletionSkipsTheClaimAndItsBeep) {
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(ZORVANE_DATA_DIR);  // where beep_arcade.wav lies
  level_fresh();
  sound_init();
  steps(234, 1, {VK_UP, VK_SPACE});
  EXPECT_EQ(marker(), (Values{320, 0, 0, 0}));
  EXPECT_EQ(claimed_cells + game_score + cells_count(CELL_CLAIMED), 0);
  EXPECT_EQ(cells_count(CELL_STIX), 467);
  EXPECT_TRUE(fake_sound_labels().empty());
  player_x = 318;  // the cells left behind block the marker like any stix
  steps(1, 1, {VK_DOWN});
  steps(1, 1, {VK_RIGHT});
  EXPECT_EQ(player_x, 318);
  // Without Space the same stix is claimed, with one beep.
  playfield_erase_stix();
  player_x = 320, player_y = 468, player_drawing = 0;
  steps(234, 1, {VK_UP});
  EXPECT_EQ(claimed_cells, 68649);
  EXPECT_EQ(fake_sound_labels(), std::vector<std::string>{"beep_arcade.wav"});
  sound_shutdown();
  std::filesystem::current_path(previous);
}

TEST(Fuse, LitAtTheStixStartAfterTenStillCallsAndPutOutByMoving) {
  // Still with the draw key and a refused arrow held, or with no draw key (arrows are not read).
  for (auto [mode, arrow] : {std::pair{1, VK_DOWN}, std::pair{0, VK_LEFT}}) {
    SCOPED_TRACE(mode);
    level_fresh();
    steps(30, 1, {});  // standing on the border counts nothing
    steps(1, 1, {VK_UP});
    steps(4, mode, {arrow});
    steps(1, 1, {VK_UP});  // moving puts nothing back
    steps(5, mode, {arrow});
    EXPECT_EQ((Values{fuse.state, fuse.counter_a}), (Values{0, 1}));
    fuse.counter_b = 7;
    steps(1, mode, {arrow});
    EXPECT_EQ(fuse_state(), (Values{1, 320, 468, DIR_UP, FUSE_IGNITE_DELAY}));
    EXPECT_EQ((Values{player_y, fuse.counter_b}), (Values{464, 0}));
    steps(3, mode, {arrow});  // burning: the delay is left alone
    EXPECT_EQ(fuse.counter_a, FUSE_IGNITE_DELAY);
    steps(1, 1, {VK_UP});
    EXPECT_EQ(fuse.state, 0);
  }
}

TEST(Fuse, BurnsIntoTheStixFromItsStart) {
  struct Case { int32_t x, y, arrow, direction; };
  const Case cases[] = {{0, 200, VK_RIGHT, DIR_RIGHT}, {468, 200, VK_LEFT, DIR_LEFT}, {200, 0, VK_DOWN, DIR_DOWN}};
  for (const Case& c : cases) {
    level_fresh();
    player_x = c.x, player_y = c.y;
    steps(1, 1, {c.arrow});
    steps(10, 1, {});
    EXPECT_EQ(fuse_state(), (Values{1, c.x, c.y, c.direction, FUSE_IGNITE_DELAY}));
  }
}
