// The side panel of the game screen and the messages of the game phases over the playfield.
#pragma once
#include <cstdint>

#include "game/game.h"

// The whole panel and the phase's message, drawn from the state as the frame left it.
void hud_draw(const Game& game, const Round& round, const Hiscores& hiscores, const Assets& assets);
// The "Filled" value for a number of claimed cells, e.g. "65.0%", in text_buffer.
const char* hud_filled_text(int32_t cells);
// Right edge (exclusive) of the red time bar, which starts at x = 490; 490 or less: no bar.
int32_t hud_time_bar_right(int32_t seconds_left);
// Whole percent of the playfield claimed beyond the target: the level bonus in thousands.
int32_t hud_extra_percent(int32_t cells);
