// The Fuse: lit at the stix start when the player hesitates, it burns along the stix.
#pragma once
#include <cstdint>

#include "display/bob_at.h"
#include "playfield/player.h"
#include "playfield/playfield.h"

constexpr int32_t FUSE_IGNITE_DELAY = 10;
constexpr int32_t FUSE_SIZZLE_FRAMES = 20;

struct Fuse {
  int32_t x = 0, y = 0;
  int32_t state = 0;                      // 1 while it burns
  int32_t direction = 0;
  int32_t counter_a = FUSE_IGNITE_DELAY;  // frames of standing still left before it lights
  int32_t counter_b = 0;                  // frames until its next sizzle
};

// One frame of a burning Fuse; true when it reached the player while playing (it is then out).
bool fuse_move(Fuse& fuse, const Playfield& playfield, const Player& player, bool playing);
// Its picture one cell right of the grid point.
void fuse_draw(const Fuse& fuse, const Bob& sprite, Surface* target);
// The lighting rule, applied after every movement half of a player step: moving puts the Fuse
// out, standing still while drawing counts the delay down and lights it at the stix start.
void fuse_after_player_step(Fuse& fuse, const Player& player, const Playfield& playfield, bool moved);
