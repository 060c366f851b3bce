// The main menu with its two scrolling lines of information.
#pragma once
#include <cstdint>

#include "common/input.h"

constexpr int32_t MENU_ITEMS = 5;
constexpr int32_t MENU_ESC_FRAMES = 50;

extern int32_t menu_selection;
extern int32_t menu_key_latch;
extern int32_t menu_frames;
extern float scroll_x_intro;
extern float scroll_x_credits;

int32_t menu_run_frame(const Input& input);
// The two information lines (779 and 269 characters).
const char* menu_intro_line();
const char* menu_credits_line();
