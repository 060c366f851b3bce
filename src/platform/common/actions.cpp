#include "platform/common/actions.h"

#include <cstring>

#include "common/input.h"

const ActionInfo ACTIONS[ACTION_COUNT] = {
    {"up", VK_UP},       {"down", VK_DOWN},     {"left", VK_LEFT},     {"right", VK_RIGHT},
    {"slow", VK_CONTROL}, {"fast", VK_SHIFT},   {"cancel", VK_SPACE},  {"pause", VK_F1},
    {"menu", VK_ESCAPE},  {"confirm", VK_RETURN}, {"mute", 0},         {"volume_down", 0},
    {"volume_up", 0},     {"screenshot", 0},    {"fullscreen", 0},
};

const PadBinding PAD_BINDINGS[] = {
    {PAD_DPAD_UP, ACTION_UP, "D-pad or left stick: move"},
    {PAD_DPAD_DOWN, ACTION_DOWN, nullptr},
    {PAD_DPAD_LEFT, ACTION_LEFT, nullptr},
    {PAD_DPAD_RIGHT, ACTION_RIGHT, nullptr},
    {PAD_SOUTH, ACTION_SLOW, "south button (A, Cross): draw slowly, and confirm in menus"},
    {PAD_EAST, ACTION_FAST, "east button (B, Circle): draw fast"},
    {PAD_WEST, ACTION_CANCEL, "west button (X, Square): Space (no claim, ready after a lost life)"},
    {PAD_START, ACTION_PAUSE, "Start: pause"},
    {PAD_BACK, ACTION_MENU, "Back (Select): Esc"},
};
const int32_t PAD_BINDING_COUNT = sizeof(PAD_BINDINGS) / sizeof(PAD_BINDINGS[0]);

Action action_by_name(const char* name) {
  for (int32_t a = 0; a < ACTION_COUNT; ++a)
    if (std::strcmp(ACTIONS[a].name, name) == 0) return static_cast<Action>(a);
  return ACTION_COUNT;
}

int32_t action_game_key_down(ActionMask held, int32_t vk) {
  for (int32_t a = 0; a < ACTION_COUNT; ++a)
    if ((held & action_bit(static_cast<Action>(a))) != 0 && ACTIONS[a].game_key == vk) return 1;
  return 0;
}

ActionMask pad_actions(uint32_t buttons_down, float stick_x, float stick_y) {
  ActionMask held = 0;
  for (int32_t i = 0; i < PAD_BINDING_COUNT; ++i)
    if ((buttons_down >> PAD_BINDINGS[i].button) & 1u) held |= action_bit(PAD_BINDINGS[i].action);
  if (stick_x <= -PAD_STICK_THRESHOLD) held |= action_bit(ACTION_LEFT);
  if (stick_x >= PAD_STICK_THRESHOLD) held |= action_bit(ACTION_RIGHT);
  if (stick_y <= -PAD_STICK_THRESHOLD) held |= action_bit(ACTION_UP);
  if (stick_y >= PAD_STICK_THRESHOLD) held |= action_bit(ACTION_DOWN);
  return held;
}

const char* pad_help_text() {
  static char text[512];
  if (text[0] != '\0') return text;
  for (int32_t i = 0; i < PAD_BINDING_COUNT; ++i) {
    if (PAD_BINDINGS[i].label == nullptr) continue;
    std::strncat(text, "  ", sizeof(text) - std::strlen(text) - 1);
    std::strncat(text, PAD_BINDINGS[i].label, sizeof(text) - std::strlen(text) - 1);
    std::strncat(text, "\n", sizeof(text) - std::strlen(text) - 1);
  }
  return text;
}
