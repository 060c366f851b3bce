// Game controllers, plugged in and out at any time. SDL's controller layer maps every known
// pad onto one layout (south, east, west buttons, D-pad, sticks), which becomes the game's keys.
#include "platform/sdl/gamepad_sdl.h"

#include <SDL.h>

#include <vector>

#include "platform/platform.h"

namespace {

struct ButtonKey {
  SDL_GameControllerButton button;
  int32_t vk;
};

constexpr ButtonKey BUTTON_KEYS[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, VK_LEFT}, {SDL_CONTROLLER_BUTTON_DPAD_UP, VK_UP},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, VK_RIGHT}, {SDL_CONTROLLER_BUTTON_DPAD_DOWN, VK_DOWN},
    {SDL_CONTROLLER_BUTTON_A, VK_CONTROL},  // south: draw slowly
    {SDL_CONTROLLER_BUTTON_B, VK_SHIFT},    // east: draw fast
    {SDL_CONTROLLER_BUTTON_X, VK_SPACE},    // west
    {SDL_CONTROLLER_BUTTON_START, VK_F1},   {SDL_CONTROLLER_BUTTON_BACK, VK_ESCAPE},
};
// The south button also confirms, but as a press, never as a held key.
constexpr SDL_GameControllerButton ENTER_BUTTON = SDL_CONTROLLER_BUTTON_A;

struct StickKey {
  SDL_GameControllerAxis axis;
  int32_t sign;
  int32_t vk;
};

constexpr StickKey STICK_KEYS[] = {
    {SDL_CONTROLLER_AXIS_LEFTX, -1, VK_LEFT}, {SDL_CONTROLLER_AXIS_LEFTX, 1, VK_RIGHT},
    {SDL_CONTROLLER_AXIS_LEFTY, -1, VK_UP},   {SDL_CONTROLLER_AXIS_LEFTY, 1, VK_DOWN},
};
// Half-way out: a stick at rest, or drifting, never moves the marker.
constexpr int32_t STICK_THRESHOLD = 16384;

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

bool stick_pushed(SDL_GameController* c, const StickKey& k) {
  const int32_t value = SDL_GameControllerGetAxis(c, k.axis);
  return k.sign < 0 ? value <= -STICK_THRESHOLD : value >= STICK_THRESHOLD;
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
      if (event.cbutton.button == ENTER_BUTTON) pads.enter_this_pass = true;
      break;
    default:
      break;
  }
}

void gamepad_begin_pass() {
  started();
  pads.enter_this_pass = false;
}

int32_t gamepad_key_down(int32_t vk) {
  if (!started()) return 0;
  if (vk == VK_RETURN) return pads.enter_this_pass ? 1 : 0;
  for (SDL_GameController* c : pads.open) {
    for (const ButtonKey& k : BUTTON_KEYS)
      if (k.vk == vk && SDL_GameControllerGetButton(c, k.button)) return 1;
    for (const StickKey& k : STICK_KEYS)
      if (k.vk == vk && stick_pushed(c, k)) return 1;
  }
  return 0;
}

int32_t gamepad_count() { return static_cast<int32_t>(pads.open.size()); }
