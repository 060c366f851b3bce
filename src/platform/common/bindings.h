// Which keys stand for which actions: the defaults, the rules by which a configuration file
// changes them, and which actions the keys held at a moment hold.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/common/actions.h"

// Modifiers of a combination; either key of the pair counts.
enum : uint8_t { KEY_MOD_ALT = 1, KEY_MOD_CTRL = 2, KEY_MOD_SHIFT = 4 };

// One key, alone or with modifiers ("Alt+Enter"). A combination is a different key from the
// key alone: while Alt is held, Enter is Alt+Enter and not also Enter.
struct KeyBinding {
  int32_t key = -1;   // KEY_NONE when unset
  uint8_t mods = 0;
};
constexpr bool operator==(const KeyBinding& a, const KeyBinding& b) { return a.key == b.key && a.mods == b.mods; }

struct Bindings {
  std::vector<KeyBinding> keys[ACTION_COUNT];
};

// Today's keys (both Ctrl, both Shift), M mute, Minus/Equal and the keypad's minus and plus for
// the volume, F12 a screenshot, Alt+Enter and F11 full screen.
Bindings bindings_default();

// "KeyZ", "Alt+Enter", "Ctrl+Shift+F5": modifiers first (Alt, Ctrl, Shift), each once, then one
// key code name. False for anything else.
bool binding_parse(const std::string& text, KeyBinding* out);
// The text binding_parse reads back to the same binding.
std::string binding_text(const KeyBinding& binding);

// What a configuration file says about one action.
struct BindingWrite {
  Action action;
  std::vector<KeyBinding> keys;
  int32_t line;  // where it stands, for messages
};
// Applies a file's bindings to the defaults: an action written replaces its defaults, and its
// keys leave every other action's defaults; a key written for two actions stays with the first
// (one message line, through complain, naming the line of the second).
void bindings_apply(Bindings* bindings, const std::vector<BindingWrite>& writes,
                    void (*complain)(void* context, int32_t line, const std::string& what), void* context);

// The actions the keys hold, from the state of every key (down[k] for key k, KEY_CODE_COUNT
// entries). Modifier keys count as Alt, Ctrl and Shift for combinations.
ActionMask bindings_held(const Bindings& bindings, const bool* down);
// The actions one key going down starts, with the modifiers held at that moment.
ActionMask bindings_pressed(const Bindings& bindings, int32_t key, uint8_t mods);
// The modifiers held, from the state of every key.
uint8_t bindings_mods(const bool* down);
