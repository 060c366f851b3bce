// Game controllers in the browser, through the Gamepad API's standard layout, mapped as on the
// desktop: D-pad and left stick the arrows, south Ctrl (and Enter, only in the pass its press
// begins), east Shift, west Space, Start F1, Back Esc. Pads are sampled afresh every pass, so a
// pad pulled out with a button held leaves nothing down.
#include <emscripten/html5.h>

#include "common/input.h"
#include "platform/web/web_platform.h"

namespace {

// Buttons of the standard layout by index.
enum : int32_t { SOUTH = 0, EAST = 1, WEST = 2, BACK = 8, START = 9, DPAD_UP = 12, DPAD_DOWN = 13, DPAD_LEFT = 14, DPAD_RIGHT = 15 };

struct ButtonKey {
  int32_t button;
  int32_t vk;
};

constexpr ButtonKey BUTTON_KEYS[] = {
    {DPAD_LEFT, VK_LEFT}, {DPAD_UP, VK_UP}, {DPAD_RIGHT, VK_RIGHT}, {DPAD_DOWN, VK_DOWN}, {SOUTH, VK_CONTROL},
    {EAST, VK_SHIFT},     {WEST, VK_SPACE}, {START, VK_F1},         {BACK, VK_ESCAPE},
};
// Half-way out: a stick at rest, or drifting, never moves the marker.
constexpr double STICK_THRESHOLD = 0.5;
constexpr int32_t MAX_PADS = 4;

struct WebPads {
  uint16_t held = 0;          // the game's keys the pads hold this pass
  bool south_was_down = false;
  bool enter_this_pass = false;
};

WebPads pads;

bool down(const EmscriptenGamepadEvent& pad, int32_t button) {
  return button < pad.numButtons && pad.digitalButton[button];
}

}  // namespace

void web_gamepad_begin_pass() {
  pads.held = 0;
  bool south = false;
  if (emscripten_sample_gamepad_data() == EMSCRIPTEN_RESULT_SUCCESS) {
    const int32_t count = emscripten_get_num_gamepads();
    for (int32_t i = 0; i < count && i < MAX_PADS; ++i) {
      EmscriptenGamepadEvent pad;
      if (emscripten_get_gamepad_status(i, &pad) != EMSCRIPTEN_RESULT_SUCCESS || !pad.connected) continue;
      for (const ButtonKey& k : BUTTON_KEYS)
        if (down(pad, k.button)) pads.held |= input_key_bit(k.vk);
      if (pad.numAxes >= 2) {
        if (pad.axis[0] <= -STICK_THRESHOLD) pads.held |= input_key_bit(VK_LEFT);
        if (pad.axis[0] >= STICK_THRESHOLD) pads.held |= input_key_bit(VK_RIGHT);
        if (pad.axis[1] <= -STICK_THRESHOLD) pads.held |= input_key_bit(VK_UP);
        if (pad.axis[1] >= STICK_THRESHOLD) pads.held |= input_key_bit(VK_DOWN);
      }
      south = south || down(pad, SOUTH);
    }
  }
  pads.enter_this_pass = south && !pads.south_was_down;
  pads.south_was_down = south;
  if (pads.enter_this_pass) pads.held |= input_key_bit(VK_RETURN);
}

bool web_gamepad_key_down(int32_t vk) { return (pads.held & input_key_bit(vk)) != 0; }

void web_gamepad_reset() { pads = WebPads{}; }
