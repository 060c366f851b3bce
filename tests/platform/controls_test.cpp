// The program's own actions: once per press from any source, the volume's decibel steps on the
// mixer's output and their notices, the notice's picture and timing, and screenshots: names,
// folders, never overwriting, and a PNG holding the frame's exact indices and palette.
#include "platform/common/controls.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/common/audio_mixer.h"
#include "platform/common/glyphs.h"
#include "platform/common/notice.h"
#include "platform/common/png_writer.h"
#include "platform/common/screenshot.h"
#include "platform/common/settings.h"
#include "platform/common/storage.h"
#include "platform/platform.h"

#ifdef ZORVANE_HAVE_ZLIB
#include <zlib.h>
#endif

namespace {

namespace fs = std::filesystem;

constexpr ActionMask MUTE = action_bit(ACTION_MUTE), DOWN = action_bit(ACTION_VOLUME_DOWN),
                     UP = action_bit(ACTION_VOLUME_UP), SHOT = action_bit(ACTION_SCREENSHOT),
                     FULL = action_bit(ACTION_FULLSCREEN);

class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    settings_reset();
    notice_reset();
    StorageEnvironment env;
    env.data_option = ZORVANE_DATA_DIR;
    storage_configure(env);
    glyphs_forget();
  }
  void TearDown() override {
    settings_reset();
    notice_reset();
    storage_use_current_folder();
    glyphs_forget();
  }
};

}  // namespace

TEST_F(Controls, EachPressCountsOnceWhateverItsSource) {
  ControlEdges e;
  EXPECT_EQ(controls_begun(&e, MUTE, 0), MUTE);
  EXPECT_EQ(controls_begun(&e, MUTE, 0), 0u) << "held is not pressed again";
  EXPECT_EQ(controls_begun(&e, MUTE | action_bit(ACTION_UP), 0), 0u) << "the game's actions are not the program's";
  // A second source holding the same action while the first still does adds no press.
  EXPECT_EQ(controls_begun(&e, MUTE, 0), 0u);
  EXPECT_EQ(controls_begun(&e, 0, 0), 0u);
  // A tap over before the look still counts, once; so does one let go and pressed again while held.
  EXPECT_EQ(controls_begun(&e, 0, SHOT), SHOT);
  EXPECT_EQ(controls_begun(&e, 0, 0), 0u);
  EXPECT_EQ(controls_begun(&e, FULL, FULL), FULL);
  EXPECT_EQ(controls_begun(&e, FULL, FULL), FULL);
}

TEST_F(Controls, VolumeStepsByTenOnADecibelCurveAndMuteSilencesTheOutput) {
  uint32_t now = 1000;
  controls_apply(DOWN, now);
  EXPECT_EQ(settings_now().volume, 90);
  EXPECT_EQ(notice_text(), "Volume 90 %");
  for (int i = 0; i < 12; ++i) controls_apply(DOWN, now);
  EXPECT_EQ(settings_now().volume, 0);
  EXPECT_EQ(notice_text(), "Sound off");
  EXPECT_EQ(mixer_master_gain(), 0);
  controls_apply(UP, now);
  EXPECT_EQ(settings_now().volume, 10);
  settings_set_volume(45);  // from a file: the keys go to the tens on either side
  controls_apply(UP, now);
  EXPECT_EQ(settings_now().volume, 50);
  settings_set_volume(45);
  controls_apply(DOWN, now);
  EXPECT_EQ(settings_now().volume, 40);
  controls_apply(UP | DOWN, now);
  EXPECT_EQ(settings_now().volume, 40) << "both at once cancel";
  controls_apply(MUTE, now);
  EXPECT_TRUE(settings_now().muted);
  EXPECT_EQ(notice_text(), "Sound off");
  EXPECT_EQ(mixer_master_gain(), 0);
  controls_apply(MUTE, now);
  EXPECT_EQ(notice_text(), "Volume 40 %");
  EXPECT_EQ(mixer_master_gain(), mixer_volume_gain(40));
  controls_apply(MUTE, now);
  controls_apply(UP, now);  // a step turns the sound back on
  EXPECT_FALSE(settings_now().muted);
  EXPECT_EQ(settings_now().volume, 50);
  EXPECT_EQ(controls_apply(FULL | MUTE, now), FULL) << "full screen is the platform's to do";
  // Every step of ten is the same number of decibels: the ear hears even steps.
  for (int32_t v = 10; v < 100; v += 10) {
    const double step = 20 * std::log10(static_cast<double>(mixer_volume_gain(v + 10)) / mixer_volume_gain(v));
    EXPECT_NEAR(step, 5.0, 0.05) << v;  // rounding to 1/32768 at the quiet end
  }
  EXPECT_EQ(mixer_volume_gain(100), MIX_UNITY);
  EXPECT_EQ(mixer_volume_gain(0), 0);
}

