// The millisecond frame clock with which the game paces its frames.
#include "display/display.h"
#include "platform/platform.h"


uint32_t clock_start() {
  display.clock_start_ticks = platform_ticks();
  return display.clock_start_ticks;
}

uint32_t clock_read() { return platform_ticks(); }

// Sleeps through the bulk of the wait and spins only the last two milliseconds, which keeps the
// timing as exact as a pure spin without burning a core. The unsigned difference stays right
// across the wrap of the tick count.
uint32_t clock_wait(uint32_t ms) {
  while (display.display_realtime) {
    const uint32_t elapsed = platform_ticks() - display.clock_start_ticks;
    if (elapsed >= ms) break;
    const uint32_t remaining = ms - elapsed;
    if (remaining > 2)
      platform_sleep_ms(remaining - 2);
    else
      platform_relax();
  }
  return clock_read();
}

void clock_sleep(uint32_t ms) {
  if (display.display_realtime) platform_sleep_ms(ms);
}
