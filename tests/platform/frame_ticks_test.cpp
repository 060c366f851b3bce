// The 60 Hz presentation clock driven by a simulated counter: how many ticks each presented
// frame takes, for loops of different lengths, on counters of different rates.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/sdl/frame_ticks.h"

namespace {

// A loop presents after `work_us` of its own work; the game also waits until `frame_us` after
// its frame began (0: no frame wait, as the menus) before the next frame begins.
struct Loop {
  const char* what;
  uint64_t work_us, frame_us;
  uint64_t ticks;  // per presented frame
};

// Runs a loop on the counter for a number of frames; returns the tick each present fell in.
std::vector<uint64_t> ticks_shown(const Loop& loop, uint64_t frequency, int frames) {
  const uint64_t origin = 987654321;  // any counter value
  auto us = [&](uint64_t n) { return n * frequency / 1000000; };
  FrameTicks clock = frame_ticks_start(origin, frequency);
  std::vector<uint64_t> shown;
  uint64_t now = origin;
  for (int i = 0; i < frames; ++i) {
    const uint64_t frame_start = now;
    now += us(loop.work_us);
    const uint64_t target = frame_ticks_next(&clock, now);
    now = std::max(now, target);  // the wait
    shown.push_back((now - origin) * 60 / frequency);
    now = std::max(now, frame_start + us(loop.frame_us));
  }
  return shown;
}

// Screens paced by the present alone (the menus) show one frame per tick while their work fits
// in a tick, and otherwise take the whole ticks their work spans.
TEST(FrameTicks, EachPresentedFrameTakesItsWholeTicksNeverFewerNeverMore) {
  const Loop loops[] = {
      {"back to back", 0, 0, 1},
      {"a light screen", 2000, 0, 1},
      {"work just under a tick", 16000, 0, 1},
      {"work past a tick by more than the grace", 20000, 0, 2},
      {"work past two ticks", 40000, 0, 3},
  };
  for (uint64_t frequency : {1000000000ull, 3579545ull, 1000000ull})
    for (const Loop& loop : loops) {
      SCOPED_TRACE(testing::Message() << loop.what << " at " << frequency << " Hz");
      const std::vector<uint64_t> shown = ticks_shown(loop, frequency, 600);
      for (size_t i = 1; i < shown.size(); ++i) ASSERT_EQ(shown[i] - shown[i - 1], loop.ticks) << "frame " << i;
    }
}

// The game keeps its own 30 ms frames: each is shown at a tick of its own, one or two ticks
// after the last, and while its work leaves room for a tick the present never holds it back:
// 600 frames span 18 s, 1080 ticks.
TEST(FrameTicks, TheGamesThirtyMillisecondFramesKeepTheirPace) {
  for (uint64_t frequency : {1000000000ull, 3579545ull, 1000000ull})
    for (uint64_t work_us : {1000, 4000, 9000, 13000}) {
      SCOPED_TRACE(testing::Message() << work_us << " us of work at " << frequency << " Hz");
      const std::vector<uint64_t> shown = ticks_shown({"game", work_us, 30000, 0}, frequency, 601);
      for (size_t i = 1; i < shown.size(); ++i) {
        const uint64_t ticks = shown[i] - shown[i - 1];
        ASSERT_TRUE(ticks == 1 || ticks == 2) << "frame " << i << ": " << ticks << " ticks";
      }
      EXPECT_NEAR(static_cast<double>(shown.back() - shown.front()), 1080.0, 1.0);
    }
}

// A frame that runs a little past its tick goes at once and keeps that tick; the next one then
// waits for the tick after. A frame late past the grace waits for the next tick: missed ticks
// are never caught up.
TEST(FrameTicks, ALateFrameTakesItsTickOnlyWithinTheGrace) {
  const uint64_t f = 1000000000, tick = f / 60;
  FrameTicks clock = frame_ticks_start(0, f);
  EXPECT_EQ(frame_ticks_next(&clock, 0), 0u);  // tick 0, at once
  const uint64_t slightly_late = tick + 2500000;
  EXPECT_EQ(frame_ticks_next(&clock, slightly_late), slightly_late);  // tick 1, at once
  EXPECT_EQ(frame_ticks_next(&clock, slightly_late) * 60 / f, 2u);    // tick 2 is waited for
  const uint64_t too_late = 5 * f / 60 + 3500000;
  EXPECT_EQ(frame_ticks_next(&clock, too_late) * 60 / f, 6u);  // ticks 3 to 5 are gone
  EXPECT_EQ(frame_ticks_next(&clock, 6 * f / 60 + 1000) * 60 / f, 7u);  // 6 was taken
}

}  // namespace
