// Milliseconds, calendar seconds, sleeping and the 60 Hz presentation clock, all on one
// monotonic clock. Waits sleep to absolute deadlines (no spinning): the kernel wakes the thread
// within tens of microseconds, and a deadline, unlike a duration, does not drift when a wake-up
// comes late.
#include <sys/prctl.h>

#include <cerrno>
#include <ctime>

#include "platform/common/pacing.h"
#include "platform/platform.h"
#include "platform/sdl/clock_sdl.h"

namespace {

// How late the kernel may wake us past a deadline (its default is 50 us). Tighter than the
// default, so that a frame meets its tick; loose enough to let it batch wake-ups.
constexpr unsigned long TIMER_SLACK_NS = 20000;

struct Clock {
  bool started = false;
  int64_t origin_ns = 0;
  PaceClock ticks;
};

Clock clock_state;

int64_t monotonic_ns() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

void clock_begin() {
  if (clock_state.started) return;
  clock_state.started = true;
  clock_state.origin_ns = monotonic_ns();
  prctl(PR_SET_TIMERSLACK, TIMER_SLACK_NS, 0, 0, 0);
}

void sleep_until_ns(int64_t t_ns) {
  timespec ts;
  ts.tv_sec = static_cast<time_t>(t_ns / 1000000000);
  ts.tv_nsec = static_cast<long>(t_ns % 1000000000);
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
  }
}

}  // namespace

int64_t clock_now_us() {
  clock_begin();
  return (monotonic_ns() - clock_state.origin_ns) / 1000;
}

void clock_sleep_until_us(int64_t t_us) {
  clock_begin();
  if (t_us <= clock_now_us()) return;
  sleep_until_ns(clock_state.origin_ns + t_us * 1000);
}

int64_t clock_wait_next_tick() {
  const int64_t due = pace_next_tick(&clock_state.ticks, clock_now_us());
  clock_sleep_until_us(due);
  return due;
}

uint32_t platform_ticks() {
  // Whole milliseconds since the clock started; the unsigned cast wraps as the interface says.
  return static_cast<uint32_t>(static_cast<uint64_t>(clock_now_us() / 1000));
}

int64_t platform_time_seconds() { return static_cast<int64_t>(std::time(nullptr)); }

// Until ms more tick boundaries have passed: callers count whole milliseconds of
// platform_ticks, so waking on a boundary is exact and waking anywhere else wastes the rest.
void platform_sleep_ms(uint32_t ms) {
  const int64_t now = clock_now_us();
  clock_sleep_until_us((now / 1000 + static_cast<int64_t>(ms)) * 1000);
}

// Until the next millisecond boundary: the caller's clock cannot change before then, so a wait
// in the last milliseconds wakes once a millisecond instead of spinning.
void platform_relax() { platform_sleep_ms(1); }

void platform_wait_frame_tick() { clock_wait_next_tick(); }
