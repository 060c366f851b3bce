// The grid's set-up, stix erasure and drawing, and the claim of a completed cut: which side is
// taken, what becomes border, what is paid.
#include <gtest/gtest.h>

#include <utility>

#include "playfield_fixture.h"

namespace {

// A finished stix from the bottom border to the top border at column 320, the last step upwards.
void cut_column_320(int32_t mode) {
  cells_fill(320, 1, 320, 467, CELL_STIX);
  playfield_claim(320, 0, DIR_UP, mode);
}

}  // namespace

TEST(Grid, ResetLeavesOnlyTheOuterRingAsBorder) {
  level_fresh();
  cells_fill(0, 5, 300, 300, CELL_CLAIMED);
  playfield_reset();
  EXPECT_EQ(cells_count(CELL_BORDER), 1872);
  EXPECT_EQ(cells_count(CELL_OPEN), PLAYFIELD_CELLS - 1872);
  for (int32_t i = 0; i <= 468; ++i)
    ASSERT_TRUE(playfield_cell(i, 0) == CELL_BORDER && playfield_cell(i, 468) == CELL_BORDER &&
                playfield_cell(0, i) == CELL_BORDER && playfield_cell(468, i) == CELL_BORDER) << i;
}

TEST(Grid, EraseStixOpensOnlyStixCells) {
  level_fresh();
  cells_fill(320, 300, 320, 467, CELL_STIX);
  playfield_cell(51, 50) = CELL_STIX;  // left behind by an abandoned stix
  cells_fill(400, 1, 400, 467, CELL_BORDER);
  cells_fill(401, 1, 467, 1, CELL_CLAIMED);
  cells_fill(402, 0, 467, 0, CELL_INNER_BORDER);
  std::vector<int32_t> expected = grid_copy();
  std::replace(expected.begin(), expected.end(), int32_t{CELL_STIX}, int32_t{CELL_OPEN});
  playfield_erase_stix();
  EXPECT_EQ(grid_copy(), expected);
}

TEST(Claim, FullHeightCutTakesTheSideWithoutTheQix) {
  // The second QIX, on the right, is in play from level 3 on; the first is always on the left.
  struct Case { int32_t level, mode, cells, points; };
  for (Case c : {Case{1, 1, 68649, 6241}, Case{2, 2, 68649, 3120}, Case{3, 1, 148973, 13545}}) {
    SCOPED_TRACE(c.level);
    level_fresh();
    game_level = c.level;
    qix_trail_place(1, 400, 200);
    cut_column_320(c.mode);
    EXPECT_EQ((Values{claimed_cells, game_score}), (Values{c.cells, c.points}));
    // The stix is border; the outer border around the claimed side no longer touches open
    // ground, while the cut's two ends and the far side still do.
    const bool right = c.cells == 68649;
    for (int32_t y = 0; y <= 468; ++y)
      for (int32_t x = 0; x <= 468; ++x) {
        const bool ring = x == 0 || x == 468 || y == 0 || y == 468, taken = right ? x > 320 : x < 320;
        const int32_t expected = x == 320 ? CELL_BORDER
                                 : taken  ? (ring ? CELL_INNER_BORDER : CELL_CLAIMED)
                                          : (ring ? CELL_BORDER : CELL_OPEN);
        ASSERT_EQ(playfield_cell(x, y), expected) << x << ", " << y;
      }
  }
}

TEST(Claim, ProbeStopsAtATrailPointAndLeavesNoMark) {
  // On the seed's own row the point stops the probe before any mark; further down, after every
  // row above it was marked (depth first from row 1 downwards).
  for (auto [row, marks] : {std::pair{1, 0}, std::pair{300, 299 * 147}}) {
    SCOPED_TRACE(row);
    level_fresh();
    cells_fill(320, 1, 320, 467, CELL_STIX);
    qix_slots[0].x1[19] = 400, qix_slots[0].y1[19] = row;  // only the oldest trail line lies on the right
    const std::vector<int32_t> before = grid_copy();
    EXPECT_EQ(playfield_probe_fill(321, 1, CELL_PROBE_MARK), 0);
    EXPECT_EQ(cells_count(CELL_PROBE_MARK), marks);
    playfield_probe_fill(321, 1, CELL_OPEN);
    EXPECT_EQ(grid_copy(), before);
    playfield_claim(320, 0, DIR_UP, 1);
    EXPECT_EQ((Values{cells_count(CELL_PROBE_MARK), claimed_cells, playfield_cell(321, 1)}), (Values{0, 148973, 0}));
  }
}

TEST(Claim, PointsAreTruncatedPerClaim) {
  struct Case { int32_t right, bottom, mode, cells, points; };
  // Stix boxes with their top-left corner at (100, 100).
  for (Case c : {Case{111, 102, 1, 10, 0}, Case{112, 102, 1, 11, 1}, Case{112, 103, 2, 22, 1},
                 Case{108, 104, 2, 21, 0}, Case{112, 103, 0, 22, 2}}) {
    level_fresh();
    game_score = 500;
    cells_fill(100, 100, c.right, c.bottom, CELL_STIX);
    cells_fill(101, 101, c.right - 1, c.bottom - 1, CELL_OPEN);
    playfield_claim(100, 100, DIR_LEFT, c.mode);
    EXPECT_EQ((Values{claimed_cells, game_score}), (Values{c.cells, 500 + c.points})) << "mode " << c.mode;
  }
}

TEST(Claim, BorderBetweenTwoClaimsTurnsInnerAndIsDrawnSo) {
  level_fresh();
  cut_column_320(1);
  cells_fill(200, 1, 200, 467, CELL_STIX);
  playfield_claim(200, 0, DIR_UP, 1);
  EXPECT_EQ(claimed_cells, 68649 + 119 * 467);
  for (int32_t y = 0; y <= 468; ++y) ASSERT_EQ(playfield_cell(320, y), CELL_INNER_BORDER) << y;

  playfield_cell(100, 100) = CELL_STIX;
  playfield_cell(101, 100) = CELL_PROBE_MARK;
  std::vector<uint8_t> screen(640 * 480, 77);
  playfield_draw(screen.data());
  auto pixel = [&](int32_t x, int32_t y) { return screen[(y + 5) * 640 + x + 5]; };  // of cell (x, y)
  // Claimed cells and other codes leave the picture under the field as it was.
  EXPECT_EQ((Values{pixel(320, 200), pixel(200, 200), pixel(100, 100), pixel(150, 150), pixel(250, 200),
                    pixel(101, 100)}),
            (Values{COLOUR_INNER_BORDER, COLOUR_BORDER, COLOUR_STIX, COLOUR_OPEN, 77, 77}));
  // Every other cell is written, and nothing outside the field.
  int32_t written = 0, outside = 0;
  for (int32_t i = 0; i < 640 * 480; ++i) {
    const int32_t x = i % 640, y = i / 640;
    (x >= 5 && x <= 473 && y >= 5 && y <= 473 ? written : outside) += screen[i] != 77;
  }
  EXPECT_EQ(outside, 0);
  EXPECT_EQ(written, PLAYFIELD_CELLS - claimed_cells - 1);
}
