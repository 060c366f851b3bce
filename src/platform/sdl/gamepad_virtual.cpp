// A controller with no hardware behind it, through SDL's virtual joystick driver. Declared as a
// game controller with every standard button and axis, so SDL maps it like a real pad.
#include <SDL.h>

#include <vector>

#include "platform/sdl/gamepad_sdl.h"

namespace {

std::vector<SDL_Joystick*> virtual_pads;  // handle - 1 is the index; null once detached

SDL_Joystick* pad_of(int32_t handle) {
  if (handle < 1 || static_cast<size_t>(handle) > virtual_pads.size()) return nullptr;
  return virtual_pads[static_cast<size_t>(handle) - 1];
}

}  // namespace

int32_t gamepad_virtual_attach() {
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return 0;
  SDL_VirtualJoystickDesc desc;
  SDL_zero(desc);
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  // With every bit set, joystick button i is controller button i (and likewise for axes).
  desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
  desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
  desc.name = "Zorvane virtual pad";
  const int index = SDL_JoystickAttachVirtualEx(&desc);
  SDL_Joystick* joystick = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
  if (!joystick) {
    if (index >= 0) SDL_JoystickDetachVirtual(index);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    return 0;
  }
  virtual_pads.push_back(joystick);
  return static_cast<int32_t>(virtual_pads.size());
}

bool gamepad_virtual_button(int32_t pad, PadButton button, bool down) {
  SDL_Joystick* j = pad_of(pad);
  const SDL_GameControllerButton b = static_cast<SDL_GameControllerButton>(gamepad_sdl_button(button));
  return j && b != SDL_CONTROLLER_BUTTON_INVALID && SDL_JoystickSetVirtualButton(j, b, down ? 1 : 0) == 0;
}

bool gamepad_virtual_axis(int32_t pad, PadAxis axis, int16_t value) {
  SDL_Joystick* j = pad_of(pad);
  const int index = axis == PAD_LEFT_X ? SDL_CONTROLLER_AXIS_LEFTX : SDL_CONTROLLER_AXIS_LEFTY;
  return j && SDL_JoystickSetVirtualAxis(j, index, value) == 0;
}

void gamepad_virtual_detach(int32_t pad) {
  SDL_Joystick* j = pad_of(pad);
  if (!j) return;
  // The driver detaches by device index, which moves as pads come and go: find it now.
  const SDL_JoystickID id = SDL_JoystickInstanceID(j);
  SDL_JoystickClose(j);
  virtual_pads[static_cast<size_t>(pad) - 1] = nullptr;
  for (int i = 0; i < SDL_NumJoysticks(); ++i)
    if (SDL_JoystickGetDeviceInstanceID(i) == id) {
      SDL_JoystickDetachVirtual(i);
      break;
    }
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}
