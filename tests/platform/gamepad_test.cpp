// A game controller through SDL's real mapping layer, driven by a virtual pad: each button and
// the stick hold the keys the game reads, hot-plugging works both ways, and the south button's
// Enter lasts exactly the pass its press began in.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl/gamepad_sdl.h"

namespace {

const int dummy_video = setenv("SDL_VIDEODRIVER", "dummy", 0);
// The dummy window never has the keyboard focus; without this SDL would drop the pad's presses.
const int background_pad = setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);

constexpr int32_t KEYS[] = {VK_RETURN, VK_SHIFT, VK_CONTROL, VK_ESCAPE, VK_SPACE,
                            VK_LEFT,   VK_UP,    VK_RIGHT,   VK_DOWN,   VK_F1};

// The keys held, as the next pass sees them.
std::vector<int32_t> next_pass_keys() {
  PlatformMessage m;
  while (platform_peek_message(&m)) {
  }
  std::vector<int32_t> held;
  for (int32_t vk : KEYS)
    if (platform_key_down(vk)) held.push_back(vk);
  return held;
}

class Gamepad : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(platform_window_create("Marrowin"), 0);
    next_pass_keys();
    pad_ = gamepad_virtual_attach();
    ASSERT_GT(pad_, 0);
    next_pass_keys();  // the added event opens it
    ASSERT_EQ(gamepad_count(), 1);
  }
  void TearDown() override {
    gamepad_virtual_detach(pad_);
    next_pass_keys();
    platform_window_destroy();
  }
  int32_t pad_ = 0;
};

