// Game controllers as keys: SDL's controller mapping turns any known pad into the same layout,
// which is read into the virtual keys the game already polls.
#pragma once
#include <cstdint>

#include "platform/common/actions.h"

union SDL_Event;

// Hot-plugging and button presses, from the window's event pump.
void gamepad_handle_event(const SDL_Event& event);
// A main-loop pass begins (platform_peek_message): the Enter of a south press made earlier ends.
void gamepad_begin_pass();
// 1 while a controller holds the key (after the caller pumped events); the south button's
// Enter only in the pass its press began.
int32_t gamepad_key_down(int32_t vk);
// The actions the controllers hold now (the confirm of a south press only in its pass).
ActionMask gamepad_actions();
// Controllers open now.
int32_t gamepad_count();
// SDL's button at a position of the standard layout.
int32_t gamepad_sdl_button(PadButton button);

// A controller without hardware, through SDL's virtual joystick driver (tests, and trying the
// mapping on a machine with no pad). The buttons are the standard layout's, by position.
// Plugs one in; its handle (> 0), or 0 when SDL cannot make one.
int32_t gamepad_virtual_attach();
bool gamepad_virtual_button(int32_t pad, PadButton button, bool down);
bool gamepad_virtual_axis(int32_t pad, PadAxis axis, int16_t value);
// Pulls it out again.
void gamepad_virtual_detach(int32_t pad);
