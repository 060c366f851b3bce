// The 60 Hz tick, the vertical blank and the verdict on vsync.
#include "platform/common/pacing.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int64_t US_PER_SECOND = 1000000;
constexpr int32_t MIN_REFRESH_HZ = 40, MAX_REFRESH_HZ = 500;
// Fewer back-to-back presents than this say too little: the first swaps of a double- or
// triple-buffered chain return at once even with vsync.
constexpr int32_t MIN_SAMPLES = 3;

// a / b rounded up (b > 0, a of either sign). Ticks and blanks fall between whole microseconds;
// their times round up, so that reaching the time means the tick or blank has really come.
int64_t div_up(int64_t a, int64_t b) { return a >= 0 ? (a + b - 1) / b : -(-a / b); }

}  // namespace

int64_t pace_tick_time(const PaceClock& clock, int64_t n) {
  return clock.origin_us + div_up(n * US_PER_SECOND, PACE_TICKS_PER_SECOND);
}

int64_t pace_next_tick(PaceClock* clock, int64_t now_us) {
  if (!clock->started) {
    clock->started = true;
    clock->origin_us = now_us;
    clock->taken = 0;
  }
  const int64_t since = now_us - clock->origin_us;
  const int64_t last = since < 0 ? -1 : since * PACE_TICKS_PER_SECOND / US_PER_SECOND;  // at or before now
  if (last >= clock->taken) {
    clock->taken = last + 1;
    return now_us;
  }
  clock->taken = last + 2;
  return pace_tick_time(*clock, last + 1);
}

int64_t pace_vblank_index(int64_t t_us, int64_t phase_us, int32_t refresh_hz) {
  const int64_t since = t_us - phase_us;
  return since <= 0 ? 0 : div_up(since * refresh_hz, US_PER_SECOND);
}

int64_t pace_vblank_time(int64_t k, int64_t phase_us, int32_t refresh_hz) {
  return phase_us + div_up(k * US_PER_SECOND, refresh_hz);
}

int64_t pace_next_vblank(int64_t t_us, int64_t phase_us, int32_t refresh_hz) {
  if (refresh_hz <= 0) return t_us;
  return pace_vblank_time(pace_vblank_index(t_us, phase_us, refresh_hz), phase_us, refresh_hz);
}

bool pace_vsync_trusted(const int64_t* intervals_us, int32_t count, int32_t refresh_hz) {
  if (refresh_hz < MIN_REFRESH_HZ || refresh_hz > MAX_REFRESH_HZ || count < MIN_SAMPLES || !intervals_us)
    return false;
  const int64_t period = US_PER_SECOND / refresh_hz;
  std::vector<int64_t> sorted(intervals_us, intervals_us + count);
  std::sort(sorted.begin(), sorted.end());
  const int64_t median = sorted[sorted.size() / 2];
  // Every present must have waited at least half a refresh, and the typical one about one.
  return sorted.front() >= period / 2 && median >= period * 4 / 5 && median <= period * 5 / 4;
}
