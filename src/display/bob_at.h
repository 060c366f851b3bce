// A sprite drawn at a place of the caller's, leaving the sprite itself as it is: one picture
// can then serve every Sparx, and drawing changes no state.
#pragma once
#include "display/bob.h"

inline bool bob_draw_at(const Bob& sprite, int32_t x, int32_t y, Surface* target) {
  Bob placed = sprite;
  placed.x = x;
  placed.y = y;
  return bob_draw(&placed, target) != 0;
}
