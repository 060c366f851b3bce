// Time in the browser. The game's waits cannot block a page, so they move the game's own clock
// and return; the main loop runs the next pass when real time has caught up with that clock.
#include <ctime>

#include "platform/common/pass_schedule.h"
#include "platform/platform.h"
#include "platform/web/web_platform.h"

namespace {
uint64_t game_clock_ms = 0;
}

uint64_t web_clock_now() { return game_clock_ms; }
void web_clock_set(uint64_t ms) { game_clock_ms = ms; }

uint32_t platform_ticks() { return static_cast<uint32_t>(game_clock_ms); }
int64_t platform_time_seconds() { return static_cast<int64_t>(std::time(nullptr)); }
void platform_sleep_ms(uint32_t ms) { game_clock_ms += ms; }
void platform_relax() { game_clock_ms += 1; }
void platform_wait_frame_tick() { game_clock_ms = schedule_next_60hz_tick(game_clock_ms); }
