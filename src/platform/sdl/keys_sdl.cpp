// The keyboard by physical place: SDL's scancodes are the USB usage codes of the keys, the same
// places the KeyboardEvent.code names name, whatever the layout says the key types.
#include "platform/sdl/keys_sdl.h"

#include "platform/common/controls.h"
#include "platform/common/key_codes.h"
#include "platform/common/settings.h"
#include "platform/sdl/gamepad_sdl.h"
#include "platform/sdl/video_sdl.h"

namespace {

// In KEY_CODE_NAMES order.
constexpr SDL_Scancode SCANCODES[] = {
    SDL_SCANCODE_A, SDL_SCANCODE_B, SDL_SCANCODE_C, SDL_SCANCODE_D, SDL_SCANCODE_E, SDL_SCANCODE_F,
    SDL_SCANCODE_G, SDL_SCANCODE_H, SDL_SCANCODE_I, SDL_SCANCODE_J, SDL_SCANCODE_K, SDL_SCANCODE_L,
    SDL_SCANCODE_M, SDL_SCANCODE_N, SDL_SCANCODE_O, SDL_SCANCODE_P, SDL_SCANCODE_Q, SDL_SCANCODE_R,
    SDL_SCANCODE_S, SDL_SCANCODE_T, SDL_SCANCODE_U, SDL_SCANCODE_V, SDL_SCANCODE_W, SDL_SCANCODE_X,
    SDL_SCANCODE_Y, SDL_SCANCODE_Z, SDL_SCANCODE_0, SDL_SCANCODE_1, SDL_SCANCODE_2, SDL_SCANCODE_3,
    SDL_SCANCODE_4, SDL_SCANCODE_5, SDL_SCANCODE_6, SDL_SCANCODE_7, SDL_SCANCODE_8, SDL_SCANCODE_9,
    SDL_SCANCODE_F1, SDL_SCANCODE_F2, SDL_SCANCODE_F3, SDL_SCANCODE_F4, SDL_SCANCODE_F5, SDL_SCANCODE_F6,
    SDL_SCANCODE_F7, SDL_SCANCODE_F8, SDL_SCANCODE_F9, SDL_SCANCODE_F10, SDL_SCANCODE_F11, SDL_SCANCODE_F12,
    SDL_SCANCODE_F13, SDL_SCANCODE_F14, SDL_SCANCODE_F15, SDL_SCANCODE_F16, SDL_SCANCODE_F17,
    SDL_SCANCODE_F18, SDL_SCANCODE_F19, SDL_SCANCODE_F20, SDL_SCANCODE_F21, SDL_SCANCODE_F22,
    SDL_SCANCODE_F23, SDL_SCANCODE_F24, SDL_SCANCODE_ESCAPE, SDL_SCANCODE_MINUS, SDL_SCANCODE_EQUALS,
    SDL_SCANCODE_BACKSPACE, SDL_SCANCODE_TAB, SDL_SCANCODE_LEFTBRACKET, SDL_SCANCODE_RIGHTBRACKET,
    SDL_SCANCODE_RETURN, SDL_SCANCODE_LCTRL, SDL_SCANCODE_RCTRL, SDL_SCANCODE_LSHIFT, SDL_SCANCODE_RSHIFT,
    SDL_SCANCODE_LALT, SDL_SCANCODE_RALT, SDL_SCANCODE_LGUI, SDL_SCANCODE_RGUI, SDL_SCANCODE_SEMICOLON,
    SDL_SCANCODE_APOSTROPHE, SDL_SCANCODE_GRAVE, SDL_SCANCODE_BACKSLASH, SDL_SCANCODE_COMMA,
    SDL_SCANCODE_PERIOD, SDL_SCANCODE_SLASH, SDL_SCANCODE_NONUSBACKSLASH, SDL_SCANCODE_INTERNATIONAL1,
    SDL_SCANCODE_INTERNATIONAL3, SDL_SCANCODE_CAPSLOCK, SDL_SCANCODE_SPACE, SDL_SCANCODE_APPLICATION,
    SDL_SCANCODE_PRINTSCREEN, SDL_SCANCODE_SCROLLLOCK, SDL_SCANCODE_PAUSE, SDL_SCANCODE_INSERT,
    SDL_SCANCODE_DELETE, SDL_SCANCODE_HOME, SDL_SCANCODE_END, SDL_SCANCODE_PAGEUP, SDL_SCANCODE_PAGEDOWN,
    SDL_SCANCODE_UP, SDL_SCANCODE_DOWN, SDL_SCANCODE_LEFT, SDL_SCANCODE_RIGHT, SDL_SCANCODE_NUMLOCKCLEAR,
    SDL_SCANCODE_KP_0, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_2, SDL_SCANCODE_KP_3, SDL_SCANCODE_KP_4,
    SDL_SCANCODE_KP_5, SDL_SCANCODE_KP_6, SDL_SCANCODE_KP_7, SDL_SCANCODE_KP_8, SDL_SCANCODE_KP_9,
    SDL_SCANCODE_KP_PERIOD, SDL_SCANCODE_KP_DIVIDE, SDL_SCANCODE_KP_MULTIPLY, SDL_SCANCODE_KP_MINUS,
    SDL_SCANCODE_KP_PLUS, SDL_SCANCODE_KP_ENTER, SDL_SCANCODE_KP_EQUALS,
};

struct SdlKeys {
  ActionMask tapped = 0;  // program actions pressed since the last step
  ControlEdges edges;
};

SdlKeys keys;

uint8_t mods_of(Uint16 mod) {
  uint8_t m = 0;
  if (mod & KMOD_ALT) m |= KEY_MOD_ALT;
  if (mod & KMOD_CTRL) m |= KEY_MOD_CTRL;
  if (mod & KMOD_SHIFT) m |= KEY_MOD_SHIFT;
  return m;
}

}  // namespace

static_assert(sizeof(SCANCODES) / sizeof(SCANCODES[0]) == 120, "one scancode for every key name");

int32_t keys_sdl_key(SDL_Scancode scancode) {
  for (int32_t k = 0; k < KEY_CODE_COUNT; ++k)
    if (SCANCODES[k] == scancode) return k;
  return KEY_NONE;
}

SDL_Scancode keys_sdl_scancode(int32_t key) { return key >= 0 && key < KEY_CODE_COUNT ? SCANCODES[key] : SDL_SCANCODE_UNKNOWN; }

ActionMask keys_sdl_held() {
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  bool down[sizeof(SCANCODES) / sizeof(SCANCODES[0])];
  for (int32_t k = 0; k < KEY_CODE_COUNT; ++k) down[k] = SCANCODES[k] < count && state[SCANCODES[k]] != 0;
  return bindings_held(settings_now().keys, down);
}

void keys_sdl_event(const SDL_KeyboardEvent& key) {
  if (key.type != SDL_KEYDOWN || key.repeat) return;
  const int32_t k = keys_sdl_key(key.keysym.scancode);
  if (k != KEY_NONE) keys.tapped |= bindings_pressed(settings_now().keys, k, mods_of(key.keysym.mod)) & PROGRAM_ACTIONS;
}

void keys_sdl_step() {
  // Every source at once: the keyboard's and the controllers' actions.
  const ActionMask held = keys_sdl_held() | gamepad_actions();
  const uint32_t now = SDL_GetTicks();
  const ActionMask left = controls_apply(controls_begun(&keys.edges, held, keys.tapped), now);
  keys.tapped = 0;
  if (left & action_bit(ACTION_FULLSCREEN)) video_toggle_fullscreen();
  settings_tick(now);
}
