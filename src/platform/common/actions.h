// The player's actions: what keys, controller buttons and touch controls stand for. Every
// source of input feeds this one table, and the platform turns the held actions into the key
// state the game reads, so the rules and the demos never see a binding.
#pragma once
#include <cstdint>

enum Action : int32_t {
  // What the game reads.
  ACTION_UP, ACTION_DOWN, ACTION_LEFT, ACTION_RIGHT,
  ACTION_SLOW, ACTION_FAST, ACTION_CANCEL, ACTION_PAUSE, ACTION_MENU, ACTION_CONFIRM,
  // The program's own: they never reach the game.
  ACTION_MUTE, ACTION_VOLUME_DOWN, ACTION_VOLUME_UP, ACTION_SCREENSHOT, ACTION_FULLSCREEN,
  ACTION_COUNT
};

// A set of actions: bit a stands for Action a.
using ActionMask = uint32_t;
constexpr ActionMask action_bit(Action a) { return ActionMask{1} << a; }

struct ActionInfo {
  const char* name;      // as written in the configuration file
  int32_t game_key;      // the virtual key it holds in the game's key state; 0 for the program's own
};
extern const ActionInfo ACTIONS[ACTION_COUNT];

// The action of a configuration name; ACTION_COUNT when there is none.
Action action_by_name(const char* name);
// 1 when any of the held actions holds the game's key vk.
int32_t action_game_key_down(ActionMask held, int32_t vk);

// --- game controllers ---
// The buttons of the standard layout (SDL's controller layer and the browser's Gamepad API
// both give it), by position, not by label.
enum PadButton : int32_t {
  PAD_SOUTH, PAD_EAST, PAD_WEST, PAD_NORTH, PAD_BACK, PAD_START,
  PAD_DPAD_UP, PAD_DPAD_DOWN, PAD_DPAD_LEFT, PAD_DPAD_RIGHT,
  PAD_BUTTON_COUNT
};
enum PadAxis : int32_t { PAD_LEFT_X, PAD_LEFT_Y };

struct PadBinding {
  PadButton button;
  Action action;
  const char* label;  // for the help text
};
// The one controller mapping: the desktop, the browser and the help text all read it.
extern const PadBinding PAD_BINDINGS[];
extern const int32_t PAD_BINDING_COUNT;
// The button that also confirms, only in the pass its press begins, never while merely held: a
// south button held down while drawing must not confirm the game-over screen.
constexpr PadButton PAD_CONFIRM_BUTTON = PAD_SOUTH;
// The left stick counts as the D-pad once pushed half-way out (-1..1), so a stick at rest or
// drifting never moves the marker.
constexpr float PAD_STICK_THRESHOLD = 0.5f;

// What one controller holds, from its buttons (bit b: PadButton b) and its left stick.
ActionMask pad_actions(uint32_t buttons_down, float stick_x, float stick_y);
// The controller mapping in words, one line each, for --help and the manual.
const char* pad_help_text();
