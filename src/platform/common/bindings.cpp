// Bindings: of a key's combinations, the one with the most of the held modifiers wins, so a
// bound Alt+Enter takes Enter from confirm while Alt is held, and keys nobody combined (Ctrl +
// arrows) keep holding both actions.
#include "platform/common/bindings.h"

#include "platform/common/key_codes.h"

namespace {

struct ModName {
  const char* name;
  uint8_t bit;
};
constexpr ModName MODS[] = {{"Alt", KEY_MOD_ALT}, {"Ctrl", KEY_MOD_CTRL}, {"Shift", KEY_MOD_SHIFT}};

void add(Bindings* b, Action a, const char* text) {
  KeyBinding k;
  if (binding_parse(text, &k)) b->keys[a].push_back(k);
}

bool subset(uint8_t part, uint8_t whole) { return (part & ~whole) == 0; }

// The actions that key k starts with mods held: the bindings of k whose modifiers are held,
// less those outdone by a binding of k with more of the held modifiers.
ActionMask matching(const Bindings& bindings, int32_t key, uint8_t mods) {
  int32_t best = -1;
  for (const auto& list : bindings.keys)
    for (const KeyBinding& k : list)
      if (k.key == key && subset(k.mods, mods) && __builtin_popcount(k.mods) > best) best = __builtin_popcount(k.mods);
  ActionMask held = 0;
  if (best < 0) return 0;
  for (int32_t a = 0; a < ACTION_COUNT; ++a)
    for (const KeyBinding& k : bindings.keys[a])
      if (k.key == key && subset(k.mods, mods) && __builtin_popcount(k.mods) == best)
        held |= action_bit(static_cast<Action>(a));
  return held;
}

// The modifier keys, looked up once: the key state is asked for many times a pass.
struct ModKeys {
  int32_t alt[2], ctrl[2], shift[2];
};
const ModKeys& mod_keys() {
  static const ModKeys keys = {{key_code_by_name("AltLeft"), key_code_by_name("AltRight")},
                               {key_code_by_name("ControlLeft"), key_code_by_name("ControlRight")},
                               {key_code_by_name("ShiftLeft"), key_code_by_name("ShiftRight")}};
  return keys;
}

bool either(const bool* down, const int32_t (&pair)[2]) { return down[pair[0]] || down[pair[1]]; }

}  // namespace

Bindings bindings_default() {
  Bindings b;
  add(&b, ACTION_UP, "ArrowUp");
  add(&b, ACTION_DOWN, "ArrowDown");
  add(&b, ACTION_LEFT, "ArrowLeft");
  add(&b, ACTION_RIGHT, "ArrowRight");
  add(&b, ACTION_SLOW, "ControlLeft");
  add(&b, ACTION_SLOW, "ControlRight");
  add(&b, ACTION_FAST, "ShiftLeft");
  add(&b, ACTION_FAST, "ShiftRight");
  add(&b, ACTION_CANCEL, "Space");
  add(&b, ACTION_PAUSE, "F1");
  add(&b, ACTION_MENU, "Escape");
  add(&b, ACTION_CONFIRM, "Enter");
  add(&b, ACTION_CONFIRM, "NumpadEnter");
  add(&b, ACTION_MUTE, "KeyM");
  add(&b, ACTION_VOLUME_DOWN, "Minus");
  add(&b, ACTION_VOLUME_DOWN, "NumpadSubtract");
  add(&b, ACTION_VOLUME_UP, "Equal");
  add(&b, ACTION_VOLUME_UP, "NumpadAdd");
  add(&b, ACTION_SCREENSHOT, "F12");
  add(&b, ACTION_FULLSCREEN, "Alt+Enter");
  add(&b, ACTION_FULLSCREEN, "Alt+NumpadEnter");
  add(&b, ACTION_FULLSCREEN, "F11");
  return b;
}

bool binding_parse(const std::string& text, KeyBinding* out) {
  KeyBinding k;
  size_t at = 0;
  for (;;) {
    const size_t plus = text.find('+', at);
    if (plus == std::string::npos) break;
    const std::string word = text.substr(at, plus - at);
    uint8_t bit = 0;
    for (const ModName& m : MODS)
      if (word == m.name) bit = m.bit;
    if (bit == 0 || (k.mods & bit) != 0) return false;
    k.mods |= bit;
    at = plus + 1;
  }
  k.key = key_code_by_name(text.substr(at).c_str());
  if (k.key == KEY_NONE) return false;
  *out = k;
  return true;
}

std::string binding_text(const KeyBinding& binding) {
  std::string text;
  for (const ModName& m : MODS)
    if (binding.mods & m.bit) text += std::string(m.name) + "+";
  return text + key_code_name(binding.key);
}

void bindings_apply(Bindings* bindings, const std::vector<BindingWrite>& writes,
                    void (*complain)(void* context, int32_t line, const std::string& what), void* context) {
  bool written[ACTION_COUNT] = {};
  Bindings from_file;
  for (const BindingWrite& w : writes) {
    written[w.action] = true;
    for (const KeyBinding& k : w.keys) {
      Action owner = ACTION_COUNT;
      for (int32_t a = 0; a < ACTION_COUNT && owner == ACTION_COUNT; ++a)
        for (const KeyBinding& have : from_file.keys[a])
          if (have == k) owner = static_cast<Action>(a);
      if (owner == w.action) continue;  // written twice for the same action
      if (owner != ACTION_COUNT) {
        if (complain)
          complain(context, w.line,
                   "key \"" + binding_text(k) + "\" is already bound to " + ACTIONS[owner].name + "; " +
                       ACTIONS[w.action].name + " goes without it");
        continue;
      }
      from_file.keys[w.action].push_back(k);
    }
  }
  for (int32_t a = 0; a < ACTION_COUNT; ++a) {
    if (written[a]) {
      bindings->keys[a] = from_file.keys[a];
      continue;
    }
    // A default keeps only the keys the file gave no action.
    std::erase_if(bindings->keys[a], [&](const KeyBinding& k) {
      for (const auto& list : from_file.keys)
        for (const KeyBinding& taken : list)
          if (taken == k) return true;
      return false;
    });
  }
}

uint8_t bindings_mods(const bool* down) {
  const ModKeys& m = mod_keys();
  uint8_t mods = 0;
  if (either(down, m.alt)) mods |= KEY_MOD_ALT;
  if (either(down, m.ctrl)) mods |= KEY_MOD_CTRL;
  if (either(down, m.shift)) mods |= KEY_MOD_SHIFT;
  return mods;
}

ActionMask bindings_held(const Bindings& bindings, const bool* down) {
  const uint8_t mods = bindings_mods(down);
  ActionMask held = 0;
  // Each bound key once, however many actions it stands for.
  for (int32_t a = 0; a < ACTION_COUNT; ++a)
    for (const KeyBinding& k : bindings.keys[a])
      if (k.key >= 0 && k.key < KEY_CODE_COUNT && down[k.key] && subset(k.mods, mods))
        held |= matching(bindings, k.key, mods);
  return held;
}

ActionMask bindings_pressed(const Bindings& bindings, int32_t key, uint8_t mods) {
  return matching(bindings, key, mods);
}
