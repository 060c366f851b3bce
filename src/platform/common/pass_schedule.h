// When a browser's main loop runs passes. A browser hands control back after every animation
// frame, so no wait may block: the game's waits move a clock of its own instead, and each
// animation frame runs the passes whose time on that clock has come. Pure arithmetic, so the
// pacing can be tested without a browser.
#pragma once
#include <cstdint>

// A pass due within this much of the animation frame runs in it, so 60 Hz passes fall one per
// frame of a 60 Hz page whatever the phase between the two clocks.
constexpr uint64_t SCHEDULE_LEAD_MS = 8;
// Further behind than this (a hidden tab, a stalled machine) the game's clock skips ahead
// rather than racing through the missed passes.
constexpr uint64_t SCHEDULE_MAX_BEHIND_MS = 250;
// At most this many passes in one animation frame, so a pass that never waits cannot hang the
// page.
constexpr int32_t SCHEDULE_MAX_PASSES = 4;

// The game's clock at the start of an animation frame at real_ms (both in milliseconds since the
// run began): as it was, or moved up to real time when it has fallen too far behind.
uint64_t schedule_frame_start(uint64_t game_ms, uint64_t real_ms);
// Whether another pass runs in this animation frame, after passes_run of them.
bool schedule_pass_due(uint64_t game_ms, uint64_t real_ms, int32_t passes_run);
// The next tick of the 60 Hz clock after now_ms on a whole-millisecond clock (16.67 ms steps
// counted in thirds of a millisecond, the first millisecond at or after the tick).
uint64_t schedule_next_60hz_tick(uint64_t now_ms);
