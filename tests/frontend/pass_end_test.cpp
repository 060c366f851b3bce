// Presenting and pacing belong to the main loop's pass: a screen only draws and says how its
// pass ends, and the pass's end shows the picture and waits as asked.
#include <gtest/gtest.h>

#include "app/game_data_dir.h"
#include "live_input.h"

namespace {

using PassEnd = StartedProgram;

Input holding(std::initializer_list<int32_t> keys) {
  for (int32_t vk : keys) fake_set_key(vk, true);
  const Input input = live_input();
  fake_release_all_keys();
  return input;
}

TEST_F(PassEnd, ScreensDrawAndAskButNeverPresentOrWaitThemselves) {
  Program& w = world();
  struct Case {
    const char* what;
    int32_t screen;
    std::initializer_list<int32_t> keys;
    int32_t pass_end;
  };
  const Case cases[] = {
      {"menu frame", SCREEN_MENU, {}, PASS_END_PRESENT},
      {"about page", SCREEN_ABOUT, {}, PASS_END_PRESENT},
      {"about left with Esc", SCREEN_ABOUT, {VK_ESCAPE}, PASS_END_NOTHING},
      {"hi-score page", SCREEN_HISCORES, {}, PASS_END_PRESENT},
      {"hi-score page left with Esc", SCREEN_HISCORES, {VK_ESCAPE}, PASS_END_NOTHING},
      {"game frame", SCREEN_GAME, {}, PASS_END_GAME_FRAME},
      {"game frame that stops for F1", SCREEN_GAME, {VK_F1}, PASS_END_WAIT_TICK},
      {"game frame still waiting for F1", SCREEN_GAME, {VK_F1}, PASS_END_WAIT_TICK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    screen_state = c.screen;
    menu_frames = 0;
    const Input input = holding(c.keys);
    const uint64_t frames = fake_frame_count(), elapsed = fake_elapsed_ms();
    const FrontendResult r = frontend_run_pass(w.frontend, w.game, w.round, w.hiscores, w.assets, input);
    EXPECT_EQ(r.pass_end, c.pass_end);
    EXPECT_EQ(fake_frame_count(), frames);
    EXPECT_EQ(fake_elapsed_ms(), elapsed);
  }
}

TEST_F(PassEnd, ThePassEndShowsAndWaitsAsAsked) {
  platform_wait_frame_tick();
  struct Case {
    int32_t pass_end;
    uint64_t frames;
    uint64_t min_ms, max_ms;  // how long the pass took, from its start on a 60 Hz tick
  };
  const Case cases[] = {
      {PASS_END_NOTHING, 0, 0, 0},
      {PASS_END_PRESENT, 1, 16, 17},
      {PASS_END_GAME_FRAME, 1, GAME_FRAME_MS, GAME_FRAME_MS},
      {PASS_END_WAIT_TICK, 0, 16, 17},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pass_end);
    platform_wait_frame_tick();
    const uint64_t frames = fake_frame_count(), started = fake_elapsed_ms();
    app_pass_begin();
    app_pass_end(c.pass_end);
    EXPECT_EQ(fake_frame_count() - frames, c.frames);
    EXPECT_GE(fake_elapsed_ms() - started, c.min_ms);
    EXPECT_LE(fake_elapsed_ms() - started, c.max_ms);
  }
}

// The frame clock starts with every pass, so the frame that goes on once F1 is up lasts a
// whole game frame too, however long the wait for F1 was.
TEST_F(PassEnd, TheFrameGoingOnAfterF1LastsAWholeGameFrame) {
  screen_state = SCREEN_GAME;
  game_run_frame(live_input());
  fake_set_key(VK_F1, true);
  for (int pass = 0; pass < 10; ++pass) game_run_frame(live_input());
  ASSERT_EQ(game_phase, PHASE_PAUSED);
  ASSERT_TRUE(game_frame_waiting());
  fake_set_key(VK_F1, false);
  const uint64_t frames = fake_frame_count(), started = fake_elapsed_ms();
  game_run_frame(live_input());
  EXPECT_FALSE(game_frame_waiting());
  EXPECT_EQ(fake_frame_count(), frames + 1);
  EXPECT_GE(fake_elapsed_ms() - started, GAME_FRAME_MS);
}

}  // namespace
