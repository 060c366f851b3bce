// The whole program through the fake platform: the main loop's messages, the screen
// transitions and the ways the program ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/game_data_dir.h"
#include "display/display.h"
#include "frontend/menu.h"
#include "game/game.h"
#include "platform/fake/fake_platform.h"
#include "sound/sound.h"

namespace {

class Shell : public GameDataDir {
 protected:
  // Runs the real program; the script is called after every presented frame with its number.
  int32_t run(std::function<void(uint64_t)> script) {
    bool runaway = false;
    fake_on_present([&](uint64_t frame) {
      if (frame > 3000 && !runaway) {
        runaway = true;
        fake_close_window();
      }
      if (!runaway) script(frame);
    });
    int32_t result = app_main(1);
    fake_on_present(nullptr);
    EXPECT_FALSE(runaway) << "the program did not end by itself";
    return result;
  }
  // Presses a key for one frame: down after frame n, up after frame n + 1.
  static void tap(uint64_t frame, uint64_t n, int32_t vk) {
    if (frame == n) fake_set_key(vk, true);
    if (frame == n + 1) fake_set_key(vk, false);
  }
};

TEST(ShellStart, NoWindowFailsWithoutTouchingTheDisplay) {
  fake_reset();
  fake_fail_window(true);
  EXPECT_NE(app_main(1), 0);
  EXPECT_EQ(display_primary, nullptr);
  EXPECT_EQ(fake_frame_count(), 0u);
  EXPECT_TRUE(fake_cursor_shown());
}

TEST_F(Shell, RefusedDisplayFailsWithoutRunningTheLoop) {
  fake_fail_display(true);
  platform_post_message(WM_QUIT, 0, 0);
  EXPECT_NE(app_main(1), 0);
  EXPECT_EQ(fake_frame_count(), 0u);
  EXPECT_EQ(fake_queued_messages(), 1u) << "the loop must not have taken any message";
}

TEST_F(Shell, OneMessagePerPassAndNoFrameAfterTheQuitMessage) {
  std::vector<size_t> queued;
  int32_t result = run([&](uint64_t frame) {
    if (frame == 3) {
      for (uint32_t m : {WM_PAINT, WM_PAINT, WM_CREATE}) platform_post_message(m, 0, 0);
      platform_post_message(0x400, 0, 0);   // a message nobody knows
    }
    if (frame > 3) queued.push_back(fake_queued_messages());
    if (frame == 8) platform_post_message(WM_QUIT, 7, 0);
  });
  EXPECT_EQ(result, 7);
  EXPECT_EQ(queued, (std::vector<size_t>{3, 2, 1, 0, 0}));
  EXPECT_EQ(fake_frame_count(), 8u);
  // The shut-down ran: display, sound and every buffer are gone.
  EXPECT_EQ(display_primary, nullptr);
  EXPECT_EQ(sound_device, 0);
  EXPECT_EQ(fake_audio_live_buffers(), 0u);
}

TEST_F(Shell, ResumeRightAfterStartEntersTheFreshGame) {
  int32_t selection_at_start = -1, level = 0, lives = 0, phase = -1, score = -1;
  int32_t result = run([&](uint64_t frame) {
    if (frame == 1) selection_at_start = menu_selection;
    tap(frame, 1, VK_UP);   // from "New Game" up to "Resume"
    tap(frame, 3, VK_RETURN);
    if (frame == 8) {
      EXPECT_EQ(screen_state, SCREEN_GAME);
      level = game_level, lives = game_lives, phase = game_phase, score = game_score;
      platform_post_message(WM_QUIT, 0, 0);
    }
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(selection_at_start, 1);
  EXPECT_EQ(level, 1);
  EXPECT_EQ(lives, LIVES_AT_START);
  EXPECT_EQ(phase, PHASE_PLAYING);
  EXPECT_EQ(score, 0);
  std::vector<std::string> labels = fake_sound_labels();
  auto select = std::find(labels.begin(), labels.end(), "menuselect.wav");
  ASSERT_GE(labels.end() - select, 3);
  EXPECT_EQ(std::vector<std::string>(select, select + 3),
            (std::vector<std::string>{"menuselect.wav", "connect.wav", "startup.wav"}));
}

TEST_F(Shell, EscHeldFromTheGameClosesOnlyAtTheMenusFiftiethFrame) {
  bool esc = false;
  int32_t menu_presents_after_esc = 0;
  int32_t result = run([&](uint64_t frame) {
    tap(frame, 1, VK_RETURN);   // "New Game"
    if (esc && screen_state == SCREEN_MENU) ++menu_presents_after_esc;
    if (frame == 6) {
      EXPECT_EQ(screen_state, SCREEN_GAME);
      fake_set_key(VK_ESCAPE, true);
      esc = true;
    }
  });
  EXPECT_EQ(result, 0);
  // The game frame that sees Esc still flips, then menu frames 2 to 49 draw; the 50th closes.
  EXPECT_EQ(menu_presents_after_esc, 1 + 48);
}

TEST_F(Shell, ClosingTheWindowOnTheAboutOrHiscoreScreenEndsNormally) {
  for (int32_t downs : {1, 2}) {   // from "New Game" to "Hi-Scores", to "About"
    SCOPED_TRACE(downs);
    const int32_t screen = downs == 1 ? SCREEN_HISCORES : SCREEN_ABOUT;
    screen_state = SCREEN_MENU;
    uint64_t closed_at = 0;
    uint64_t frames_before = fake_frame_count();
    int32_t result = run([&](uint64_t frame) {
      frame -= frames_before;
      tap(frame, 1, VK_DOWN);
      if (downs == 2) tap(frame, 3, VK_DOWN);
      tap(frame, 5, VK_RETURN);
      if (frame == 10) {
        EXPECT_EQ(screen_state, screen);
        fake_close_window();
        closed_at = frame;
      }
    });
    EXPECT_EQ(result, 0);
    EXPECT_LE(fake_frame_count() - frames_before, closed_at + 1) << "the screen kept drawing after the close";
    EXPECT_EQ(display_primary, nullptr);
    fake_reset();
  }
}

}  // namespace
