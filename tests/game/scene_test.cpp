// The game screen's still layer, drawn again only where something changed, against the same
// picture drawn from scratch after every frame of a scripted game: stix, the Fuse, claims, a
// cell written by hand, a life lost, the time bar, a new level. And every frame's record of
// what it changed against the frame before it.
#include "enemies/fuse.h"
#include "game/game_fixture.h"
#include "game/scene.h"

namespace {

class StillLayer : public GameScreen {
 protected:
  void TearDown() override {
    if (scratch_) {
      scratch_->clipper = nullptr;
      surface_release(scratch_);
    }
    GameScreen::TearDown();
  }

  // The first pixel where the kept layer and a drawing from scratch differ, as "x,y cell c";
  // empty when they agree.
  std::string layer_differs() {
    if (!scratch_) scratch_ = surface_create(640, 480);
    const Surface* layer = display.display_still;
    if (!layer || !scratch_) return "no layer";
    scratch_->clipper = display.display_back->clipper;
    scene_draw_still(world().game, world().round, world().assets, scratch_);
    for (int32_t y = 0; y < 480; ++y)
      for (int32_t x = 0; x < 640; ++x) {
        if (layer->pixels[y * layer->pitch + x] == scratch_->pixels[y * scratch_->pitch + x]) continue;
        const bool in_grid = playfield_inside(x - PLAYFIELD_SCREEN_OFFSET, y - PLAYFIELD_SCREEN_OFFSET);
        return std::to_string(x) + "," + std::to_string(y) + " cell " +
               (in_grid ? std::to_string(playfield_cell(x - PLAYFIELD_SCREEN_OFFSET, y - PLAYFIELD_SCREEN_OFFSET)) : "-");
      }
    return "";
  }

  // Frames with these keys held, the layer checked after each.
  void play(std::initializer_list<int32_t> keys, int n, const char* step) {
    for (int i = 0; i < n; ++i) {
      for (int32_t k : keys) fake_set_key(k, true);
      run_frames(1);
      fake_release_all_keys();
      ++frames_;
      const std::string differs = layer_differs();
      ASSERT_EQ(differs, "") << step << ", frame " << i + 1 << " of " << n;
      if (fuse.state != 0) fuse_seen_ = true;
    }
  }

  Surface* scratch_ = nullptr;
  int frames_ = 0;
  bool fuse_seen_ = false;
};

TEST_F(StillLayer, DrawnAgainOnlyWhereChangedItEqualsAWholeDrawingAfterEveryFrameOfAGame) {
  play({}, 1, "start");
  play({VK_SHIFT, VK_LEFT}, 75, "walk to x 20");
  ASSERT_EQ((Values{player_x, player_y}), (Values{20, 468}));
  play({VK_CONTROL, VK_UP}, 10, "slow stix up");
  ASSERT_EQ(player_drawing, 1);
  play({VK_CONTROL}, 16, "standing still: the Fuse lights and burns");
  EXPECT_TRUE(fuse_seen_);
  const int32_t score_before = game_score;
  play({VK_CONTROL, VK_LEFT}, 10, "stix to the left border: a claim");
  ASSERT_GT(claimed_cells, 0);
  EXPECT_GT(game_score, score_before);

  // A cell written by hand through the grid's accessor shows from the next frame on.
  playfield_cell(200, 200) = CELL_STIX;
  play({}, 1, "a cell written by hand");

  play({VK_SHIFT, VK_UP}, 20, "up the left border");
  play({VK_CONTROL, VK_RIGHT}, 8, "a stix out of the border");
  ASSERT_EQ(player_drawing, 1);
  const int32_t lives = game_lives;
  game_phase = PHASE_LIFE_LOST;
  play({VK_SPACE}, 52, "a life lost: the stix erased");
  ASSERT_EQ(game_lives, lives - 1);
  ASSERT_EQ(game_phase, PHASE_PLAYING);

  fake_advance_ms(3000);
  play({}, 2, "the time bar shorter");

  claimed_cells = CLAIM_TARGET_CELLS;
  play({}, PHASE_LONG_WAIT_FRAMES + 2, "level complete, then a fresh playfield");
  ASSERT_EQ(game_level, 2);
  ASSERT_EQ(claimed_cells, 0);
  play({VK_SHIFT, VK_RIGHT}, 10, "walking on level 2");

  // Every frame but the first said what it changed, and no record left out a changed pixel.
  const FakeChangeCheck& check = fake_change_check();
  EXPECT_GE(check.records, static_cast<uint64_t>(frames_ - 1));
  EXPECT_EQ(check.missed, 0u) << "first at frame " << check.first_missed_frame << ", row " << check.first_missed_row;
  // And they name far less than whole frames: the layer is copied, not the screen presented.
  EXPECT_LT(check.pixels, check.records * 640 * 480 / 4);
}

// What the layer stands on: a new palette is drawn again from scratch, and a
// frame after a flip that was not the game's own says nothing about what it changed.
TEST_F(StillLayer, ANewPaletteOrAForeignFlipMakeAWholeFrame) {
  play({}, 2, "start");
  const uint64_t records = fake_change_check().records;
  PALETTEENTRY p[256];
  palette_save(p);
  p[COLOUR_TRAIL_NEWEST] = PALETTEENTRY{1, 2, 3, PC_NOCOLLAPSE};
  p[1] = PALETTEENTRY{255, 255, 254, PC_NOCOLLAPSE};
  palette_set_all(p);
  play({}, 1, "a new palette");

  display_flip();  // a frame of someone else's
  play({}, 1, "after a foreign flip");
  play({}, 1, "the next frame");
  EXPECT_EQ(fake_change_check().missed, 0u);
  // The frame of the new palette and the one after the foreign flip had no record; the one
  // after that had again.
  EXPECT_EQ(fake_change_check().records, records + 1);
}

}  // namespace
