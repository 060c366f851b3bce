// The shell's globals.
#include "app/app.h"

int32_t screen_state = SCREEN_MENU;
int32_t app_window = 0;
int32_t app_instance = 0;
