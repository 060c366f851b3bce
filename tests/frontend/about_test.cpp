// The about screen: drawn until Esc, then back to the menu; a closed window ends it too.
#include <gtest/gtest.h>

#include "live_input.h"
#include "app/game_data_dir.h"
#include "frontend/frontend.h"

namespace {

using About = StartedProgram;

// One page a pass until a pass sees Esc; closing the window stops the pages but leaves the
// screen to the main loop's shut-down.
TEST_F(About, DrawsAPageAPassUntilEscThenHandsBackToTheMenu) {
  for (uint64_t esc_after : {0, 4}) {   // 0: the Esc that left the game still held, back at once
    SCOPED_TRACE(esc_after);
    const uint64_t before = fake_frame_count();
    fake_clear_sound_plays();
    screen_state = SCREEN_ABOUT;
    menu_frames = 37;
    for (uint64_t pass = 0; pass < 10 && screen_state == SCREEN_ABOUT; ++pass) {
      fake_set_key(VK_ESCAPE, pass == esc_after);
      about_screen_run(live_input());
    }
    EXPECT_EQ(fake_frame_count() - before, esc_after);
    EXPECT_EQ(fake_sound_labels(), (Labels{"menuselect.wav"}));
    EXPECT_EQ(screen_state, SCREEN_MENU);
    EXPECT_EQ(menu_frames, 0) << "the menu's Esc delay starts afresh";
  }
  fake_release_all_keys();
  screen_state = SCREEN_ABOUT;
  for (int pass = 0; pass < 3; ++pass) about_screen_run(live_input());
  const uint64_t shown = fake_frame_count();
  fake_close_window();
  about_screen_run(live_input());
  EXPECT_EQ((std::vector<uint64_t>{fake_frame_count(), uint64_t(screen_state)}), (std::vector<uint64_t>{shown, SCREEN_ABOUT}));
}

}  // namespace
