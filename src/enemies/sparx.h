// The Sparx: sparks that run along the borders and kill the player on them.
#pragma once
#include <cstdint>

#include "display/bob_at.h"
#include "playfield/player.h"
#include "playfield/playfield.h"

constexpr int32_t SPARX_SLOTS = 4;
constexpr int32_t SPARX_PERIOD_SECONDS = 60;

struct Sparx {
  int32_t x, y;
  int32_t state;      // speed: 0, 1 or 2 extra steps a frame
  int32_t direction;
};

// All four, of which the first sparx_count run (two, and four after the first minute).
struct SparxTeam {
  Sparx sparx[SPARX_SLOTS];
  int32_t sparx_count = 2;
};

// Two running from the top border's middle, two more standing there until the first minute.
void sparx_reset(SparxTeam& team);
// One frame of every running Sparx; true when one of them hit the player while playing.
bool sparx_move_all(SparxTeam& team, const Playfield& playfield, const Player& player, bool playing);
// One step of a Sparx; its heading, or 0 when it found no border to run on.
int32_t sparx_step(Sparx& s, const Playfield& playfield, const Player& player, bool playing, bool* hit);
// Each running Sparx with the one Sparx sprite, its frame centred on the grid point.
void sparx_draw(const SparxTeam& team, const Bob& sprite, Surface* target);

// The minute clock, in every playing frame: time_left is what is left of the period (it may
// be negative for one frame). When it runs out two more Sparx join, or all four change speed;
// a new period begins and true is returned (the caller plays its sound).
bool sparx_timer_update(SparxTeam& team, int32_t now, int32_t* time_left, int32_t* time_base, bool playing);
