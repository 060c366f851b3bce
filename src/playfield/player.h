// The player's marker and the stix it draws.
#pragma once
#include <cstdint>

#include "common/input.h"

enum : int32_t { DIR_RIGHT = 1, DIR_LEFT = 2, DIR_UP = 3, DIR_DOWN = 4 };

constexpr int32_t STEP_CELLS = 2;
constexpr int32_t PLAYER_START_X = 320;
constexpr int32_t PLAYER_START_Y = 468;

extern int32_t player_x, player_y;
extern int32_t player_direction;
extern int32_t player_drawing;
extern int32_t stix_speed;
extern int32_t stix_start_x, stix_start_y;

// One movement step of the marker with the frame's move mode (0 none, 1 Ctrl, 2 Shift) and
// the keys held in this frame.
void player_step(int32_t move_mode, const Input& input);
