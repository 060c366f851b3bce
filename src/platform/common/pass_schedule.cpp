#include "platform/common/pass_schedule.h"

uint64_t schedule_frame_start(uint64_t game_ms, uint64_t real_ms) {
  return game_ms + SCHEDULE_MAX_BEHIND_MS < real_ms ? real_ms : game_ms;
}

bool schedule_pass_due(uint64_t game_ms, uint64_t real_ms, int32_t passes_run) {
  return passes_run < SCHEDULE_MAX_PASSES && game_ms <= real_ms + SCHEDULE_LEAD_MS;
}

uint64_t schedule_next_60hz_tick(uint64_t now_ms) {
  constexpr uint64_t PERIOD_X3 = 50;  // 1000 / 60 ms, in thirds of a millisecond
  const uint64_t next_x3 = (now_ms * 3 / PERIOD_X3 + 1) * PERIOD_X3;
  return (next_x3 + 2) / 3;
}
