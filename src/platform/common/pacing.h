// The presentation clock's decisions, in microseconds of a monotonic clock: pure arithmetic,
// shared by the SDL platform and the fake one so that tests pace exactly as the game does.
#pragma once
#include <cstdint>

constexpr int64_t PACE_TICKS_PER_SECOND = 60;

// A 60 Hz clock whose tick n falls at origin + n/60 s. Each tick serves one frame, like a
// vertical blank: a frame that comes after a tick no one has taken yet goes at once; one that
// comes while the current tick is taken waits for the next. Missed ticks are not caught up.
struct PaceClock {
  bool started = false;
  int64_t origin_us = 0;
  int64_t taken = 0;  // ticks before this one have served a frame
};

// Takes the tick for a frame ready at now_us and returns when the frame may be shown: now_us
// itself, or the next tick. The first call starts the clock.
int64_t pace_next_tick(PaceClock* clock, int64_t now_us);
// The time of tick n: the first whole microsecond at or after it (never before the tick).
int64_t pace_tick_time(const PaceClock& clock, int64_t n);

// On a display whose blanks fall every 1/refresh_hz s (refresh_hz > 0) from phase_us:
// the number of the first blank at or after t_us (blank 0 falls at phase_us),
int64_t pace_vblank_index(int64_t t_us, int64_t phase_us, int32_t refresh_hz);
// the time of blank k, as the first whole microsecond at or after it,
int64_t pace_vblank_time(int64_t k, int64_t phase_us, int32_t refresh_hz);
// and the time of the first blank at or after t_us (t_us itself when refresh_hz is 0).
int64_t pace_next_vblank(int64_t t_us, int64_t phase_us, int32_t refresh_hz);

// Whether presenting really waits for the vertical blank: intervals_us are the times between
// the returns of back-to-back presents. A display that reports no plausible refresh rate
// (Xvfb says 0), or presents that return sooner than the display could have refreshed, or
// much later, are not trusted, and the platform keeps its own clock instead.
bool pace_vsync_trusted(const int64_t* intervals_us, int32_t count, int32_t refresh_hz);
