// The hi-score list screen and the drawing of the table.
#pragma once
#include <cstdint>

#include "common/input.h"

void hiscore_table_draw(int32_t shift_left);
void hiscore_screen_run(const Input& input);
