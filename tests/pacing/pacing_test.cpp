// Pacing against a display's vertical blank: the 60 Hz clock's rule, the vsync verdict, and the
// real game and menu frames through the fake platform on 60, 75, 120 and 144 Hz displays.
#include <gtest/gtest.h>

#include <vector>

#include "live_input.h"
#include "app/game_data_dir.h"
#include "game/game.h"
#include "platform/common/pacing.h"

namespace {

constexpr int64_t TICK_US = 1000000 / PACE_TICKS_PER_SECOND;

TEST(PaceClock, EachTickServesOneFrameAndMissedTicksAreNotCaughtUp) {
  PaceClock c;
  struct Step {
    int64_t ready_us, shown_us;
  };
  // From its start at 1000: ticks at 1000, 17666.7, 34333.3, 51000, 67666.7, ..., each
  // reached at the first whole microsecond not before it (17667, 34334, ...).
  const Step steps[] = {
      {1000, 1000},    // the first frame starts the clock and goes at once
      {2000, 17667},   // tick 0 is taken: wait for tick 1
      {17700, 34334},  // tick 1 was taken by the wait: the next frame waits for tick 2
      {40000, 51000},  // tick 2 taken: tick 3
      {90000, 90000},  // late: ticks 4 and 5 passed, 5 is free and serves at once
      {91000, 101000}, // 5 taken: tick 6, not a second free one for the missed tick 4
      {101000, 117667},
      {150000, 150000},// a long pause (a 30 ms game frame) always finds a free tick
      {180000, 180000},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.ready_us);
    EXPECT_EQ(pace_next_tick(&c, s.ready_us), s.shown_us);
  }
}

TEST(PaceClock, NextVerticalBlank) {
  struct Case {
    int64_t t_us, phase_us;
    int32_t hz;
    int64_t blank_us;
  };
  const Case cases[] = {
      // Blank 1 at 60 Hz falls at 16666.7 us: reached at 16667, already past at 16667.
      {0, 0, 60, 0},          {1, 0, 60, 16667},       {16666, 0, 60, 16667}, {16667, 0, 60, 33334},
      {6945, 0, 144, 13889},  {6944, 0, 144, 6945},    {5000, 2000, 75, 15334}, {1000, 2000, 75, 2000},
      {50000, 0, 60, 50000},  // blank 3 falls on a whole microsecond
      {12345, 0, 0, 12345},   // no display rate: shown when ready
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.t_us << " @ " << c.hz << " Hz");
    EXPECT_EQ(pace_next_vblank(c.t_us, c.phase_us, c.hz), c.blank_us);
  }
}

// Ticks and blanks fall between whole microseconds (16666.7 us apart at 60 Hz). Counted here by
// cross-multiplying, with no rounding: how many of the events k = 0, 1, ... at
// origin + k / hz s have come by x, and how many came before x.
int64_t events_by(int64_t x, int64_t origin_us, int64_t hz) {
  return x < origin_us ? 0 : (x - origin_us) * hz / 1000000 + 1;
}
int64_t events_before(int64_t x, int64_t origin_us, int64_t hz) {
  return x <= origin_us ? 0 : ((x - origin_us) * hz - 1) / 1000000 + 1;
}

constexpr int64_t START_TIMES[] = {0, 1, 2, 3, 999, 1000, 16666, 16667, 33333, 123457, 1000000007, 3600000000001};

TEST(PaceClock, NoFrameShownBeforeATickOfItsOwnHasComeFromAnyStart) {
  // Gaps between a present's return and the next frame: none, sub-tick, within a microsecond
  // of a tick, the game's 30 ms frames, and stalls that miss ticks.
  constexpr int64_t GAPS[] = {0, 1, 2, 333, 16665, 16666, 16667, 30000, 1, 50000, 5000, 33333, 7, 100001};
  for (int64_t origin : START_TIMES) {
    SCOPED_TRACE(testing::Message() << "started at " << origin);
    PaceClock c;
    int64_t shown = pace_next_tick(&c, origin);
    ASSERT_EQ(shown, origin);
    for (int round = 0; round < 50; ++round)
      for (int64_t gap : GAPS) {
        const int64_t ready = shown + gap;
        const int64_t previous = shown;
        shown = pace_next_tick(&c, ready);
        SCOPED_TRACE(testing::Message() << "ready at " << ready << ", shown at " << shown);
        ASSERT_GE(shown, ready);
        // A tick not yet used by the previous frame has come when the frame is shown ...
        ASSERT_GT(events_by(shown, origin, PACE_TICKS_PER_SECOND), events_by(previous, origin, PACE_TICKS_PER_SECOND));
        // ... and a frame that had to wait is shown the first microsecond that one has.
        if (shown > ready) {
          ASSERT_EQ(events_by(shown - 1, origin, PACE_TICKS_PER_SECOND),
                    events_by(previous, origin, PACE_TICKS_PER_SECOND));
        }
      }
  }
}

