// Game controllers in the browser, through the Gamepad API's standard layout, mapped by the
// desktop's own controller table. Pads are sampled afresh every pass, so a pad pulled out with
// a button held leaves nothing down.
#include <emscripten/html5.h>

#include "platform/common/actions.h"
#include "platform/web/web_platform.h"

namespace {

// The Gamepad API's standard layout numbers its buttons; PadButton order.
constexpr int32_t STANDARD_INDEX[PAD_BUTTON_COUNT] = {0, 1, 2, 3, 8, 9, 12, 13, 14, 15};
constexpr int32_t MAX_PADS = 4;

struct WebPads {
  ActionMask held = 0;        // what the pads hold this pass
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
      uint32_t buttons = 0;
      for (int32_t b = 0; b < PAD_BUTTON_COUNT; ++b)
        if (down(pad, STANDARD_INDEX[b])) buttons |= 1u << b;
      const bool stick = pad.numAxes >= 2;
      pads.held |= pad_actions(buttons, stick ? static_cast<float>(pad.axis[0]) : 0.0f,
                               stick ? static_cast<float>(pad.axis[1]) : 0.0f);
      south = south || down(pad, STANDARD_INDEX[PAD_CONFIRM_BUTTON]);
    }
  }
  pads.enter_this_pass = south && !pads.south_was_down;
  pads.south_was_down = south;
  if (pads.enter_this_pass) pads.held |= action_bit(ACTION_CONFIRM);
}

ActionMask web_gamepad_actions() { return pads.held; }

bool web_gamepad_key_down(int32_t vk) { return action_game_key_down(pads.held, vk) != 0; }

void web_gamepad_reset() { pads = WebPads{}; }
