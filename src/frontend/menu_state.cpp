// The menu's state, kept across frames and across visits to the menu.
#include "frontend/menu.h"

int32_t menu_selection = 0;
int32_t menu_key_latch = 0;
int32_t menu_frames = 0;
float scroll_x_intro = 700.0f;
float scroll_x_credits = 700.0f;
