// The claim of a completed cut: which side is taken, what becomes border, what is paid.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "playfield_fixture.h"
#include "sound/sound.h"

namespace {

// A finished stix from the bottom border to the top border at column 320.
void cut_column_320() { cells_line(320, 1, 320, 467, CELL_STIX); }

int32_t claimed_in(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  int32_t n = 0;
  for (int32_t y = top; y <= bottom; ++y)
    for (int32_t x = left; x <= right; ++x) n += playfield_cell(x, y) == CELL_CLAIMED;
  return n;
}

}  // namespace

TEST(Claim, FullHeightCutTakesTheSideWithoutTheQix) {
  for (int32_t mode : {1, 2}) {
    SCOPED_TRACE(mode);
    level_fresh();
    cut_column_320();
    playfield_claim(320, 0, DIR_UP, mode);
    EXPECT_EQ(claimed_cells, 68649);
    EXPECT_EQ(game_score, mode == 2 ? 3120 : 6241);
    EXPECT_EQ(claimed_in(321, 1, 467, 467), 68649);
    EXPECT_EQ(cells_count(CELL_CLAIMED), 68649);
    EXPECT_EQ(cells_count(CELL_STIX), 0);
    EXPECT_EQ(cells_count(CELL_PROBE_MARK), 0);
    for (int32_t y = 1; y <= 467; ++y) ASSERT_EQ(playfield_cell(320, y), CELL_BORDER) << y;
    // The outer border around the claimed part is out of reach now; the rest still touches open ground.
    for (int32_t x = 321; x <= 468; ++x) {
      EXPECT_EQ(playfield_cell(x, 0), CELL_INNER_BORDER) << x;
      EXPECT_EQ(playfield_cell(x, 468), CELL_INNER_BORDER) << x;
    }
    for (int32_t y = 0; y <= 468; ++y) {
      EXPECT_EQ(playfield_cell(468, y), CELL_INNER_BORDER) << y;
      EXPECT_EQ(playfield_cell(0, y), CELL_BORDER) << y;
    }
    for (int32_t x = 0; x <= 320; ++x) {
      EXPECT_EQ(playfield_cell(x, 0), CELL_BORDER) << x;
      EXPECT_EQ(playfield_cell(x, 468), CELL_BORDER) << x;
    }
  }
}

TEST(Claim, SameCutWithTheQixOnTheRightTakesTheLeft) {
  level_fresh();
  qix_trail_place(0, 400, 200);
  cut_column_320();
  playfield_claim(320, 0, DIR_UP, 1);
  EXPECT_EQ(claimed_cells, 148973);
  EXPECT_GE(claimed_cells, CLAIM_TARGET_CELLS);
  EXPECT_EQ(claimed_in(1, 1, 319, 467), 148973);
  EXPECT_EQ(game_score, static_cast<int32_t>(148973 * static_cast<double>(SCORE_PER_CELL_SLOW)));
  for (int32_t y = 0; y <= 468; ++y) EXPECT_EQ(playfield_cell(0, y), CELL_INNER_BORDER) << y;
  for (int32_t x = 0; x <= 319; ++x) EXPECT_EQ(playfield_cell(x, 468), CELL_INNER_BORDER) << x;
  EXPECT_EQ(playfield_cell(320, 0), CELL_BORDER);
  EXPECT_EQ(playfield_cell(320, 468), CELL_BORDER);
  EXPECT_EQ(playfield_cell(320, 200), CELL_BORDER);
  EXPECT_EQ(playfield_cell(468, 200), CELL_BORDER);
}

