// The demo format: what is recorded comes back pass for pass, long play stays small, and no
// damaged or foreign file gets past the reader.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "app/app.h"
#include "app/demo_file.h"
#include "platform/fake/fake_platform.h"

namespace {

// Ten minutes of play at 30 ms a frame: a key held for a second or so at a time, now and then
// a tap between two passes, the calendar second moving every 33 passes, a close at the end.
Demo ten_minutes() {
  Demo demo;
  demo.seed = 0xDEADBEEF;
  demo.start_seconds = 1'800'000'000;
  demo.scores = "ZED 900\n- 0\n";
  uint32_t state = 7;
  uint16_t held = 0;
  for (uint32_t pass = 0; pass < 20000; ++pass) {
    Input input;
    if (pass % 37 == 0) {
      state = state * 1103515245u + 12345u;
      held = static_cast<uint16_t>((state >> 16) & 0x3FF);
    }
    input.held = held;
    input.pressed = static_cast<uint16_t>(pass % 37 == 0 ? held : 0);
    if (pass % 500 == 250) input.pressed |= input_key_bit(VK_SPACE);  // a tap
    input.focused = pass % 4000 < 3900;
    input.close_requested = pass == 19999;
    input.seconds = demo.start_seconds + (pass + 10) / 33;
    demo_append(&demo, input);
  }
  return demo;
}

TEST(DemoFile, TenMinutesComeBackPassForPassInAFewKilobytes) {
  const Demo demo = ten_minutes();
  std::string bytes = demo_encode(demo);
  EXPECT_LT(bytes.size(), 8u * 1024) << "the input of ten minutes";
  Demo back;
  std::string error;
  ASSERT_TRUE(demo_decode(bytes, &back, &error)) << error;
  Demo replayed = back;
  replayed.runs.clear(), replayed.clock.clear(), replayed.passes = 0;
  DemoCursor cursor = demo_cursor(back);
  Input input;
  while (demo_next(back, &cursor, &input)) demo_append(&replayed, input);
  EXPECT_EQ(demo_encode(replayed), bytes) << "the walk gives back every pass and clock reading";
  EXPECT_EQ((std::vector<uint64_t>{back.seed, uint64_t(back.start_seconds), back.passes}),
            (std::vector<uint64_t>{0xDEADBEEF, 1'800'000'000, 20000}));
  EXPECT_EQ(back.scores, demo.scores);
}

TEST(DemoFile, EveryDamagedOrForeignFileIsRefusedWithAReason) {
  Demo demo = ten_minutes();
  demo.frame_checks = {1, 2, 3};
  demo.checksum = 42;
  const std::string good = demo_encode(demo);
  Demo out;
  std::string error;
  ASSERT_TRUE(demo_decode(good, &out, &error));
  EXPECT_EQ(out.frame_checks, demo.frame_checks);
  // Every truncation.
  for (size_t n = 0; n < good.size(); ++n) {
    error.clear();
    EXPECT_FALSE(demo_decode(good.substr(0, n), &out, &error)) << n;
    EXPECT_FALSE(error.empty()) << n;
  }
  auto patched = [&](size_t at, std::initializer_list<uint8_t> bytes) {
    std::string s = good;
    for (uint8_t b : bytes) s[at++] = static_cast<char>(b);
    return s;
  };
  const size_t scores_at = 8 + 2 + 2 + 4 + 8;
  const size_t passes_at = scores_at + 4 + demo.scores.size();
  const struct {
    const char* what;
    std::string bytes;
    const char* says;
  } cases[] = {
      {"garbage", std::string(100, 'x'), "not a Zorvane demo"},
      {"newer version", patched(8, {2, 0}), "newer version"},
      {"unknown flags", patched(10, {1, 0}), "flags"},
      {"scores larger than allowed", patched(scores_at, {0, 0, 2, 0}), "too large"},
      {"scores past the end", patched(scores_at, {0xF0, 0xFF, 0, 0}), "truncated"},
      {"more passes than runs hold", patched(passes_at, {0x21, 0x4E, 0, 0}), "add up"},
      {"a run count the file cannot hold", patched(passes_at + 4, {0xFF, 0xFF, 0xFF, 0x7F}), "input runs"},
      {"extra bytes at the end", good + "!", "size"},
      {"far too large", std::string(DEMO_MAX_FILE_BYTES + 1, '\0'), "too large"},
  };
  for (const auto& c : cases) {
    error.clear();
    EXPECT_FALSE(demo_decode(c.bytes, &out, &error)) << c.what;
    EXPECT_NE(error.find(c.says), std::string::npos) << c.what << ": " << error;
  }
}

TEST(DemoFile, TheProgramRefusesABrokenDemoBeforeOpeningAWindow) {
  char path[] = "/tmp/zorvane-demo-XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(write(fd, "ZDEMO\x1a\r\n\x09\x00", 10), 10);  // a version from the future
  close(fd);
  for (DemoMode mode : {DemoMode::PLAY, DemoMode::TIME}) {
    fake_reset();
    fake_fail_window(true);  // a window would end the run with 1, not 2
    Options options;
    options.demo = mode;
    options.demo_file = path;
    EXPECT_EQ(app_main(options), 2);
    options.demo_file = std::string(path) + ".missing";
    EXPECT_EQ(app_main(options), 2);
  }
  unlink(path);
}

}  // namespace
