// The player's state.
#include "playfield/player.h"

int32_t player_x = PLAYER_START_X, player_y = PLAYER_START_Y;
int32_t player_direction = 0;
int32_t player_drawing = 0;
int32_t stix_speed = 0;
int32_t stix_start_x = PLAYER_START_X, stix_start_y = PLAYER_START_Y;
