// The Sparx: sparks that run along the borders and kill the player on them.
#pragma once
#include <cstdint>

#include "display/bob.h"

constexpr int32_t SPARX_SLOTS = 4;

// Position in x, y; speed in the Bob's state field, direction in its direction field.
struct Sparx {
  Bob sprite;
  int32_t x, y;
};

extern Sparx sparx[SPARX_SLOTS];
extern int32_t sparx_count;

void sparx_create();
void sparx_reset();
void sparx_destroy();
void sparx_move_all();
int32_t sparx_step(int32_t i);
void sparx_draw();
void sparx_timer_update();
