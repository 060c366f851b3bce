// The about screen: the goal, the enemies and the controls.
#pragma once

#include "common/input.h"

void about_screen_run(const Input& input);
