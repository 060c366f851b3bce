// The game's own copy of the classic generator, so every platform draws the same numbers.
#include "common/random.h"

uint32_t random_state = 1;

void random_seed(uint32_t seed) { random_state = seed; }

int32_t random_next() {
  random_state = random_state * 214013u + 2531011u;
  return static_cast<int32_t>((random_state >> 16) & 0x7FFF);
}

// The product is formed in double so that no n can overflow it; for the small n the game uses
// this is exactly r * n / 32768.0.
int32_t random_below(int32_t n) {
  return static_cast<int32_t>(static_cast<double>(random_next()) * n / 32768.0);
}
