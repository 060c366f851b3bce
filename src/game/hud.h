// The side panel of the game screen and the messages of the game phases over the playfield.
#pragma once
#include <cstdint>

#include "game/game.h"

// The side panel onto target, from the state as the frame left it; false when the surface
// gave no device context for the time bar (nothing after it is drawn then, nor the message).
bool hud_draw_panel(const Game& game, const Round& round, const Assets& assets, Surface* target);
// The phase's message over the playfield (and the initials entry's table onto the back buffer).
void hud_draw_message(const Game& game, const Round& round, const Hiscores& hiscores, Surface* target);
// The "Filled" value for a number of claimed cells, e.g. "65.0%", in text_buffer.
const char* hud_filled_text(int32_t cells);
// Right edge (exclusive) of the red time bar, which starts at x = 490; 490 or less: no bar.
int32_t hud_time_bar_right(int32_t seconds_left);
// Whole percent of the playfield claimed beyond the target: the level bonus in thousands.
int32_t hud_extra_percent(int32_t cells);
