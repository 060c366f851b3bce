// The player's marker and the stix it draws.
#pragma once
#include <cstdint>

#include "common/input.h"

enum : int32_t { DIR_RIGHT = 1, DIR_LEFT = 2, DIR_UP = 3, DIR_DOWN = 4 };

constexpr int32_t STEP_CELLS = 2;
constexpr int32_t PLAYER_START_X = 320;
constexpr int32_t PLAYER_START_Y = 468;

#include "playfield/playfield.h"

// The marker and the stix it draws.
struct Player {
  int32_t player_x = PLAYER_START_X, player_y = PLAYER_START_Y;
  int32_t player_direction = 0;
  int32_t player_drawing = 0;  // 1 while a stix is under way
  int32_t stix_speed = 0;      // the move mode the stix began with: 1 slow, 2 fast
  int32_t stix_start_x = PLAYER_START_X, stix_start_y = PLAYER_START_Y;
};

// How far one step moved the marker, and whether a draw key was held.
struct PlayerMove {
  int32_t sx = 0, sy = 0;
  bool draw_key = false;
};

// A movement step of the marker comes in two halves, because the Fuse's lighting rule looks at
// the marker between them. The first: the keys of the frame (move mode 0 none, 1 Ctrl, 2
// Shift), the restrictions, the move and the start of a stix.
PlayerMove player_move(Player& player, const Playfield& playfield, int32_t move_mode, const Input& input);
// The second: the stix laid where the marker went. True when the stix has just closed on a
// border and its claim is to be made (Space held cancels the claim).
bool player_lay_stix(Player& player, Playfield& playfield, const PlayerMove& move, const Input& input);
