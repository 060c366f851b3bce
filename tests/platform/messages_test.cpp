// The event queue, the desktop's close request, key queries and the clock of the SDL platform.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <vector>

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
  EXPECT_EQ(platform_key_down(VK_ESCAPE), 0);  // no window yet: no keyboard, and no crash
  ASSERT_NE(platform_window_create("Marrowin"), 0);
  drain();
  PlatformMessage m{};
  EXPECT_EQ(platform_peek_message(&m), 0);
  platform_post_message(PLATFORM_EVENT_CLOSE);
  platform_post_message(PLATFORM_EVENT_QUIT);
  ASSERT_EQ(platform_peek_message(&m), 1);
  EXPECT_EQ(m.event, PLATFORM_EVENT_CLOSE);
  ASSERT_EQ(platform_peek_message(&m), 1);
  EXPECT_EQ(m.event, PLATFORM_EVENT_QUIT);
  EXPECT_EQ(platform_peek_message(&m), 0);
  const int32_t keys[] = {VK_RETURN, VK_SHIFT, VK_CONTROL, VK_ESCAPE, VK_F1, 0, -1, 100000};
  for (int32_t vk : keys) EXPECT_EQ(platform_key_down(vk), 0) << vk;  // nothing held, nothing out of range
  platform_window_destroy();
}

TEST(Messages, DesktopQuitSetsTheCloseFlagAndQueuesNothing) {
  ASSERT_NE(platform_window_create("Marrowin"), 0);
  drain();
  EXPECT_EQ(platform_close_requested(), 0);
  // SDL turns an interrupt signal into its quit event; the main loop posts the one close event.
  std::raise(SIGINT);
  platform_sleep_ms(2);  // the reads of a pass look at the display's events once a millisecond
  EXPECT_EQ(platform_close_requested(), 1);
  std::raise(SIGINT);
  PlatformMessage m{};
  EXPECT_EQ(platform_peek_message(&m), 0);
  EXPECT_EQ(platform_close_requested(), 1);  // stays set
  platform_window_destroy();
  ASSERT_NE(platform_window_create("Marrowin"), 0);  // a new window starts without a pending close
  EXPECT_EQ(platform_close_requested(), 0);
  platform_window_destroy();
}

TEST(Clock, SleepsAdvanceTheTicksAndCalendarSecondsAreReal) {
  const uint32_t before = platform_ticks();
  platform_sleep_ms(30);
  EXPECT_GE(static_cast<uint32_t>(platform_ticks() - before), 30u);
  const int64_t now = static_cast<int64_t>(std::time(nullptr)), ours = platform_time_seconds();
  EXPECT_GE(ours, now);
  EXPECT_LE(ours, now + 1);
}
