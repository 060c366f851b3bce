// Milliseconds, calendar seconds, sleeping and the 60 Hz presentation clock.
#include <SDL.h>

#include <chrono>
#include <ctime>
#include <thread>

#include "platform/platform.h"
#include "platform/sdl/clock_sdl.h"
#include "platform/sdl/frame_ticks.h"

namespace {

// Below this much time left, sleeping risks oversleeping past the tick: spin instead. A sleep
// here wakes within about 60 us of its time on an idle machine; a millisecond of spin at 60 Hz
// cost 5 % of a core.
constexpr uint64_t SPIN_MICROSECONDS = 250;

bool frame_clock_started = false;
FrameTicks frame_clock;

// A few hundred nanoseconds: short enough to keep a spin exact, long enough to spare the core's
// sibling and the bus.
void spin_briefly() {
  for (int i = 0; i < 32; ++i) {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#elif defined(__aarch64__)
    asm volatile("yield");
#else
    std::this_thread::yield();
#endif
  }
}

}  // namespace

uint32_t platform_ticks() { return SDL_GetTicks(); }

int64_t platform_time_seconds() { return static_cast<int64_t>(std::time(nullptr)); }

void platform_sleep_ms(uint32_t ms) { SDL_Delay(ms); }

// The caller's clock counts whole milliseconds, so a pause this short loses nothing, and
// sleeping through it spares the core that a spin of the last milliseconds would burn.
void platform_relax() { std::this_thread::sleep_for(std::chrono::microseconds(50)); }

void clock_wait_next_tick() {
  if (!frame_clock_started) {
    frame_clock_started = true;
    frame_clock = frame_ticks_start(SDL_GetPerformanceCounter(), SDL_GetPerformanceFrequency());
  }
  const uint64_t f = frame_clock.frequency;
  const uint64_t target = frame_ticks_next(&frame_clock, SDL_GetPerformanceCounter());
  for (;;) {
    const uint64_t t = SDL_GetPerformanceCounter();
    if (t >= target) return;
    const uint64_t left_us = (target - t) * 1000000 / f;
    if (left_us > SPIN_MICROSECONDS)
      std::this_thread::sleep_for(std::chrono::microseconds(left_us - SPIN_MICROSECONDS));
    else
      spin_briefly();
  }
}

void platform_wait_frame_tick() { clock_wait_next_tick(); }