TEST_F(Gamepad, EachButtonAndStickDirectionHoldsItsKey) {
  struct Case {
    const char* what;
    PadButton button;
    std::vector<int32_t> first_pass, held;  // keys in the pass of the press, then while held
  };
  const Case cases[] = {
      {"D-pad right", PAD_DPAD_RIGHT, {VK_RIGHT}, {VK_RIGHT}},
      {"D-pad left", PAD_DPAD_LEFT, {VK_LEFT}, {VK_LEFT}},
      {"D-pad up", PAD_DPAD_UP, {VK_UP}, {VK_UP}},
      {"D-pad down", PAD_DPAD_DOWN, {VK_DOWN}, {VK_DOWN}},
      {"south", PAD_SOUTH, {VK_RETURN, VK_CONTROL}, {VK_CONTROL}},
      {"east", PAD_EAST, {VK_SHIFT}, {VK_SHIFT}},
      {"west", PAD_WEST, {VK_SPACE}, {VK_SPACE}},
      {"start", PAD_START, {VK_F1}, {VK_F1}},
      {"back", PAD_BACK, {VK_ESCAPE}, {VK_ESCAPE}},
      {"north (unused)", PAD_NORTH, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(gamepad_virtual_button(pad_, c.button, true));
    EXPECT_EQ(next_pass_keys(), c.first_pass);
    EXPECT_EQ(next_pass_keys(), c.held);
    ASSERT_TRUE(gamepad_virtual_button(pad_, c.button, false));
    EXPECT_EQ(next_pass_keys(), std::vector<int32_t>{});
  }
  struct Stick {
    PadAxis axis;
    int16_t value;
    std::vector<int32_t> held;
  };
  const Stick sticks[] = {
      {PAD_LEFT_X, 32767, {VK_RIGHT}}, {PAD_LEFT_X, -32768, {VK_LEFT}}, {PAD_LEFT_Y, -32768, {VK_UP}},
      {PAD_LEFT_Y, 32767, {VK_DOWN}},  {PAD_LEFT_X, 9000, {}},          {PAD_LEFT_Y, -9000, {}},
  };
  for (const Stick& s : sticks) {
    SCOPED_TRACE(std::to_string(s.axis) + " at " + std::to_string(s.value));
    ASSERT_TRUE(gamepad_virtual_axis(pad_, s.axis, s.value));
    EXPECT_EQ(next_pass_keys(), s.held);
    ASSERT_TRUE(gamepad_virtual_axis(pad_, s.axis, 0));
    EXPECT_EQ(next_pass_keys(), std::vector<int32_t>{});
  }
}

TEST_F(Gamepad, SouthHeldWhileDrawingNeverConfirmsLater) {
  ASSERT_TRUE(gamepad_virtual_button(pad_, PAD_SOUTH, true));
  ASSERT_TRUE(gamepad_virtual_button(pad_, PAD_DPAD_UP, true));
  EXPECT_EQ(next_pass_keys(), (std::vector<int32_t>{VK_RETURN, VK_CONTROL, VK_UP}));
  // Asked again within the same pass, the press still counts.
  EXPECT_EQ(platform_key_down(VK_RETURN), 1);
  for (int pass = 0; pass < 5; ++pass) EXPECT_EQ(next_pass_keys(), (std::vector<int32_t>{VK_CONTROL, VK_UP})) << pass;
  // A new press is a new Enter, and a tap within one pass is not lost.
  ASSERT_TRUE(gamepad_virtual_button(pad_, PAD_SOUTH, false));
  EXPECT_EQ(next_pass_keys(), std::vector<int32_t>{VK_UP});
  ASSERT_TRUE(gamepad_virtual_button(pad_, PAD_SOUTH, true));
  EXPECT_EQ(next_pass_keys(), (std::vector<int32_t>{VK_RETURN, VK_CONTROL, VK_UP}));
  ASSERT_TRUE(gamepad_virtual_button(pad_, PAD_SOUTH, false));
  ASSERT_TRUE(gamepad_virtual_button(pad_, PAD_DPAD_UP, false));
  next_pass_keys();
  ASSERT_TRUE(gamepad_virtual_button(pad_, PAD_SOUTH, true));
  platform_sleep_ms(2);           // key reads look at the display's events once a millisecond
  platform_key_down(VK_CONTROL);  // pumps the press
  ASSERT_TRUE(gamepad_virtual_button(pad_, PAD_SOUTH, false));
  EXPECT_EQ(platform_key_down(VK_RETURN), 1);
  EXPECT_EQ(next_pass_keys(), std::vector<int32_t>{});
}

TEST_F(Gamepad, PullingThePadOutReleasesItsKeysAndASecondPadJoins) {
  ASSERT_TRUE(gamepad_virtual_button(pad_, PAD_DPAD_RIGHT, true));
  ASSERT_TRUE(gamepad_virtual_button(pad_, PAD_EAST, true));
  EXPECT_EQ(next_pass_keys(), (std::vector<int32_t>{VK_SHIFT, VK_RIGHT}));
  const int32_t second = gamepad_virtual_attach();
  ASSERT_GT(second, 0);
  next_pass_keys();
  EXPECT_EQ(gamepad_count(), 2);
  ASSERT_TRUE(gamepad_virtual_button(second, PAD_WEST, true));
  ASSERT_TRUE(gamepad_virtual_axis(second, PAD_LEFT_X, 32767));  // right, as the first pad's D-pad
  EXPECT_EQ(next_pass_keys(), (std::vector<int32_t>{VK_SHIFT, VK_SPACE, VK_RIGHT}));
  // Unplugged while held: its keys go up, except one the other pad still holds.
  gamepad_virtual_detach(pad_);
  EXPECT_EQ(next_pass_keys(), (std::vector<int32_t>{VK_SPACE, VK_RIGHT}));
  EXPECT_EQ(gamepad_count(), 1);
  // The last one out, with its stick pushed: nothing stays stuck down.
  gamepad_virtual_detach(second);
  EXPECT_EQ(next_pass_keys(), std::vector<int32_t>{});
  EXPECT_EQ(gamepad_count(), 0);
  // Plugged in again: it works at once.
  pad_ = gamepad_virtual_attach();
  ASSERT_GT(pad_, 0);
  next_pass_keys();
  ASSERT_TRUE(gamepad_virtual_button(pad_, PAD_START, true));
  EXPECT_EQ(next_pass_keys(), std::vector<int32_t>{VK_F1});
}

}  // namespace
