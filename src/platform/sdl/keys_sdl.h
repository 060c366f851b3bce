// The SDL keyboard as actions: keys by physical place through the bindings in force, and the
// program's own actions carried out once per press.
#pragma once
#include <SDL.h>

#include <cstdint>

#include "platform/common/actions.h"

// The key (KEY_CODE_NAMES index) at a scancode; KEY_NONE for one we do not name.
int32_t keys_sdl_key(SDL_Scancode scancode);
SDL_Scancode keys_sdl_scancode(int32_t key);
// The actions the keyboard holds now.
ActionMask keys_sdl_held();
// A key event from the window's pump: a press of a program action counts even if it is let go
// before the next look.
void keys_sdl_event(const SDL_KeyboardEvent& key);
// After each pump: the program's actions begun since the last step, from the keyboard and the
// controllers together, carried out; the remembered settings saved when due.
void keys_sdl_step();