TEST_F(Controls, TheMasterGainScalesTheMixedOutput) {
  int16_t frames[4] = {20000, -20000, 1000, -1000};
  MixVoice voice;
  voice.frames = frames;
  voice.frame_count = 2;
  MixVoice* voices[] = {&voice};
  int16_t out[4];
  int32_t acc[4];
  settings_set_volume(80);  // 10 dB down: about 0.316
  voice.playing = 1;
  mixer_mix(voices, 1, out, 2, acc);
  EXPECT_NEAR(out[0], 20000 * 0.3162, 2);
  EXPECT_NEAR(out[3], -1000 * 0.3162, 2);
  settings_set_muted(true);
  voice.playing = 1;
  voice.position = 0;
  mixer_mix(voices, 1, out, 2, acc);
  for (int16_t s : out) EXPECT_EQ(s, 0);
  settings_set_muted(false);
  settings_set_volume(100);
  voice.playing = 1;
  voice.position = 0;
  mixer_mix(voices, 1, out, 2, acc);
  EXPECT_EQ(out[0], 20000);
}

TEST_F(Controls, ANoticeIsTheTextInInkOnItsBoxForOneAndAHalfSeconds) {
  const NoticeImage image = notice_render("Volume 70 %");
  ASSERT_GT(image.width, 40);
  ASSERT_GT(image.height, 12);
  size_t ink = 0, box = 0;
  for (uint32_t p : image.argb) (p == 0xFFFFFFFFu ? ink : box) += 1;
  EXPECT_GT(ink, 40u);
  EXPECT_GT(box, ink);
  EXPECT_GT(notice_render("Volume 100 %").width, image.width);
  // Timing, and a serial that moves when one comes and when it goes.
  const uint32_t s0 = notice_serial(0);
  EXPECT_EQ(notice_at(0), nullptr);
  notice_post("Sound off", 0xFFFFFF00u);  // across the tick counter's wrap
  const uint32_t s1 = notice_serial(0xFFFFFF00u);
  EXPECT_NE(s1, s0);
  EXPECT_NE(notice_at(0xFFFFFF00u + NOTICE_MS - 1), nullptr);
  EXPECT_EQ(notice_serial(0xFFFFFF00u + NOTICE_MS - 1), s1);
  EXPECT_EQ(notice_at(0xFFFFFF00u + NOTICE_MS), nullptr);
  const uint32_t s2 = notice_serial(0xFFFFFF00u + NOTICE_MS);
  EXPECT_NE(s2, s1);
  EXPECT_EQ(notice_serial(0xFFFFFF00u + 5 * NOTICE_MS), s2);
  // Without a glyph table there is nothing to draw, and nothing fails.
  storage_use_current_folder();
  glyphs_forget();
  StorageEnvironment none;
  none.data_option = "/nonexistent";
  storage_configure(none);
  testing::internal::CaptureStderr();
  EXPECT_EQ(notice_render("Sound off").width, 0);
  notice_post("Sound off", 0);
  EXPECT_EQ(notice_at(1), nullptr);
  testing::internal::GetCapturedStderr();
}

TEST(Screenshots, NamesAndThePicturesFolder) {
  setenv("TZ", "UTC", 1);
  tzset();
  EXPECT_EQ(screenshot_file_name(1796000000, 1), "zorvane-20261130-005320.png");
  EXPECT_EQ(screenshot_file_name(1796000000, 3), "zorvane-20261130-005320-3.png");
  const std::string dirs =
      "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n  XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
  EXPECT_EQ(screenshot_user_dirs_pictures(dirs, "/home/p"), "/home/p/Bilder");
  EXPECT_EQ(screenshot_user_dirs_pictures("XDG_PICTURES_DIR=\"/srv/pics\"\n", "/home/p"), "/srv/pics");
  EXPECT_EQ(screenshot_user_dirs_pictures("XDG_PICTURES_DIR=\"$HOME\"\n", "/home/p"), "/home/p");
  for (const char* unusable : {"XDG_PICTURES_DIR=\"relative/pics\"\n", "XDG_PICTURES_DIR=$HOME/Pictures\n",
                               "#XDG_PICTURES_DIR=\"/srv/pics\"\n", "XDG_PICTURES_DIR=\"${HOME}/x\"\n", ""})
    EXPECT_EQ(screenshot_user_dirs_pictures(unusable, "/home/p"), "") << unusable;

  char pattern[] = "/tmp/zorvane-shots-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const fs::path root = pattern;
  ScreenshotEnvironment env;
  env.home = (root / "home").string();
  EXPECT_EQ(screenshot_folder(env), env.home + "/Zorvane");
  fs::create_directories(root / "home/.config");
  std::ofstream(root / "home/.config/user-dirs.dirs") << "XDG_PICTURES_DIR=\"$HOME/Pictures\"\n";
  EXPECT_EQ(screenshot_folder(env), env.home + "/Pictures/Zorvane");
  env.xdg_config_home = (root / "cfg").string();  // its own user-dirs.dirs, which has none
  EXPECT_EQ(screenshot_folder(env), env.home + "/Zorvane");
  env.xdg_pictures_dir = (root / "pics").string();
  EXPECT_EQ(screenshot_folder(env), (root / "pics/Zorvane").string());
  // Never over a file already there: -2, -3 in the same second.
  const std::vector<uint8_t> png = {1, 2, 3};
  const std::string folder = screenshot_folder(env);
  EXPECT_EQ(screenshot_save(folder, 1796000000, png), folder + "/zorvane-20261130-005320.png");
  EXPECT_EQ(screenshot_save(folder, 1796000000, png), folder + "/zorvane-20261130-005320-2.png");
  std::ofstream(folder + "/zorvane-20261130-005320-3.png") << "mine";
  EXPECT_EQ(screenshot_save(folder, 1796000000, png), folder + "/zorvane-20261130-005320-4.png");
  std::ifstream mine(folder + "/zorvane-20261130-005320-3.png");
  std::string kept;
  mine >> kept;
  EXPECT_EQ(kept, "mine");
  EXPECT_EQ(screenshot_save("", 1796000000, png), "");
  std::error_code ec;
  fs::remove_all(root, ec);
}

