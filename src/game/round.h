// One level's play: the playfield, the player, the QIXes, the Sparx, the Fuse, and the
// counters that start again with every level.
#pragma once
#include <cstdint>

#include "enemies/fuse.h"
#include "enemies/qix.h"
#include "enemies/sparx.h"
#include "playfield/player.h"
#include "playfield/playfield.h"

struct Round {
  Playfield playfield;
  Player player;
  QixState qix;
  SparxTeam sparx;
  Fuse fuse;
  int32_t claimed_cells = 0;
  int32_t move_mode = 0;           // movement keys of this frame: 0 none, 1 Ctrl, 2 Shift
  int32_t engine_beat_frames = 0;  // frames since the last engine beat
  int32_t phase_frames = 0;        // the life-lost, level-complete and capture waits
  int32_t phase_announced = 0;     // the opening sound of a life-lost or game-over phase given
  int32_t marker_blink = 0;        // 0..15: which marker picture is shown
  int32_t time_base = 0;           // calendar second at which the current minute period began
};

// One movement step of the marker with the frame's move mode, the Fuse's lighting rule after
// its move, and the claim when its stix closes (cells and points added to the round and score).
void player_step(Round& round, int32_t move_mode, int32_t level, int32_t* score, const Input& input);
