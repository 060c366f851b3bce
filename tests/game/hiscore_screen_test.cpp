// The hi-score list screen's own loop and the table drawing it shares with the end of a game.
#include "frontend/hiscore_screen.h"
#include "frontend/menu.h"
#include "game/game_fixture.h"
#include "game/hiscore.h"
#include "game/hud.h"

namespace {

class HiscoreScreen : public GameScreen {
 protected:
  int presents_ = 0;
};

TEST_F(HiscoreScreen, EscAlreadyDownReturnsAtOnce) {
  fake_set_key(VK_ESCAPE, true);
  const uint64_t frames = fake_frame_count();
  menu_frames = 40;
  hiscore_screen_run();
  EXPECT_EQ(fake_frame_count(), frames);
  EXPECT_EQ(take_sounds(), (std::vector<std::string>{"menuselect.wav"}));
  EXPECT_EQ(screen_state, SCREEN_MENU);
  EXPECT_EQ(menu_frames, 0);
}

TEST_F(HiscoreScreen, RunsUntilEscAndReadsTheTableWhenNotYetRead) {
  set_counting_palette();
  write_file(HISCORE_FILE, "ZED 900\nYOU 500\n");
  hiscore_loaded = 0;
  hiscore_edit_row = 4;
  fake_on_present([this](uint64_t) {
    if (++presents_ == 3) fake_set_key(VK_ESCAPE, true);
  });
  hiscore_screen_run();
  EXPECT_EQ(presents_, 3);
  EXPECT_EQ(hiscore_edit_row, -1);
  EXPECT_EQ(hiscore_table.rows[1].score, 500);
  EXPECT_EQ(take_sounds(), (std::vector<std::string>{"menuselect.wav"}));
  keep_frame("hiscore_screen");
  if (have_font()) {
    EXPECT_EQ(text_mismatch(fake_last_frame(), "HI-SCORE LIST", 290, 70, COLOUR_ORANGE), 0);
    EXPECT_EQ(text_mismatch(fake_last_frame(), "900", 360, 120, COLOUR_PALE_YELLOW), 0);
    EXPECT_EQ(text_mismatch(fake_last_frame(), "-", 264, 160, COLOUR_MAGENTA), 0);
  }
}

TEST_F(HiscoreScreen, ClosingTheWindowEndsTheLoop) {
  fake_on_present([this](uint64_t) {
    ++presents_;
    fake_close_window();
  });
  hiscore_screen_run();
  EXPECT_EQ(presents_, 1);
  EXPECT_EQ(screen_state, SCREEN_MENU);
}

}  // namespace
