// The 60 Hz presentation clock's ticks, from any counter.
#include "platform/sdl/frame_ticks.h"

namespace {

constexpr uint64_t TICKS_PER_SECOND = 60;
// A frame this close behind a tick that no one has taken yet still counts as on time.
constexpr uint64_t GRACE_MICROSECONDS = 3000;

}  // namespace

FrameTicks frame_ticks_start(uint64_t now, uint64_t frequency) {
  FrameTicks clock;
  clock.origin = now;
  clock.frequency = frequency > 0 ? frequency : 1;
  return clock;
}

uint64_t frame_ticks_next(FrameTicks* clock, uint64_t now) {
  const uint64_t f = clock->frequency;
  const uint64_t last = (now - clock->origin) * TICKS_PER_SECOND / f;  // the tick at or before now
  const uint64_t late_us = (now - clock->origin - last * f / TICKS_PER_SECOND) * 1000000 / f;
  if (last >= clock->taken && late_us <= GRACE_MICROSECONDS) {
    clock->taken = last + 1;
    return now;
  }
  clock->taken = last + 2;
  // The first counter value inside the next tick, rounded up: rounded down it would lie in the
  // tick before (1e9 / 60 is not whole), and a present woken there would take that tick again.
  return clock->origin + ((last + 1) * f + TICKS_PER_SECOND - 1) / TICKS_PER_SECOND;
}
