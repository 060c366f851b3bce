// Key state by virtual-key number: the actions the keyboard's keys hold through the bindings in
// force, joined by whatever a game controller holds. There is no memory of key presses between
// calls: a tap shorter than a frame is not seen, as the game's polling expects.
#include "platform/platform.h"
#include "platform/sdl/gamepad_sdl.h"
#include "platform/sdl/keys_sdl.h"
#include "platform/sdl/video_sdl.h"

int32_t platform_key_down(int32_t vk) {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return 0;
  video_pump_for_keys();
  return action_game_key_down(keys_sdl_held() | gamepad_actions(), vk);
}

int32_t platform_any_key_down() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return 0;
  video_pump_for_keys();
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  for (int i = 0; i < count; ++i)
    if (state[i]) return 1;
  return 0;
}
