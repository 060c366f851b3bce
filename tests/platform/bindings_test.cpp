// Keys by place and the binding rules: the defaults, combinations as keys of their own, and how
// a configuration file's bindings replace and take keys from the defaults.
#include "platform/common/bindings.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/input.h"
#include "platform/common/key_codes.h"

namespace {

// The actions held with the named keys down.
ActionMask held(const Bindings& b, std::vector<const char*> names) {
  std::vector<char> down(static_cast<size_t>(KEY_CODE_COUNT), 0);
  for (const char* n : names) {
    const int32_t k = key_code_by_name(n);
    EXPECT_NE(k, KEY_NONE) << n;
    if (k != KEY_NONE) down[static_cast<size_t>(k)] = 1;
  }
  return bindings_held(b, reinterpret_cast<const bool*>(down.data()));
}

ActionMask bits(std::vector<Action> actions) {
  ActionMask m = 0;
  for (Action a : actions) m |= action_bit(a);
  return m;
}

KeyBinding key(const char* text) {
  KeyBinding k;
  EXPECT_TRUE(binding_parse(text, &k)) << text;
  return k;
}

std::vector<std::string> complaints;
void collect(void*, int32_t line, const std::string& what) { complaints.push_back(std::to_string(line) + " " + what); }

}  // namespace

TEST(KeyCodes, NamesAreUniqueAndReadBack) {
  for (int32_t k = 0; k < KEY_CODE_COUNT; ++k) EXPECT_EQ(key_code_by_name(key_code_name(k)), k) << key_code_name(k);
  for (const char* n : {"ArrowUp", "KeyZ", "ControlLeft", "ShiftRight", "Space", "Enter", "Escape", "F1", "Minus",
                        "Equal", "F12", "NumpadAdd", "NumpadSubtract", "F11", "KeyM", "NumpadEnter"})
    EXPECT_NE(key_code_by_name(n), KEY_NONE) << n;
  // Exactly as the browser spells them: no other case, no key labels.
  for (const char* n : {"keyz", "Z", "Ctrl", "Return", "", "Up"}) EXPECT_EQ(key_code_by_name(n), KEY_NONE) << n;
  EXPECT_STREQ(key_code_name(KEY_NONE), "");
  EXPECT_STREQ(key_code_name(KEY_CODE_COUNT), "");
}

TEST(Bindings, TextsParseOnlyInTheirOneSpelling) {
  for (const char* good : {"KeyZ", "Alt+Enter", "Ctrl+Shift+F5", "Alt+Ctrl+Shift+KeyA", "Ctrl+ArrowUp"})
    EXPECT_EQ(binding_text(key(good)), good);
  EXPECT_EQ(binding_text(key("Shift+Alt+KeyA")), "Alt+Shift+KeyA");  // modifiers in one order when written
  EXPECT_EQ(key("Alt+Shift+KeyA"), key("Shift+Alt+KeyA"));
  KeyBinding k;
  for (const char* bad : {"", "Alt+", "Alt", "+KeyZ", "Alt+Alt+Enter", "Meta+KeyZ", "alt+Enter", "KeyZ+Alt",
                          "Alt+Enter+KeyZ", "Alt +Enter"})
    EXPECT_FALSE(binding_parse(bad, &k)) << bad;
}

TEST(Bindings, DefaultsHoldTodaysKeysAndTheProgramsOwn) {
  const Bindings d = bindings_default();
  EXPECT_EQ(held(d, {"ControlLeft", "ArrowUp"}), bits({ACTION_SLOW, ACTION_UP}));
  EXPECT_EQ(held(d, {"ControlRight", "ShiftRight", "ArrowLeft"}), bits({ACTION_SLOW, ACTION_FAST, ACTION_LEFT}));
  EXPECT_EQ(held(d, {"Space", "F1", "Escape"}), bits({ACTION_CANCEL, ACTION_PAUSE, ACTION_MENU}));
  EXPECT_EQ(held(d, {"NumpadEnter"}), bits({ACTION_CONFIRM}));
  EXPECT_EQ(held(d, {"KeyM", "Minus", "F12"}), bits({ACTION_MUTE, ACTION_VOLUME_DOWN, ACTION_SCREENSHOT}));
  EXPECT_EQ(held(d, {"NumpadAdd"}), bits({ACTION_VOLUME_UP}));
  EXPECT_EQ(held(d, {"F11"}), bits({ACTION_FULLSCREEN}));
  // A combination is another key: Alt+Enter is full screen and not also confirm, while a modifier
  // nobody combined with Enter leaves it confirm.
  EXPECT_EQ(held(d, {"AltLeft", "Enter"}), bits({ACTION_FULLSCREEN}));
  EXPECT_EQ(held(d, {"AltRight", "NumpadEnter"}), bits({ACTION_FULLSCREEN}));
  EXPECT_EQ(held(d, {"ShiftLeft", "Enter"}), bits({ACTION_FAST, ACTION_CONFIRM}));
  EXPECT_EQ(held(d, {"KeyZ", "Digit1"}), 0u);
  EXPECT_EQ(bindings_pressed(d, key_code_by_name("Enter"), KEY_MOD_ALT), bits({ACTION_FULLSCREEN}));
  EXPECT_EQ(bindings_pressed(d, key_code_by_name("Enter"), KEY_MOD_CTRL), bits({ACTION_CONFIRM}));
  // The game's keys reach it through the actions, the program's never do.
  EXPECT_EQ(action_game_key_down(held(d, {"AltLeft", "Enter"}), VK_RETURN), 0);
  EXPECT_EQ(action_game_key_down(held(d, {"ControlLeft"}), VK_CONTROL), 1);
}

