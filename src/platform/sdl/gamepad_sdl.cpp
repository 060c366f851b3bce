// Game controllers, plugged in and out at any time. SDL's controller layer maps every known
// pad onto one layout (south, east, west buttons, D-pad, sticks), which the shared controller
// mapping turns into actions.
#include "platform/sdl/gamepad_sdl.h"

#include <SDL.h>

#include <vector>

#include "platform/platform.h"

namespace {

// SDL's buttons at the standard layout's positions, in PadButton order.
constexpr SDL_GameControllerButton SDL_BUTTONS[PAD_BUTTON_COUNT] = {
    SDL_CONTROLLER_BUTTON_A,         SDL_CONTROLLER_BUTTON_B,         SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,         SDL_CONTROLLER_BUTTON_BACK,      SDL_CONTROLLER_BUTTON_START,
    SDL_CONTROLLER_BUTTON_DPAD_UP,   SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_DPAD_LEFT,
    SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
};

struct Gamepads {
  bool tried = false;      // the controller layer was started (or failed to start)
  bool available = false;
  std::vector<SDL_GameController*> open;
  bool enter_this_pass = false;
};

Gamepads pads;

SDL_JoystickID instance_of(SDL_GameController* c) { return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(c)); }

void open_device(int index) {
  if (!SDL_IsGameController(index)) return;
  const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
  for (SDL_GameController* c : pads.open)
    if (instance_of(c) == id) return;  // met at start-up and again through its added event
  if (SDL_GameController* c = SDL_GameControllerOpen(index)) pads.open.push_back(c);
}

void close_device(SDL_JoystickID id) {
  std::erase_if(pads.open, [id](SDL_GameController* c) {
    if (instance_of(c) != id) return false;
    SDL_GameControllerClose(c);
    return true;
  });
}

// Started with the first key query or pass once the window is up, so a game without a window
// (and every test that never asks) never scans for devices.
bool started() {
  if (pads.tried) return pads.available;
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
  pads.tried = true;
  pads.available = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  if (pads.available)
    for (int i = 0; i < SDL_NumJoysticks(); ++i) open_device(i);
  return pads.available;
}

float axis(SDL_GameController* c, SDL_GameControllerAxis a) {
  return static_cast<float>(SDL_GameControllerGetAxis(c, a)) / 32768.0f;
}

ActionMask actions_of(SDL_GameController* c) {
  uint32_t buttons = 0;
  for (int32_t b = 0; b < PAD_BUTTON_COUNT; ++b)
    if (SDL_GameControllerGetButton(c, SDL_BUTTONS[b])) buttons |= 1u << b;
  return pad_actions(buttons, axis(c, SDL_CONTROLLER_AXIS_LEFTX), axis(c, SDL_CONTROLLER_AXIS_LEFTY));
}

}  // namespace

void gamepad_handle_event(const SDL_Event& event) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
      open_device(event.cdevice.which);
      break;
    case SDL_CONTROLLERDEVICEREMOVED:
      close_device(event.cdevice.which);
      break;
    case SDL_CONTROLLERBUTTONDOWN:
      if (event.cbutton.button == SDL_BUTTONS[PAD_CONFIRM_BUTTON]) pads.enter_this_pass = true;
      break;
    default:
      break;
  }
}

void gamepad_begin_pass() {
  started();
  pads.enter_this_pass = false;
}

ActionMask gamepad_actions() {
  if (!started()) return 0;
  ActionMask held = pads.enter_this_pass ? action_bit(ACTION_CONFIRM) : 0;
  for (SDL_GameController* c : pads.open) held |= actions_of(c);
  return held;
}

int32_t gamepad_key_down(int32_t vk) { return action_game_key_down(gamepad_actions(), vk); }

int32_t gamepad_count() { return static_cast<int32_t>(pads.open.size()); }

int32_t gamepad_sdl_button(PadButton button) {
  return button >= 0 && button < PAD_BUTTON_COUNT ? SDL_BUTTONS[button] : SDL_CONTROLLER_BUTTON_INVALID;
}
