// The message queue, the desktop's close request, key queries and the clock of the SDL platform.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <ctime>

#include "platform/platform.h"

namespace {

const int dummy_video = setenv("SDL_VIDEODRIVER", "dummy", 0);

void drain() {
  PlatformMessage m;
  while (platform_peek_message(&m)) {
  }
}

}  // namespace

TEST(Messages, TakenOneAtATimeInOrderAndNeverBlocking) {
  ASSERT_NE(platform_window_create("Marrowin"), 0);
  drain();
  PlatformMessage m{};
  EXPECT_EQ(platform_peek_message(&m), 0);
  platform_post_message(WM_PAINT, 7, -3);
  platform_post_message(WM_DESTROY, 0, 0);
  ASSERT_EQ(platform_peek_message(&m), 1);
  EXPECT_EQ(m.message, static_cast<uint32_t>(WM_PAINT));
  EXPECT_EQ(m.wparam, 7u);
  EXPECT_EQ(m.lparam, -3);
  ASSERT_EQ(platform_peek_message(&m), 1);
  EXPECT_EQ(m.message, static_cast<uint32_t>(WM_DESTROY));
  EXPECT_EQ(platform_peek_message(&m), 0);
  platform_window_destroy();
}

TEST(Messages, DesktopQuitBecomesOneDestroyAndTheCloseFlag) {
  ASSERT_NE(platform_window_create("Marrowin"), 0);
  drain();
  EXPECT_EQ(platform_close_requested(), 0);
  // SDL turns an interrupt signal into its quit event; asked twice, the game hears it once.
  std::raise(SIGINT);
  EXPECT_EQ(platform_close_requested(), 1);
  std::raise(SIGINT);
  PlatformMessage m{};
  ASSERT_EQ(platform_peek_message(&m), 1);
  EXPECT_EQ(m.message, static_cast<uint32_t>(WM_DESTROY));
  EXPECT_EQ(platform_peek_message(&m), 0);
  EXPECT_EQ(platform_close_requested(), 1);
  platform_window_destroy();
  // A new window starts without a pending close.
  ASSERT_NE(platform_window_create("Marrowin"), 0);
  EXPECT_EQ(platform_close_requested(), 0);
  platform_window_destroy();
}

TEST(Keys, NothingHeldReadsUp) {
  EXPECT_EQ(platform_key_down(VK_ESCAPE), 0);  // no window yet: no keyboard
  ASSERT_NE(platform_window_create("Marrowin"), 0);
  const int32_t keys[] = {VK_RETURN, VK_SHIFT, VK_CONTROL, VK_ESCAPE, VK_SPACE, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, VK_F1,
                     0, 255, -1, 100000};
  for (int32_t vk : keys)
    EXPECT_EQ(platform_key_down(vk), 0) << vk;
  platform_show_cursor(0);
  platform_show_cursor(1);
  platform_window_destroy();
}

TEST(Clock, SleepsAdvanceTheTicksAndCalendarSecondsAreReal) {
  uint32_t before = platform_ticks();
  platform_sleep_ms(30);
  EXPECT_GE(static_cast<uint32_t>(platform_ticks() - before), 30u);
  int64_t now = static_cast<int64_t>(std::time(nullptr));
  int64_t ours = platform_time_seconds();
  EXPECT_GE(ours, now);
  EXPECT_LE(ours, now + 1);
  platform_relax();
}