TEST(Claim, EachLastStepProbesItsOwnSideFirst) {
  struct Case {
    int32_t x, y, direction;
    bool vertical;
  };
  // Vertical cuts at column 320 (probe right), horizontal cuts at row 200 (probe below).
  const Case cases[] = {{320, 0, DIR_UP, true}, {320, 468, DIR_DOWN, true}, {0, 200, DIR_LEFT, false},
                        {468, 200, DIR_RIGHT, false}};
  for (const Case& c : cases) {
    for (bool qix_on_probe_side : {false, true}) {
      SCOPED_TRACE(testing::Message() << "direction " << c.direction << " qix on probe side " << qix_on_probe_side);
      level_fresh();
      if (c.vertical) {
        cut_column_320();
        qix_trail_place(0, qix_on_probe_side ? 400 : 100, 300);
      } else {
        cells_line(1, 200, 467, 200, CELL_STIX);
        qix_trail_place(0, 300, qix_on_probe_side ? 300 : 100);
      }
      playfield_claim(c.x, c.y, c.direction, 1);
      int32_t probe_side = c.vertical ? 147 * 467 : 267 * 467;
      int32_t other_side = c.vertical ? 319 * 467 : 199 * 467;
      EXPECT_EQ(claimed_cells, qix_on_probe_side ? other_side : probe_side);
      bool probe_side_claimed = playfield_cell(c.vertical ? 400 : 300, c.vertical ? 300 : 300) == CELL_CLAIMED;
      EXPECT_EQ(probe_side_claimed, !qix_on_probe_side);
    }
  }
}

TEST(Claim, TrailPointInTheSeedSpanStopsTheProbeBeforeAnyMark) {
  level_fresh();
  cut_column_320();
  qix_slots[0].x1[7] = 400;  // an old trail line on the seed's own row
  qix_slots[0].y1[7] = 1;
  std::vector<int32_t> before = grid_copy();
  EXPECT_EQ(playfield_probe_fill(321, 1, CELL_PROBE_MARK), 0);
  EXPECT_EQ(grid_copy(), before);
  playfield_claim(320, 0, DIR_UP, 1);
  EXPECT_EQ(claimed_cells, 148973);
  EXPECT_EQ(playfield_cell(321, 1), CELL_OPEN);
  EXPECT_EQ(playfield_cell(319, 1), CELL_CLAIMED);
}

TEST(Claim, ProbeStoppedHalfWayLeavesNoMarkBehind) {
  level_fresh();
  cut_column_320();
  qix_trail_place(0, 100, 200);
  qix_slots[0].x1[19] = 400;  // only the oldest trail line lies on the right
  qix_slots[0].y1[19] = 300;
  std::vector<int32_t> before = grid_copy();
  EXPECT_EQ(playfield_probe_fill(321, 1, CELL_PROBE_MARK), 0);
  // Depth first from row 1 downwards: every row above the trail point was marked before it was met.
  EXPECT_EQ(cells_count(CELL_PROBE_MARK), 299 * 147);
  playfield_probe_fill(321, 1, CELL_OPEN);
  EXPECT_EQ(grid_copy(), before);

  playfield_claim(320, 0, DIR_UP, 1);
  EXPECT_EQ(cells_count(CELL_PROBE_MARK), 0);
  EXPECT_EQ(claimed_cells, 148973);
  EXPECT_EQ(claimed_in(321, 1, 467, 467), 0);
}

TEST(Claim, OnlyTheQixesInPlayAreProbed) {
  for (int32_t level : {1, 2, 3, 7}) {
    SCOPED_TRACE(level);
    level_fresh();
    game_level = level;
    qix_trail_place(0, 100, 200);
    qix_trail_place(1, 400, 200);  // in play from level 3 on
    cut_column_320();
    playfield_claim(320, 0, DIR_UP, 1);
    EXPECT_EQ(claimed_cells, level >= 3 ? 148973 : 68649);
  }
}

TEST(Claim, PointsAreTruncatedPerClaim) {
  struct Case {
    int32_t right, bottom, mode, cells, points;
  };
  // Boxes with their top-left wall at (100, 100): inner width right - 101, height bottom - 101.
  const Case cases[] = {{111, 102, 1, 10, 0}, {112, 102, 1, 11, 1}, {112, 103, 2, 22, 1}, {108, 104, 2, 21, 0},
                        {112, 103, 0, 22, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.cells << " cells, mode " << c.mode);
    level_fresh();
    game_score = 500;
    cells_box(100, 100, c.right, c.bottom, CELL_STIX);
    playfield_claim(100, 100, DIR_LEFT, c.mode);
    EXPECT_EQ(claimed_cells, c.cells);
    EXPECT_EQ(game_score, 500 + c.points);
    // The whole box is wall now, and it is drawn as border where open ground is beyond it.
    EXPECT_EQ(playfield_cell(100, 100), CELL_BORDER);
    EXPECT_EQ(playfield_cell(c.right, c.bottom), CELL_BORDER);
  }
}

