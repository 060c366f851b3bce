// The browser's main loop: passes run from the page's animation frames on the game's own clock.
// The game's 30 ms frames and the menus' 60 Hz ticks must keep their speed on pages of any
// refresh rate, never run ahead of real time, and never burst after a stall.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/common/pass_schedule.h"

namespace {

enum class PassKind { GAME, MENU };

// One pass as the game makes it on the browser's clock: a menu pass presents (the next 60 Hz
// tick); a game pass presents, then waits for 30 ms after its start, sleeping all but the last
// two milliseconds and stepping those one at a time.
uint64_t run_pass(PassKind kind, uint64_t clock) {
  const uint64_t start = clock;
  clock = schedule_next_60hz_tick(clock);
  if (kind == PassKind::MENU) return clock;
  while (clock - start < 30) {
    const uint64_t remaining = 30 - (clock - start);
    clock += remaining > 2 ? remaining - 2 : 1;
  }
  return clock;
}

struct PageRun {
  int32_t passes = 0;
  int32_t most_in_one_frame = 0;
  int64_t most_ahead_ms = 0;  // the game's clock past real time when a pass began
  uint64_t clock = 0;
};

// Animation frames at hz for the given seconds; a stall of stall_ms at stall_at_ms (a hidden tab).
PageRun simulate(PassKind kind, double hz, double seconds, double stall_at_ms = -1, double stall_ms = 0) {
  PageRun run;
  const double period = 1000.0 / hz;
  double real = 0;
  for (int frame = 0; real < seconds * 1000.0; ++frame) {
    real = frame * period;
    if (stall_at_ms >= 0 && real >= stall_at_ms) real += stall_ms;
    const uint64_t real_ms = static_cast<uint64_t>(real);
    run.clock = schedule_frame_start(run.clock, real_ms);
    int32_t n = 0;
    for (; schedule_pass_due(run.clock, real_ms, n); ++n) {
      run.most_ahead_ms = std::max(run.most_ahead_ms, static_cast<int64_t>(run.clock) - static_cast<int64_t>(real_ms));
      run.clock = run_pass(kind, run.clock);
      ++run.passes;
    }
    run.most_in_one_frame = std::max(run.most_in_one_frame, n);
  }
  return run;
}

TEST(PassSchedule, KeepsTheGameAndMenuSpeedsOnPagesOfAnyRate) {
  for (double hz : {60.0, 59.94, 75.0, 120.0, 144.0, 30.0}) {
    SCOPED_TRACE(hz);
    const PageRun game = simulate(PassKind::GAME, hz, 10);
    EXPECT_NEAR(game.passes, 10000 / 30, 3);  // 30 ms frames: 333 in 10 s
    const PageRun menu = simulate(PassKind::MENU, hz, 10);
    EXPECT_NEAR(menu.passes, 600, 3);
    EXPECT_LE(game.most_ahead_ms, static_cast<int64_t>(SCHEDULE_LEAD_MS));
    EXPECT_LE(menu.most_ahead_ms, static_cast<int64_t>(SCHEDULE_LEAD_MS));
  }
  // On a 60 Hz page every menu tick is a frame of its own: no frame shows two and drops one.
  EXPECT_EQ(simulate(PassKind::MENU, 60, 10).most_in_one_frame, 1);
  // A page slower than the game catches up within a frame, never more than two at once.
  EXPECT_EQ(simulate(PassKind::GAME, 30, 10).most_in_one_frame, 2);
}

TEST(PassSchedule, AStallSkipsAheadInsteadOfRacingThroughMissedPasses) {
  // Five seconds hidden: the passes of those seconds are not run afterwards.
  const PageRun game = simulate(PassKind::GAME, 60, 10, 3000, 5000);
  EXPECT_LE(game.most_in_one_frame, SCHEDULE_MAX_PASSES);
  EXPECT_NEAR(game.passes, (10000 - 5000) / 30, 12);
  // A short hitch is caught up in full.
  const PageRun hitch = simulate(PassKind::GAME, 60, 10, 3000, 100);
  EXPECT_NEAR(hitch.passes, 10000 / 30, 3);
}

TEST(PassSchedule, SixtyHertzTicksFallOnTheFakeClocksMilliseconds) {
  // Ticks of 16.67 ms on a whole-millisecond clock: 17, 34, 50, 67, 84, 100, ...
  std::vector<uint64_t> ticks;
  for (uint64_t t = 0; ticks.size() < 6;) ticks.push_back(t = schedule_next_60hz_tick(t));
  EXPECT_EQ(ticks, (std::vector<uint64_t>{17, 34, 50, 67, 84, 100}));
  // The next tick is always later, and never more than one period away.
  for (uint64_t t = 0; t < 5000; ++t) {
    const uint64_t next = schedule_next_60hz_tick(t);
    ASSERT_GT(next, t);
    ASSERT_LE(next - t, 17u);
  }
}

}  // namespace