TEST(PaceClock, NoBlankReachedBeforeItComesAtAnyRateOrPhase) {
  for (int32_t hz : {60, 75, 120, 144, 50, 59, 61, 85, 90, 100, 165, 170, 240, 360, 499}) {
    for (int64_t phase : START_TIMES) {
      SCOPED_TRACE(testing::Message() << hz << " Hz from " << phase);
      // Every microsecond over the first blanks, and again far on.
      const int64_t span = 3 * 1000000 / hz;
      for (int64_t from : {phase - 3, phase + 86400000017})
        for (int64_t t = from; t < from + span; ++t) {
          const int64_t blank = pace_next_vblank(t, phase, hz);
          const int64_t before = events_before(t, phase, hz);
          // Exactly one blank, the first not before t, has come when the frame is shown, and the
          // frame is shown the first microsecond it has.
          if (blank < t || events_by(blank, phase, hz) != before + 1 || events_by(blank - 1, phase, hz) != before) {
            FAIL() << "ready at " << t << ": shown at " << blank;
          }
        }
    }
  }
}

TEST(PaceClock, VsyncTrustedOnlyWhenPresentsWaitAboutARefresh) {
  struct Case {
    const char* what;
    std::vector<int64_t> intervals;
    int32_t hz;
    bool trusted;
  };
  const Case cases[] = {
      {"waits one refresh at 60 Hz", {16600, 16700, 16650, 16680}, 60, true},
      {"waits one refresh at 144 Hz", {6900, 6950, 6940, 6930}, 144, true},
      {"one late wake-up among good ones", {16600, 16700, 33300, 16680}, 60, true},
      {"returns at once (SDL's software renderer)", {150, 90, 120, 110}, 60, false},
      {"first swaps free, then waits: too few waited", {100, 120, 16600, 16650}, 60, false},
      {"Xvfb reports 0 Hz", {16600, 16700, 16650, 16680}, 0, false},
      {"slow presents are not vsync", {50000, 52000, 51000, 50500}, 144, false},
      {"a 120 Hz display pacing at 60 Hz (compositor)", {16600, 16700, 16650, 16680}, 120, false},
      {"too few presents timed", {16600, 16700}, 60, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(pace_vsync_trusted(c.intervals.data(), static_cast<int32_t>(c.intervals.size()), c.hz), c.trusted);
  }
}

// The real screens, 10 s of fake time on a display with a vertical blank.
class PacedScreens : public StartedProgram {
 protected:
  void TearDown() override {
    fake_set_vblank_hz(0);
    StartedProgram::TearDown();
  }
  // Runs one screen's frames for 10 s and returns what was shown.
  static std::vector<FakeShow> run_for_ten_seconds(int32_t screen, int32_t hz) {
    fake_capture_frames(false);
    fake_set_vblank_hz(hz);
    const size_t before = fake_shows().size();
    const uint64_t end = fake_elapsed_ms() + 10000;
    // Bounded, so that a clock that stops moving fails the count instead of hanging.
    for (int frames = 0; frames < 20000 && fake_elapsed_ms() < end; ++frames) {
      screen_state = screen;
      if (screen == SCREEN_GAME)
        game_run_frame(live_input());
      else
        menu_run_frame(live_input());
    }
    return std::vector<FakeShow>(fake_shows().begin() + static_cast<ptrdiff_t>(before), fake_shows().end());
  }
};

TEST_F(PacedScreens, SameSpeedOnEveryRefreshRateEachFrameOnItsOwnBlankNeverEarly) {
  struct Screen {
    int32_t screen;
    int64_t frame_us;  // the screen's own clock
  };
  const Screen screens[] = {{SCREEN_GAME, GAME_FRAME_MS * 1000}, {SCREEN_MENU, TICK_US}};
  for (const Screen& s : screens) {
    for (int32_t hz : {60, 75, 120, 144}) {
      SCOPED_TRACE(testing::Message() << (s.screen == SCREEN_GAME ? "game" : "menu") << " at " << hz << " Hz");
      const std::vector<FakeShow> shows = run_for_ten_seconds(s.screen, hz);
      const int64_t expected = 10000000 / s.frame_us;
      EXPECT_NEAR(static_cast<int64_t>(shows.size()), expected, 1);
      const int64_t period_us = 1000000 / hz;
      for (size_t i = 0; i < shows.size(); ++i) {
        const FakeShow& f = shows[i];
        ASSERT_GE(f.due_us, f.ready_us) << "frame " << i;
        ASSERT_GE(f.shown_us, f.due_us) << "frame " << i << " shown before its tick";
        // The blank it is shown at has come (blank k falls at k / hz s, between microseconds).
        ASSERT_GE(f.shown_us * static_cast<uint64_t>(hz), static_cast<uint64_t>(f.vblank) * 1000000) << "frame " << i;
        // The first blank after the tick (the fake clock counts whole milliseconds).
        ASSERT_LT(f.shown_us, f.due_us + period_us + 1000) << "frame " << i;
        if (i > 0) {
          ASSERT_GT(f.vblank, shows[i - 1].vblank) << "frame " << i << " shares a blank";
        }
      }
    }
  }
}

}  // namespace