TEST(Claim, BorderBetweenTwoClaimedAreasTurnsInner) {
  level_fresh();
  cut_column_320();
  playfield_claim(320, 0, DIR_UP, 1);
  ASSERT_EQ(playfield_cell(320, 200), CELL_BORDER);
  cells_line(200, 1, 200, 467, CELL_STIX);
  playfield_claim(200, 0, DIR_UP, 1);
  EXPECT_EQ(claimed_cells, 68649 + 119 * 467);
  for (int32_t y = 0; y <= 468; ++y) ASSERT_EQ(playfield_cell(320, y), CELL_INNER_BORDER) << y;
  for (int32_t y = 1; y <= 467; ++y) ASSERT_EQ(playfield_cell(200, y), CELL_BORDER) << y;

  std::vector<uint8_t> screen(640 * 480, 3);
  playfield_draw(screen.data());
  EXPECT_EQ(screen[(200 + 5) * 640 + 320 + 5], COLOUR_INNER_BORDER);
  EXPECT_EQ(screen[(200 + 5) * 640 + 200 + 5], COLOUR_BORDER);
  EXPECT_EQ(screen[(200 + 5) * 640 + 250 + 5], 3);

  // The marker on the bottom border can no longer walk past the new cut.
  player_x = 200;
  player_y = 468;
  fake_set_key(VK_RIGHT, true);
  player_step(0);
  EXPECT_EQ(player_x, 200);
  fake_set_key(VK_RIGHT, false);
  fake_set_key(VK_LEFT, true);
  player_step(0);
  EXPECT_EQ(player_x, 198);
}

namespace {

// A short 16-bit mono PCM file, enough for the sound engine to load and play.
void wav_write_tiny(const char* path) {
  const uint32_t samples = 64, data_bytes = samples * 2;
  auto u32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  auto u16 = [](uint32_t v) { return std::string{char(v), char(v >> 8)}; };
  std::string bytes = "RIFF" + u32(36 + data_bytes) + "WAVE" + "fmt " + u32(16) + u16(1) + u16(1) + u32(8000) +
                      u32(16000) + u16(2) + u16(16) + "data" + u32(data_bytes) + std::string(data_bytes, '\0');
  std::FILE* f = std::fopen(path, "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

// Runs in a fresh folder that holds beep_arcade.wav, with the sound device open.
struct SoundFolder {
  std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::path folder;
  SoundFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "playfield_sound_XXXXXX").string();
    folder = mkdtemp(pattern.data());
    std::filesystem::current_path(folder);
    wav_write_tiny("beep_arcade.wav");
    sound_shutdown();
    sound_init(1, 0, nullptr);
    fake_clear_sound_plays();
  }
  ~SoundFolder() {
    sound_shutdown();
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
  }
};

}  // namespace

TEST(Claim, CompletedStixBeepsOnceAndSpaceKeepsItSilent) {
  level_fresh();
  SoundFolder sounds;
  fake_set_key(VK_UP, true);
  fake_set_key(VK_SPACE, true);
  for (int32_t i = 0; i < 234; ++i) player_step(1);
  ASSERT_EQ(player_drawing, 0);
  EXPECT_TRUE(fake_sound_labels().empty());

  cells_line(320, 1, 320, 467, CELL_OPEN);
  player_x = 320;
  player_y = 468;
  fake_set_key(VK_SPACE, false);
  for (int32_t i = 0; i < 234; ++i) player_step(1);
  ASSERT_EQ(claimed_cells, 68649);
  EXPECT_EQ(fake_sound_labels(), std::vector<std::string>{"beep_arcade.wav"});
}
