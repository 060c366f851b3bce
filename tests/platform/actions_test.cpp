// The table of actions: every key the game reads is held by exactly one action, names read
// back, and the controller mapping reaches every game action but the confirm it gets by press.
#include "platform/common/actions.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "common/input.h"

TEST(Actions, EveryGameKeyHasOneActionAndProgramActionsHoldNone) {
  for (int32_t k = 0; k < GAME_KEY_COUNT; ++k) {
    int32_t owners = 0;
    for (int32_t a = 0; a < ACTION_COUNT; ++a) owners += ACTIONS[a].game_key == GAME_KEYS[k];
    EXPECT_EQ(owners, 1) << GAME_KEYS[k];
  }
  for (Action a : {ACTION_MUTE, ACTION_VOLUME_DOWN, ACTION_VOLUME_UP, ACTION_SCREENSHOT, ACTION_FULLSCREEN})
    for (int32_t k = 0; k < GAME_KEY_COUNT; ++k) EXPECT_EQ(action_game_key_down(action_bit(a), GAME_KEYS[k]), 0);
  for (int32_t a = 0; a < ACTION_COUNT; ++a) EXPECT_EQ(action_by_name(ACTIONS[a].name), a);
  EXPECT_EQ(action_by_name("Slow"), ACTION_COUNT);
}

TEST(Actions, PadMappingAndStickThreshold) {
  ActionMask all = 0;
  for (int32_t b = 0; b < PAD_BUTTON_COUNT; ++b) all |= pad_actions(1u << b, 0, 0);
  for (Action a : {ACTION_UP, ACTION_DOWN, ACTION_LEFT, ACTION_RIGHT, ACTION_SLOW, ACTION_FAST, ACTION_CANCEL,
                   ACTION_PAUSE, ACTION_MENU})
    EXPECT_NE(all & action_bit(a), 0u) << ACTIONS[a].name;
  // Confirm comes only from the press of the confirm button, never from a held one.
  EXPECT_EQ(all & action_bit(ACTION_CONFIRM), 0u);
  EXPECT_EQ(pad_actions(1u << PAD_SOUTH, 0, 0), action_bit(ACTION_SLOW));
  // A stick short of half-way (drift) holds nothing; past it, one direction per axis.
  EXPECT_EQ(pad_actions(0, 0.49f, -0.49f), 0u);
  EXPECT_EQ(pad_actions(0, -0.5f, 0.75f), action_bit(ACTION_LEFT) | action_bit(ACTION_DOWN));
  const std::string help = pad_help_text();
  EXPECT_NE(help.find("south button"), std::string::npos);
  EXPECT_EQ(help, pad_help_text());  // built once, not appended to again
}

// README and the manual page describe the controller with the table's own words, line by line,
// so a changed binding that is not described again fails here.
TEST(Actions, ReadmeAndManualDescribeEveryControllerBinding) {
  auto read = [](const char* name) {
    std::ifstream in(std::string(ZORVANE_SOURCE_DIR) + "/" + name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  };
  const std::string readme = read("README.md");
  std::string manual = read("packaging/zorvane.6.in");
  ASSERT_FALSE(readme.empty());
  ASSERT_FALSE(manual.empty());
  for (size_t at; (at = manual.find("\\-")) != std::string::npos;) manual.erase(at, 1);  // roff's hyphen
  int32_t labels = 0;
  for (int32_t i = 0; i < PAD_BINDING_COUNT; ++i) {
    if (PAD_BINDINGS[i].label == nullptr) continue;
    ++labels;
    EXPECT_NE(readme.find(std::string("- ") + PAD_BINDINGS[i].label + "\n"), std::string::npos) << PAD_BINDINGS[i].label;
    EXPECT_NE(manual.find(std::string("\n") + PAD_BINDINGS[i].label + "\n"), std::string::npos) << PAD_BINDINGS[i].label;
  }
  EXPECT_GE(labels, 6);
}
