// The side panel and the phase messages as they show in captured frames.
#include "app/sprites.h"
#include "enemies/qix.h"
#include "game/game_fixture.h"
#include "game/hiscore.h"
#include "game/hud.h"
#include "playfield/playfield.h"

namespace {

TEST(HudFormat, FilledPercentBonusPercentAndTheTextBuffer) {
  EXPECT_STREQ(hud_filled_text(0), "0.0%");
  EXPECT_STREQ(hud_filled_text(CLAIM_TARGET_CELLS), "65.0%");
  EXPECT_STREQ(hud_filled_text(150000), "68.2%");
  EXPECT_LT(hud_time_bar_right(INT32_MIN), 490);  // a clock gone far back draws no bar
  EXPECT_EQ(hud_extra_percent(CLAIM_TARGET_CELLS + 2199), 0);
  EXPECT_EQ(hud_extra_percent(CLAIM_TARGET_CELLS + 2200), 1);
  const std::string long_text(200, 'x');
  EXPECT_EQ(std::string(text_format("%s", long_text.c_str())), long_text.substr(0, TEXT_BUFFER_SIZE - 1));
}

class Hud : public GameScreen {
 protected:
  void SetUp() override {
    GameScreen::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    set_counting_palette();
  }
  static int32_t shown(const char* text, int32_t x, int32_t y, COLORREF colour) {
    return text_mismatch(fake_last_frame(), text, x, y, colour);
  }
};

TEST_F(Hud, TimeBarFillsItsFrameAtSixtySecondsAndNothingAtZero) {
  game_phase = PHASE_PAUSED;  // time_left stays as set
  time_left = 60;
  run_frames(1);
  const FakeFrame& f = fake_last_frame();
  EXPECT_EQ(count_index(f, 490, 136, 638, 146, IX_RED), 148 * 10);
  EXPECT_EQ(count_index(f, 480, 130, 640, 150, IX_RED), 148 * 10);
  EXPECT_EQ(count_index(f, 489, 135, 639, 136, IX_YELLOW), 150);
  EXPECT_EQ(f.at(638, 140), IX_YELLOW);
  time_left = 0;
  run_frames(1);
  EXPECT_EQ(count_index(fake_last_frame(), 480, 130, 640, 150, IX_RED), 0);
  EXPECT_EQ(count_index(fake_last_frame(), 489, 146, 639, 147, IX_YELLOW), 150);
}

TEST_F(Hud, NoDeviceContextMeansNoBonusInThatFrame) {
  game_phase = PHASE_LEVEL_COMPLETE;
  claimed_cells = 150000;
  phase_frames = 50;
  uint8_t* locked = display_lock(display_back, nullptr);
  hud_draw();
  display_unlock(display_back, locked);
  EXPECT_EQ(game_score, 0);
  hud_draw();
  EXPECT_EQ(game_score, 3000);
}

TEST_F(Hud, LivesRowShowsASkullForEveryLostLife) {
  // Where the last skull, the one marker_sprite_a and the last marker_sprite_b were drawn.
  const int32_t expected[][4] = {{5, -1, 568, 624}, {2, 596, 610, 624}, {1, 610, 624, -1}, {0, 624, -1, -1}};
  for (const auto& e : expected) {
    game_lives = e[0];
    skull_sprite.x = marker_sprite_a.x = marker_sprite_b.x = -1;
    hud_draw();
    EXPECT_EQ(skull_sprite.x, e[1]) << e[0];
    EXPECT_EQ(marker_sprite_a.x, e[2]) << e[0];
    EXPECT_EQ(marker_sprite_b.x, e[3]) << e[0];
  }
}

TEST_F(Hud, PanelAndMessagesShowTheirValues) {
  if (!have_font()) GTEST_SKIP() << "no font";
  game_phase = PHASE_PAUSED;
  game_score = 4321;
  hiscore_table.rows[0].score = 98765;
  claimed_cells = CLAIM_TARGET_CELLS;
  run_frames(1);
  keep_frame("panel");
  EXPECT_EQ(shown("4321", 568, 24, COLOUR_WHITE), 0);
  EXPECT_EQ(shown("98765", 568, 36, COLOUR_WHITE), 0);
  EXPECT_EQ(shown("65.0%", 568, 84, COLOUR_WHITE), 0);
  EXPECT_GT(shown("65.1%", 568, 84, COLOUR_WHITE), 0);
  EXPECT_EQ(shown("- Fast move", 548, 330, COLOUR_VIOLET), 0);
  EXPECT_EQ(shown("Game Paused", 220, 230, COLOUR_WHITE), 0);

  game_phase = PHASE_PLAYING;
  claimed_cells = 0;
  game_level = 3;
  qix_captured = 1;
  run_frames(1);
  EXPECT_EQ(shown("Bonus points: 30000!", 100, 250, COLOUR_GREY), 0);

  game_lives = 4;
  game_phase = PHASE_LIFE_LOST;
  run_frames(50);
  EXPECT_EQ(shown("OUCH! You lost one life! 3 lives left...", 120, 230, COLOUR_WHITE), 0);
  EXPECT_GT(shown("Press SPACE bar when you're ready!", 120, 250, COLOUR_WHITE), 0);
  run_frames(1);
  EXPECT_EQ(shown("Press SPACE bar when you're ready!", 120, 250, COLOUR_WHITE), 0);
  game_lives = 2;
  phase_announced = 0;
  run_frames(1);
  EXPECT_EQ(shown("OUCH! You lost one life! 1 life left...", 120, 230, COLOUR_WHITE), 0);
}

}  // namespace
