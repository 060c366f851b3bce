// The grid's set-up, the erasure of the stix and the drawing of the cells.
#include <gtest/gtest.h>

#include <vector>

#include "playfield_fixture.h"

TEST(Grid, ResetLeavesOnlyTheOuterRingAsBorder) {
  level_fresh();
  cells_line(10, 10, 10, 300, CELL_STIX);
  cells_line(20, 20, 300, 20, CELL_CLAIMED);
  playfield_cell(0, 5) = CELL_INNER_BORDER;
  playfield_reset();
  EXPECT_EQ(cells_count(CELL_BORDER), 1872);
  EXPECT_EQ(cells_count(CELL_OPEN), PLAYFIELD_CELLS - 1872);
  for (int32_t i = 0; i <= PLAYFIELD_LAST; ++i) {
    EXPECT_EQ(playfield_cell(i, 0), CELL_BORDER);
    EXPECT_EQ(playfield_cell(i, PLAYFIELD_LAST), CELL_BORDER);
    EXPECT_EQ(playfield_cell(0, i), CELL_BORDER);
    EXPECT_EQ(playfield_cell(PLAYFIELD_LAST, i), CELL_BORDER);
  }
}

TEST(Grid, EraseStixOpensOnlyStixCells) {
  level_fresh();
  cells_line(320, 467, 320, 300, CELL_STIX);
  cells_line(320, 300, 200, 300, CELL_STIX);
  playfield_cell(50, 51) = CELL_STIX;  // left behind by an abandoned stix
  cells_line(400, 1, 400, 467, CELL_BORDER);
  cells_line(401, 1, 467, 1, CELL_CLAIMED);
  cells_line(402, 0, 467, 0, CELL_INNER_BORDER);
  std::vector<int32_t> before = grid_copy();
  playfield_erase_stix();
  EXPECT_EQ(cells_count(CELL_STIX), 0);
  for (int32_t i = 0; i < PLAYFIELD_CELLS; ++i) {
    int32_t expected = before[i] == CELL_STIX ? CELL_OPEN : before[i];
    ASSERT_EQ(playfield.cells[i], expected) << "cell " << i % PLAYFIELD_SIZE << ", " << i / PLAYFIELD_SIZE;
  }
}

TEST(Grid, DrawWritesEachCodeAndLeavesClaimedCellsToThePicture) {
  level_fresh();
  playfield_cell(10, 10) = CELL_STIX;
  playfield_cell(11, 10) = CELL_INNER_BORDER;
  playfield_cell(12, 10) = CELL_CLAIMED;
  playfield_cell(13, 10) = CELL_PROBE_MARK;
  std::vector<uint8_t> screen(640 * 480, 77);
  playfield_draw(screen.data());
  auto pixel = [&](int32_t x, int32_t y) { return screen[y * 640 + x]; };
  EXPECT_EQ(pixel(15, 15), COLOUR_STIX);
  EXPECT_EQ(pixel(16, 15), COLOUR_INNER_BORDER);
  EXPECT_EQ(pixel(17, 15), 77);  // claimed: the background picture stays
  EXPECT_EQ(pixel(18, 15), 77);
  EXPECT_EQ(pixel(100, 100), COLOUR_OPEN);
  EXPECT_EQ(pixel(5, 5), COLOUR_BORDER);
  EXPECT_EQ(pixel(473, 473), COLOUR_BORDER);
  EXPECT_EQ(pixel(5, 300), COLOUR_BORDER);
  // Nothing outside the field is touched: the row and column before it, the panel after it.
  for (int32_t i = 0; i < 480; ++i) {
    EXPECT_EQ(pixel(4, i), 77);
    EXPECT_EQ(pixel(474, i), 77);
  }
  for (int32_t x = 0; x < 640; ++x) {
    EXPECT_EQ(pixel(x, 4), 77);
    EXPECT_EQ(pixel(x, 474), 77);
  }
  int32_t field_pixels = 0;
  for (uint8_t p : screen) field_pixels += p != 77;
  EXPECT_EQ(field_pixels, PLAYFIELD_CELLS - 2);
}