#ifdef ZORVANE_HAVE_ZLIB
// Read back through zlib, a decoder that is not ours: every index and palette entry as given.
TEST(Screenshots, ThePngHoldsTheFramesIndicesAndPalette) {
  uint8_t palette[256][3];
  for (int i = 0; i < 256; ++i) palette[i][0] = uint8_t(i), palette[i][1] = uint8_t(255 - i), palette[i][2] = uint8_t(i * 7);
  // Frames that take every path of the compressor: noise (literals), black (the longest matches),
  // stripes and a picture whose rows come back far above (matches up to the window's end).
  const char* kinds[] = {"noise", "black", "stripes", "far rows"};
  for (int kind = 0; kind < 4; ++kind) {
    SCOPED_TRACE(kinds[kind]);
    std::vector<uint8_t> frame(static_cast<size_t>(700) * 480);  // pitch 700 for a 640-wide frame
    for (size_t i = 0; i < frame.size(); ++i) {
      const size_t x = i % 700, y = i / 700;
      const uint8_t noise = uint8_t((i * 2654435761u) >> 24);
      frame[i] = kind == 0 ? noise : kind == 1 ? 0 : kind == 2 ? uint8_t(x / 5 % 3 + (y & 1)) : uint8_t(((y % 51) * 7919 + x * x) >> 3);
    }
    const std::vector<uint8_t> png = png_encode_indexed(frame.data(), 640, 480, 700, palette);
    ASSERT_GT(png.size(), 8u + 25u);
    std::vector<uint8_t> idat, plte;
    size_t at = 8;
    uint8_t colour_type = 0;
    while (at + 12 <= png.size()) {
      const uint32_t n = uint32_t(png[at]) << 24 | uint32_t(png[at + 1]) << 16 | uint32_t(png[at + 2]) << 8 | png[at + 3];
      const std::string type(png.begin() + at + 4, png.begin() + at + 8);
      const uint8_t* data = png.data() + at + 8;
      if (type == "IHDR") colour_type = data[9];
      if (type == "PLTE") plte.assign(data, data + n);
      if (type == "IDAT") idat.insert(idat.end(), data, data + n);
      EXPECT_EQ(crc32(0, png.data() + at + 4, n + 4),
                uint32_t(data[n]) << 24 | uint32_t(data[n + 1]) << 16 | uint32_t(data[n + 2]) << 8 | data[n + 3]);
      at += 12 + n;
    }
    EXPECT_EQ(colour_type, 3);
    ASSERT_EQ(plte.size(), 768u);
    EXPECT_EQ(0, std::memcmp(plte.data(), palette, 768));
    std::vector<uint8_t> raw(641 * 480 + 1);
    uLongf size = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &size, idat.data(), idat.size()), Z_OK);
    ASSERT_EQ(size, 641u * 480u);
    for (int y = 0; y < 480; ++y) {
      EXPECT_EQ(raw[y * 641], 0);
      ASSERT_EQ(0, std::memcmp(&raw[y * 641 + 1], &frame[static_cast<size_t>(y) * 700], 640)) << "row " << y;
    }
    if (kind == 1) {
      EXPECT_LT(png.size(), 4000u) << "a black frame compresses";
    }
  }
}
#endif
