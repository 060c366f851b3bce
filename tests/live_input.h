// The input of one pass read from the fake platform, as the main loop reads it; the game's
// clock takes the pass's reading as the main loop gives it.
#pragma once
#include "app/session.h"
#include "world.h"

inline Input live_input() {
  static uint16_t previous_held = 0;
  Input input = session_poll_platform(previous_held);
  previous_held = input.held;
  game_set_now(input.seconds);
  return input;
}
