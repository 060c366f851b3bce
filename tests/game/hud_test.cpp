// The side panel's values and time bar, and the hi-score list screen's own loop.
#include "live_input.h"
#include "frontend/frontend.h"
#include "frontend/frontend.h"
#include "game/game_fixture.h"
#include "game/hiscore.h"
#include "playfield/playfield.h"

namespace {

TEST(HudFormat, FilledPercentBonusPercentTimeBarAndTheTextBuffer) {
  EXPECT_STREQ(hud_filled_text(0), "0.0%");
  EXPECT_STREQ(hud_filled_text(142974), "65.0%");
  EXPECT_STREQ(hud_filled_text(150000), "68.2%");
  EXPECT_EQ(hud_extra_percent(142974 + 2199), 0);  // a whole percent beyond the target is 2199.61 cells
  EXPECT_EQ(hud_extra_percent(142974 + 2200), 1);
  EXPECT_EQ(hud_time_bar_right(60), 638);
  EXPECT_LE(hud_time_bar_right(INT32_MIN), 490);  // a clock gone far back draws no bar
  const std::string long_text(200, 'x');  // cut to fit, never beyond the buffer
  EXPECT_EQ(std::string(text_format("%s", long_text.c_str())), long_text.substr(0, TEXT_BUFFER_SIZE - 1));
}

using Hud = GameScreen;

TEST_F(Hud, TimeBarFillsItsFrameAtSixtySecondsAndNothingAtZero) {
  game_phase = PHASE_PAUSED;  // time_left stays as set
  time_left = 60;
  run_frames(1);
  EXPECT_EQ(count_index(490, 136, 638, 146, IX_RED), 148 * 10);  // all of it within its place
  EXPECT_EQ(count_index(480, 130, 640, 150, IX_RED), 148 * 10);
  EXPECT_EQ(count_index(489, 135, 639, 147, IX_YELLOW), 2 * 150 + 2 * 10);  // the frame around it
  time_left = 0;
  run_frames(1);
  EXPECT_EQ(count_index(480, 130, 640, 150, IX_RED), 0);
}

TEST_F(Hud, HiscoreScreenReadsTheTableShowsAPageAPassAndLeavesOnEscOrClose) {
  write_file(HISCORE_FILE, "ZED 900\nYOU 500\n");
  hiscore_loaded = 0, hiscore_edit_row = 4, menu_frames = 40;
  screen_state = SCREEN_HISCORES;
  const uint64_t before = fake_frame_count();
  for (int pass = 0; pass < 3; ++pass) hiscore_screen_run(live_input());
  EXPECT_EQ(fake_frame_count() - before, 3u);
  EXPECT_EQ(hiscore_edit_row, -1);
  EXPECT_EQ(shown("HI-SCORE LIST", 290, 70, COLOUR_ORANGE), 0);
  EXPECT_EQ(shown("900", 360, 120, COLOUR_PALE_YELLOW), 0);
  EXPECT_EQ(shown("-", 264, 160, COLOUR_MAGENTA), 0);  // an empty row
  EXPECT_TRUE(take_sounds().empty());
  fake_set_key(VK_ESCAPE, true);
  hiscore_screen_run(live_input());
  EXPECT_EQ(fake_frame_count() - before, 3u);
  EXPECT_EQ(take_sounds(), (std::vector<std::string>{"menuselect.wav"}));
  EXPECT_EQ((Values{screen_state, menu_frames}), (Values{SCREEN_MENU, 0}));
  fake_release_all_keys();
  screen_state = SCREEN_HISCORES;
  fake_close_window();
  hiscore_screen_run(live_input());  // closing the window leaves as Esc does
  EXPECT_EQ(fake_frame_count() - before, 3u);
  EXPECT_EQ(screen_state, SCREEN_MENU);
}

}  // namespace
