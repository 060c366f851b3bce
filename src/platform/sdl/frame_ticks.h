// The arithmetic of the 60 Hz presentation clock, apart from any real counter, so that a
// simulated counter can drive it.
#pragma once
#include <cstdint>

struct FrameTicks {
  uint64_t origin = 0;     // counter value of tick 0
  uint64_t frequency = 1;  // counter units per second
  uint64_t taken = 0;      // ticks before this one have been handed out
};

// Tick n falls at origin + n/60 s, computed from the origin each time so it never drifts.
FrameTicks frame_ticks_start(uint64_t now, uint64_t frequency);
// The counter value to wait for before the next present, given the counter now. Like a
// vertical blank, each tick serves one caller: a caller that comes a little after a tick nobody
// has taken yet (a frame that ran slightly long) gets now, so it goes at once; one that is later
// than that waits for the next tick, never catching up on missed ones.
uint64_t frame_ticks_next(FrameTicks* clock, uint64_t now);