TEST(Bindings, TheCombinationWithTheMostHeldModifiersWins) {
  Bindings b = bindings_default();
  complaints.clear();
  bindings_apply(&b, {{ACTION_SCREENSHOT, {key("Ctrl+Shift+KeyS")}, 1}, {ACTION_MUTE, {key("Ctrl+KeyS")}, 2},
                      {ACTION_CANCEL, {key("KeyS")}, 3}},
                 collect, nullptr);
  EXPECT_TRUE(complaints.empty());
  EXPECT_EQ(held(b, {"KeyS"}), bits({ACTION_CANCEL}));
  EXPECT_EQ(held(b, {"ControlLeft", "KeyS"}), bits({ACTION_SLOW, ACTION_MUTE}));
  EXPECT_EQ(held(b, {"ControlLeft", "ShiftLeft", "KeyS"}), bits({ACTION_SLOW, ACTION_FAST, ACTION_SCREENSHOT}));
  // Alt is held but nothing combines it with S: the Ctrl combination still counts.
  EXPECT_EQ(held(b, {"ControlLeft", "AltLeft", "KeyS"}), bits({ACTION_SLOW, ACTION_MUTE}));
}

TEST(Bindings, AFilesActionReplacesItsDefaultsAndTakesItsKeysFromTheOthers) {
  Bindings b = bindings_default();
  complaints.clear();
  // slow moves to Z; Space, cancel's default, becomes fast's (and fast loses its Shifts).
  bindings_apply(&b, {{ACTION_SLOW, {key("KeyZ")}, 2}, {ACTION_FAST, {key("Space"), key("KeyX")}, 3}}, collect, nullptr);
  EXPECT_TRUE(complaints.empty());
  EXPECT_EQ(b.keys[ACTION_SLOW], std::vector<KeyBinding>{key("KeyZ")});
  EXPECT_EQ(held(b, {"ControlLeft", "ArrowUp"}), bits({ACTION_UP}));
  EXPECT_EQ(held(b, {"KeyZ", "ArrowUp"}), bits({ACTION_SLOW, ACTION_UP}));
  EXPECT_EQ(held(b, {"ShiftLeft"}), 0u);
  EXPECT_EQ(held(b, {"Space"}), bits({ACTION_FAST}));
  EXPECT_TRUE(b.keys[ACTION_CANCEL].empty());
  // Actions the file does not name keep every other default.
  EXPECT_EQ(b.keys[ACTION_CONFIRM], bindings_default().keys[ACTION_CONFIRM]);
  EXPECT_EQ(b.keys[ACTION_FULLSCREEN], bindings_default().keys[ACTION_FULLSCREEN]);
  // An empty list unbinds the action (a player who uses the pad alone for it).
  bindings_apply(&b, {{ACTION_PAUSE, {}, 4}}, collect, nullptr);
  EXPECT_EQ(held(b, {"F1"}), 0u);
}

TEST(Bindings, AKeyWrittenForTwoActionsStaysWithTheFirstAndTheSecondLineSaysSo) {
  Bindings b = bindings_default();
  complaints.clear();
  bindings_apply(&b,
                 {{ACTION_SLOW, {key("KeyZ")}, 2}, {ACTION_FAST, {key("KeyZ"), key("KeyX")}, 3},
                  {ACTION_SLOW, {key("KeyZ")}, 4}},
                 collect, nullptr);
  ASSERT_EQ(complaints.size(), 1u);
  EXPECT_EQ(complaints[0], "3 key \"KeyZ\" is already bound to slow; fast goes without it");
  EXPECT_EQ(held(b, {"KeyZ"}), bits({ACTION_SLOW}));
  EXPECT_EQ(held(b, {"KeyX"}), bits({ACTION_FAST}));
  // The same key with a modifier is another key, and no clash.
  complaints.clear();
  Bindings c = bindings_default();
  bindings_apply(&c, {{ACTION_SLOW, {key("KeyZ")}, 1}, {ACTION_FAST, {key("Shift+KeyZ")}, 2}}, collect, nullptr);
  EXPECT_TRUE(complaints.empty());
  EXPECT_EQ(held(c, {"ShiftLeft", "KeyZ"}), bits({ACTION_FAST}));
}
