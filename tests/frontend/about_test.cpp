// The about screen: drawn until Esc, then back to the menu; a closed window ends it too.
#include <gtest/gtest.h>

#include "app/game_data_dir.h"
#include "frontend/about.h"

namespace {

using About = StartedProgram;

TEST_F(About, DrawsItsPageUntilEscThenHandsBackToTheMenu) {
  for (uint64_t esc_after : {0, 4}) {   // 0: the Esc that left the game still held, back at once
    SCOPED_TRACE(esc_after);
    const uint64_t before = fake_frame_count();
    fake_clear_sound_plays();
    screen_state = SCREEN_ABOUT;
    menu_frames = 37;
    fake_set_key(VK_ESCAPE, esc_after == 0);
    fake_on_present([=](uint64_t frame) { fake_set_key(VK_ESCAPE, frame - before == esc_after); });
    about_screen_run();
    EXPECT_EQ(fake_frame_count() - before, esc_after);
    EXPECT_EQ(fake_sound_labels(), (Labels{"menuselect.wav"}));
    EXPECT_EQ(screen_state, SCREEN_MENU);
    EXPECT_EQ(menu_frames, 0) << "the menu's Esc delay starts afresh";
  }
}

TEST_F(About, ClosingTheWindowEndsItsLoop) {
  fake_on_present([](uint64_t frame) {
    if (frame == 3) fake_close_window();
  });
  about_screen_run();
  EXPECT_EQ(fake_frame_count(), 3u);
  about_screen_run();   // called again before the program ends, it returns at once
  EXPECT_EQ(fake_frame_count(), 3u);
}

}  // namespace
