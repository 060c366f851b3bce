// The whole program through the fake platform: failing to come up, the main loop's events,
// the screen transitions and the ways the program ends.
#include <gtest/gtest.h>

#include "app/game_data_dir.h"
#include "display/display.h"
#include "game/game.h"
#include "sound/sound.h"

namespace {

// The program app_main runs, watched from the fake platform's hooks.
const Program& P() { return *app_program(); }

class Shell : public GameDataDir {
 protected:
  // Runs the real program; the script is called after every presented frame with its number.
  int32_t run(const std::function<void(uint64_t)>& script) {
    fake_capture_frames(false);
    fake_on_present([&](uint64_t frame) {
      if (frame <= 3000) script(frame);
      if (frame == 3001) fake_close_window();   // a runaway: end it, and fail below
    });
    int32_t result = app_main(Options{});
    EXPECT_LE(fake_frame_count(), 3000u) << "the program did not end by itself";
    return result;
  }
  // Presses a key for one frame: down after frame n, up after frame n + 1.
  static void tap(uint64_t frame, uint64_t n, int32_t vk) {
    if (frame == n || frame == n + 1) fake_set_key(vk, frame == n);
  }
};

TEST_F(Shell, NoWindowOrNoDisplayFailsWithoutRunningTheLoop) {
  for (bool no_window : {true, false}) {
    SCOPED_TRACE(no_window);
    fake_reset();
    fake_fail_window(no_window);
    fake_fail_display(!no_window);
    platform_post_message(PLATFORM_EVENT_QUIT);
    EXPECT_NE(app_main(Options{}), 0);
    EXPECT_EQ(display.display_primary, nullptr);
    EXPECT_EQ(fake_frame_count(), 0u);
    EXPECT_EQ(fake_queued_messages(), 1u) << "the loop must not have taken any event";
    EXPECT_TRUE(fake_cursor_shown());
  }
}

TEST_F(Shell, OneEventPerPassAClosePostsTheQuitAndNoFrameFollowsTheQuit) {
  std::vector<size_t> queued;
  int32_t result = run([&](uint64_t frame) {
    if (frame == 3) {
      platform_post_message(PLATFORM_EVENT_CLOSE);
      platform_post_message(PLATFORM_EVENT_CLOSE);
    }
    if (frame > 3) queued.push_back(fake_queued_messages());
  });
  EXPECT_EQ(result, 0);
  // Each pass takes one close and queues a quit behind the rest; the first quit taken ends the
  // run before its pass draws.
  EXPECT_EQ(queued, (std::vector<size_t>{2, 2}));
  EXPECT_EQ(fake_frame_count(), 5u);
  // The shut-down ran: display, sound and every buffer are gone.
  EXPECT_EQ(display.display_primary, nullptr);
  EXPECT_EQ(sound_engine.sound_device, 0);
  EXPECT_EQ(fake_audio_live_buffers(), 0u);
}

TEST_F(Shell, ResumeRightAfterStartEntersTheFreshGame) {
  int32_t result = run([&](uint64_t frame) {
    tap(frame, 1, VK_UP);   // from "New Game", where the menu starts, up to "Resume"
    tap(frame, 3, VK_RETURN);
    if (frame == 8) {
      EXPECT_EQ(P().frontend.screen_state, SCREEN_GAME);
      EXPECT_EQ(P().game.game_level, 1);
      EXPECT_EQ(P().game.game_lives, 5);
      EXPECT_EQ(P().game.game_phase, PHASE_PLAYING);
      EXPECT_EQ(P().game.game_score, 0);
      platform_post_message(PLATFORM_EVENT_QUIT);
    }
  });
  EXPECT_EQ(result, 0);
}

TEST_F(Shell, EscHeldFromTheGameClosesOnlyAtTheMenusFiftiethFrame) {
  int32_t menu_presents_after_esc = 0;
  int32_t result = run([&](uint64_t frame) {
    tap(frame, 1, VK_RETURN);   // "New Game"
    if (frame > 6 && P().frontend.screen_state == SCREEN_MENU) ++menu_presents_after_esc;
    if (frame == 6) {
      EXPECT_EQ(P().frontend.screen_state, SCREEN_GAME);
      fake_set_key(VK_ESCAPE, true);
    }
  });
  EXPECT_EQ(result, 0);
  // The game frame that sees Esc still flips (the screen changes once it is over), then menu
  // frames 2 to 49 draw; the 50th closes.
  EXPECT_EQ(menu_presents_after_esc, 48);
}

}  // namespace
