// The Fuse: lit at the stix start when the player hesitates, it burns along the stix.
#pragma once
#include <cstdint>

#include "display/bob.h"

constexpr int32_t FUSE_IGNITE_DELAY = 10;
constexpr int32_t FUSE_SIZZLE_FRAMES = 20;

// Active flag in the Bob's state, direction in its direction, ignite delay in counter_a,
// sizzle countdown in counter_b.
struct Fuse {
  Bob sprite;
  int32_t x, y;
};

extern Fuse fuse;

void fuse_create();
void fuse_destroy();
void fuse_move();
void fuse_draw();
// The lighting rule, applied after every player step: moving puts the Fuse out, standing still
// while drawing counts the delay down and lights it at the stix start.
void fuse_after_player_step(int32_t moved);
