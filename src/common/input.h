// The keys the game reads and the input of one main-loop pass.
#pragma once
#include <cstdint>

// Virtual-key numbers of the keys the game reads.
enum : int32_t {
  VK_RETURN = 13, VK_SHIFT = 16, VK_CONTROL = 17, VK_ESCAPE = 27, VK_SPACE = 32,
  VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40, VK_F1 = 112,
};

// The game's keys in a fixed order: bit i of a key mask stands for GAME_KEYS[i].
constexpr int32_t GAME_KEY_COUNT = 10;
constexpr int32_t GAME_KEYS[GAME_KEY_COUNT] = {VK_RETURN, VK_SHIFT, VK_CONTROL, VK_ESCAPE, VK_SPACE,
                                               VK_LEFT,   VK_UP,    VK_RIGHT,   VK_DOWN,   VK_F1};

// The bit of a key in a key mask; 0 for a key the game does not read.
constexpr uint16_t input_key_bit(int32_t vk) {
  for (int32_t i = 0; i < GAME_KEY_COUNT; ++i)
    if (GAME_KEYS[i] == vk) return static_cast<uint16_t>(1u << i);
  return 0;
}

// What one pass of the main loop reads from the outside world, read once at its start.
struct Input {
  uint16_t held = 0;             // keys down at the start of the pass
  uint16_t pressed = 0;          // keys that went down since the previous pass
  bool close_requested = false;  // the desktop has asked to close the window
  bool focused = true;           // the window has the keyboard focus
  int64_t seconds = 0;           // calendar time in whole seconds
};

constexpr bool input_held(const Input& input, int32_t vk) { return (input.held & input_key_bit(vk)) != 0; }
constexpr bool input_pressed(const Input& input, int32_t vk) {
  return (input.pressed & input_key_bit(vk)) != 0;
}
