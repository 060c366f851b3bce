// The 60 Hz presentation clock of the SDL platform.
#pragma once
#include <cstdint>

// Waits for the next tick of the 60 Hz clock: tick n falls at origin + n/60 s, computed from
// the origin each time so it never drifts. Sleeps for the bulk of the wait and spins only the
// last stretch. Like a vertical blank, each tick serves one caller: a caller that comes a
// little after a tick nobody has taken yet (a frame that ran slightly long) goes at once;
// one that is later than that waits for the next tick, never catching up on missed ones.
void clock_wait_next_tick();
