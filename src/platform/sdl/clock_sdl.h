// The clocks of the SDL platform.
#pragma once
#include <cstdint>

// Microseconds on CLOCK_MONOTONIC since the platform's clock started: the time base of the
// millisecond ticks, the 60 Hz clock and the sleeps, so that they all agree.
int64_t clock_now_us();
// Sleeps until the absolute time t_us (on clock_now_us's scale); returns at once if it is past.
void clock_sleep_until_us(int64_t t_us);
// Waits for the next tick of the 60 Hz clock (see pace_next_tick); returns the tick's time.
int64_t clock_wait_next_tick();
