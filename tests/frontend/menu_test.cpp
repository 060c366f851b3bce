// The main menu frame by frame: moving the highlight, choosing items, the farewell, Esc and the
// scrolling lines.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/sprites.h"
#include "frontend/frontend_fixture.h"
#include "frontend/menu.h"
#include "game/game.h"
#include "game/hud.h"
#include "platform/fake/fake_platform.h"

namespace {

using Labels = std::vector<std::string>;

class Menu : public StartedProgram {
 protected:
  void frame(std::initializer_list<int32_t> keys = {}) {
    with_keys(keys, [] { menu_run_frame(); });
  }
};

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
  // The highlighted item: its label pale yellow, the others purple, its description in white.
  menu_selection = 2;
  frame();
  const FakeFrame& f = fake_last_frame();
  EXPECT_GT(count_colour(f, 300, 220, 390, 236, COLOUR_PALE_YELLOW), 20);
  EXPECT_EQ(count_colour(f, 300, 220, 390, 236, COLOUR_PURPLE), 0);
  EXPECT_GT(count_colour(f, 300, 180, 390, 196, COLOUR_PURPLE), 20);
  EXPECT_GT(count_colour(f, 410, 221, 600, 237, COLOUR_WHITE), 100);
}

TEST_F(Menu, EscCountsOnlyFromTheFiftiethFrame) {
  menu_frames = 0;   // as the about and hi-score screens leave it
  fake_set_key(VK_ESCAPE, true);
  for (int i = 1; i < 50; ++i) EXPECT_EQ(menu_run_frame(), 1) << i;
  EXPECT_EQ(fake_queued_messages(), 0u);
  EXPECT_EQ(menu_run_frame(), 0);
  EXPECT_EQ(fake_frame_count(), 49u) << "the closing frame draws nothing";
  PlatformMessage m{};
  ASSERT_EQ(platform_peek_message(&m), 1);
  EXPECT_EQ(m.message, static_cast<uint32_t>(WM_DESTROY));
  EXPECT_TRUE(fake_sound_plays().empty()) << "Esc leaves without a sound";
}

TEST_F(Menu, QuitShowsTheFarewellPlaysItsSoundSleepsAndCloses) {
  menu_selection = 4;
  frame();
  uint64_t before = fake_frame_count();
  frame({VK_RETURN});
  ASSERT_EQ(fake_frame_count(), before + 2) << "the farewell frame, then the menu frame";
  const std::vector<FakeFrame>& kept = fake_kept_frames();
  const FakeFrame& farewell = kept[kept.size() - 2];
  EXPECT_GT(count_colour(farewell, 240, 380, 460, 396, COLOUR_PALE_YELLOW), 150);
  EXPECT_GT(count_colour(farewell, 230, 400, 480, 416, COLOUR_PALE_YELLOW), 150);
  EXPECT_LT(count_colour(kept.back(), 230, 380, 480, 416, COLOUR_PALE_YELLOW), 50) << "gone in the next frame";
  EXPECT_EQ(fake_sound_labels(), (Labels{"menuselect.wav", "quit.wav"}));
  EXPECT_EQ(fake_sound_plays()[1].frame, before + 1) << "quit.wav plays once the farewell shows";
  EXPECT_EQ(fake_slept_ms(), 2000u);
  PlatformMessage m{};
  ASSERT_EQ(platform_peek_message(&m), 1);
  EXPECT_EQ(m.message, static_cast<uint32_t>(WM_DESTROY));
  EXPECT_EQ(screen_state, SCREEN_MENU);
}

TEST_F(Menu, EnterOnEachItem) {
  const Labels game_sounds{"menuselect.wav", "connect.wav", "startup.wav"};
  const struct {
    int32_t screen;
    Labels sounds;
  } cases[] = {{SCREEN_GAME, game_sounds}, {SCREEN_GAME, game_sounds},
               {SCREEN_HISCORES, {"menuselect.wav"}}, {SCREEN_ABOUT, {"menuselect.wav"}}};
  for (int32_t item = 0; item < 4; ++item) {
    SCOPED_TRACE(item);
    screen_state = SCREEN_MENU;
    fake_clear_sound_plays();
    game_score = 4321;
    game_level = 3;
    menu_selection = item;
    frame({VK_RETURN});
    EXPECT_EQ(screen_state, cases[item].screen);
    EXPECT_EQ(fake_sound_labels(), cases[item].sounds);
    // Only "New Game" starts afresh; "Resume" goes on with the game as it stood.
    EXPECT_EQ(game_score, item == 1 ? 0 : 4321);
    EXPECT_EQ(game_level, item == 1 ? 1 : 3);
    // In the frame that starts the game the title already stands where the game shows it.
    EXPECT_EQ(title_sprite.x, cases[item].screen == SCREEN_GAME ? 515 : 280);
  }
}

TEST_F(Menu, ScrollingLinesRestartAt640) {
  fake_keep_frames(1);
  ASSERT_EQ(scroll_x_intro, 700.0f);
  ASSERT_EQ(scroll_x_credits, 700.0f);
  for (int i = 0; i < 5699; ++i) menu_run_frame();
  EXPECT_EQ(scroll_x_intro, -4999.0f);
  menu_run_frame();
  EXPECT_EQ(scroll_x_intro, 640.0f);
  for (int i = 0; i < 699; ++i) menu_run_frame();
  EXPECT_EQ(scroll_x_credits, -2499.5f);
  menu_run_frame();
  EXPECT_EQ(scroll_x_credits, 640.0f);
  EXPECT_EQ(scroll_x_intro, -60.0f);
  // Line 1 (pale yellow) is drawn from its position cut to a whole pixel.
  scroll_x_intro = 20.9f;
  frame();
  EXPECT_GT(count_colour(fake_last_frame(), 20, 440, 640, 456, COLOUR_PALE_YELLOW), 500);
  EXPECT_EQ(scroll_x_intro, 19.9f);
}

TEST(MenuText, InformationLinesHaveTheirLengthsAndOpening) {
  const std::string intro = menu_intro_line();
  const std::string credits = menu_credits_line();
  EXPECT_EQ(intro.size(), 779u);
  EXPECT_EQ(credits.size(), 269u);
  EXPECT_EQ(credits.rfind("      Quarrel Forge would like to thank the following people for support ", 0), 0u);
  EXPECT_NE(intro.find("Quarrel Forge"), std::string::npos);
}

}  // namespace
