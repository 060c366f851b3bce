// Key state by virtual-key number, read from SDL's keyboard state at the moment of the call,
// joined by whatever a game controller holds. There is no memory of key presses between calls:
// a tap shorter than a frame is not seen, as the game's polling expects.
#include "platform/platform.h"
#include "platform/sdl/gamepad_sdl.h"
#include "platform/sdl/video_sdl.h"

namespace {

struct KeyMap {
  int32_t vk;
  SDL_Scancode a, b;
};

constexpr KeyMap KEYS[] = {
    {VK_RETURN, SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER},
    {VK_SHIFT, SDL_SCANCODE_LSHIFT, SDL_SCANCODE_RSHIFT},
    {VK_CONTROL, SDL_SCANCODE_LCTRL, SDL_SCANCODE_RCTRL},
    {VK_ESCAPE, SDL_SCANCODE_ESCAPE, SDL_SCANCODE_UNKNOWN},
    {VK_SPACE, SDL_SCANCODE_SPACE, SDL_SCANCODE_UNKNOWN},
    {VK_LEFT, SDL_SCANCODE_LEFT, SDL_SCANCODE_UNKNOWN},
    {VK_UP, SDL_SCANCODE_UP, SDL_SCANCODE_UNKNOWN},
    {VK_RIGHT, SDL_SCANCODE_RIGHT, SDL_SCANCODE_UNKNOWN},
    {VK_DOWN, SDL_SCANCODE_DOWN, SDL_SCANCODE_UNKNOWN},
    {VK_F1, SDL_SCANCODE_F1, SDL_SCANCODE_UNKNOWN},
};

bool pressed(const Uint8* state, SDL_Scancode sc) { return sc != SDL_SCANCODE_UNKNOWN && state[sc]; }

}  // namespace

int32_t platform_key_down(int32_t vk) {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return 0;
  video_pump();
  const Uint8* state = SDL_GetKeyboardState(nullptr);
  for (const KeyMap& k : KEYS) {
    if (k.vk != vk) continue;
    // Alt+Enter belongs to the window (full screen toggle), not to the game.
    if (vk == VK_RETURN && (state[SDL_SCANCODE_LALT] || state[SDL_SCANCODE_RALT])) break;
    if (pressed(state, k.a) || pressed(state, k.b)) return 1;
    break;
  }
  return gamepad_key_down(vk);
}

int32_t platform_any_key_down() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return 0;
  video_pump();
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  for (int i = 0; i < count; ++i)
    if (state[i]) return 1;
  return 0;
}
