// BOB operations beyond placing and drawing: the scaled draw, animation, moves and overlap.
#pragma once
#include <cstdint>

#include "display/bob.h"

// As bob_draw, stretched into width x height at (x, y) (one short like bob_draw).
bool bob_draw_scaled(Bob* bob, int32_t width, int32_t height, Surface* target);
bool bob_animate(Bob* bob);
// Sequence index (0..15) becomes an owned copy of count (>= 1) frame indices (0..63), ended
// by SEQUENCE_END; bob_destroy frees it.
bool bob_load_sequence(Bob* bob, int32_t index, int32_t count, const int32_t* frames);
bool bob_set_anim_rate(Bob* bob, int32_t rate);
bool bob_set_sequence(Bob* bob, int32_t index);
bool bob_set_velocity(Bob* bob, int32_t vx, int32_t vy);
bool bob_hide(Bob* bob);
bool bob_show(Bob* bob);
// Adds the velocity, then bounces off or wraps around (0, 0)-(639, 479) by the flags.
bool bob_move(Bob* bob);
// True when the two BOBs' collision boxes overlap.
bool bob_overlap(const Bob* a, const Bob* b);
