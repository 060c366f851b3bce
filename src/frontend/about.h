// The about screen: the goal, the enemies and the controls.
#pragma once

void about_screen_run();
