// The game's random numbers: the classic linear congruential generator, the same on every platform.
#pragma once
#include <cstdint>

// One generator for the whole program: the order of every draw is part of the game's rules.
extern uint32_t random_state;

void random_seed(uint32_t seed);
// 0..32767: state := state * 214013 + 2531011, the value is bits 16..30 of the new state.
int32_t random_next();
// 0..n-1 as random_next() * n / 32768.0, truncated.
int32_t random_below(int32_t n);
