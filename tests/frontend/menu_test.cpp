// The main menu frame by frame: moving the highlight, choosing items, the farewell and the
// scrolling lines.
#include <gtest/gtest.h>

#include "live_input.h"
#include "app/game_data_dir.h"
#include "display/palette.h"
#include "game/game.h"
#include "display/text.h"
#include "game/hud.h"

namespace {

using Menu = StartedProgram;

// Pixels of the frame in [x0, x1) x [y0, y1) drawn in the palette entry nearest to colour.
int32_t count_colour(const FakeFrame& f, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour) {
  const uint8_t index = palette_nearest(colour);
  int32_t n = 0;
  for (int32_t y = y0; y < y1; ++y)
    for (int32_t x = x0; x < x1; ++x) n += f.at(x, y) == index;
  return n;
}

// One menu frame with exactly these keys held.
void frame(std::initializer_list<int32_t> keys = {}) {
  for (int32_t k : keys) fake_set_key(k, true);
  menu_run_frame(live_input());
  fake_release_all_keys();
}

TEST_F(Menu, OnePressMovesOneItemWrappingBothWaysAndDownWins) {
  menu_selection = 4;
  for (int i = 0; i < 3; ++i) frame({VK_DOWN});
  EXPECT_EQ(menu_selection, 0);
  frame({VK_UP});   // still the same press
  EXPECT_EQ(menu_selection, 0);
  frame();
  frame({VK_UP});
  EXPECT_EQ(menu_selection, 4);
  frame();
  frame({VK_DOWN, VK_UP});
  EXPECT_EQ(menu_selection, 0);
  EXPECT_EQ(fake_sound_labels(), (Labels{"menubrowse.wav", "menubrowse.wav", "menubrowse.wav"}));
}

TEST_F(Menu, EnterOnEachItem) {
  const int32_t screens[] = {SCREEN_GAME, SCREEN_GAME, SCREEN_HISCORES, SCREEN_ABOUT};
  for (int32_t item = 0; item < 4; ++item) {
    SCOPED_TRACE(item);
    screen_state = SCREEN_MENU;
    fake_clear_sound_plays();
    game_score = 4321, game_level = 3;
    menu_selection = item;
    frame({VK_RETURN});
    EXPECT_EQ(screen_state, screens[item]);
    EXPECT_EQ(fake_sound_labels(), item < 2 ? (Labels{"menuselect.wav", "connect.wav", "startup.wav"})
                                            : (Labels{"menuselect.wav"}));
    // Only "New Game" starts afresh; "Resume" goes on with the game as it stood.
    EXPECT_EQ(game_score, item == 1 ? 0 : 4321);
    EXPECT_EQ(game_level, item == 1 ? 1 : 3);
  }
}

TEST_F(Menu, QuitShowsTheFarewellForTwoSecondsOfTicksPlaysItsSoundAndCloses) {
  fake_keep_frames(2);
  menu_selection = 4;
  frame();
  uint64_t before = fake_frame_count();
  const uint64_t started_ms = fake_elapsed_ms();
  frame({VK_RETURN});
  ASSERT_EQ(fake_frame_count(), before + 1) << "the farewell alone";
  for (int pass = 1; pass < FAREWELL_TICKS; ++pass) frame();
  ASSERT_EQ(fake_frame_count(), before + 1) << "the farewell stays while its ticks run";
  EXPECT_EQ(fake_queued_messages(), 0u);
  frame();
  ASSERT_EQ(fake_frame_count(), before + 2) << "the farewell frame, then the menu frame";
  EXPECT_NEAR(static_cast<double>(fake_elapsed_ms() - started_ms), 2000.0, 40.0);
  const std::vector<FakeFrame>& kept = fake_kept_frames();
  const FakeFrame& farewell = kept[kept.size() - 2];
  EXPECT_GT(count_colour(farewell, 240, 380, 460, 396, COLOUR_PALE_YELLOW), 150);
  EXPECT_GT(count_colour(farewell, 230, 400, 480, 416, COLOUR_PALE_YELLOW), 150);
  EXPECT_LT(count_colour(kept.back(), 230, 380, 480, 416, COLOUR_PALE_YELLOW), 50) << "gone in the next frame";
  EXPECT_EQ(fake_sound_labels(), (Labels{"menuselect.wav", "quit.wav"}));
  EXPECT_EQ(fake_sound_plays()[1].frame, before + 1) << "quit.wav plays once the farewell shows";
  PlatformMessage m{};
  ASSERT_EQ(platform_peek_message(&m), 1);
  EXPECT_EQ(m.event, PLATFORM_EVENT_CLOSE);
}

TEST_F(Menu, ScrollingLinesRestartAt640) {
  // Thousands of real menu frames of which only the positions matter: nothing is captured.
  fake_capture_frames(false);
  ASSERT_EQ(scroll_x_intro, 700.0f);
  ASSERT_EQ(scroll_x_credits, 700.0f);
  for (int i = 0; i < 5699; ++i) menu_run_frame(live_input());
  EXPECT_EQ(scroll_x_intro, -4999.0f);
  menu_run_frame(live_input());
  EXPECT_EQ(scroll_x_intro, 640.0f);
  for (int i = 0; i < 699; ++i) menu_run_frame(live_input());
  EXPECT_EQ(scroll_x_credits, -2499.5f);
  menu_run_frame(live_input());
  EXPECT_EQ(scroll_x_credits, 640.0f);
  EXPECT_EQ(scroll_x_intro, -60.0f);
  // Line 1 is drawn in pale yellow along the bottom, one pixel further left each frame.
  fake_capture_frames(true);
  scroll_x_intro = 20.9f;
  frame();
  EXPECT_GT(count_colour(fake_last_frame(), 20, 440, 640, 456, COLOUR_PALE_YELLOW), 500);
  EXPECT_EQ(scroll_x_intro, 19.9f);
}

TEST(MenuText, InformationLinesHaveTheirLengthsAndOpening) {
  const std::string credits = menu_credits_line();
  EXPECT_EQ(std::string(menu_intro_line()).size(), 779u);
  EXPECT_EQ(credits.size(), 269u);
  EXPECT_EQ(credits.rfind("      Quarrel Forge would like to thank the following people for support ", 0), 0u);
}

}  // namespace
