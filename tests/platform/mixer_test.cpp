// The software mixer through the buffers of the platform interface (buffers at the device rate
// played from their own bytes, SDL's conversion of the others, sums, positions, looping, pan) on
// the offline mixer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl/audio_sdl.h"

namespace {

// The offline mixer with a fresh set of buffers for each test.
class Mixer : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(audio_open_offline(), 1); }
  void TearDown() override { platform_audio_close(); }

  // A buffer of the given format holding one sample value (a byte for 8 bits) throughout.
  static int32_t filled(int32_t channels, int32_t rate, int32_t bits, uint32_t frames, int32_t value) {
    PcmFormat f{channels, rate, bits};
    uint32_t bytes = frames * static_cast<uint32_t>(channels * bits / 8), locked = 0;
    int32_t b = platform_audio_buffer_create(&f, bytes, "test.wav");
    uint8_t* p = platform_audio_buffer_lock(b, 0, 0, &locked);
    if (!p || locked != bytes) return 0;
    const int16_t s = static_cast<int16_t>(value);
    for (uint32_t i = 0; i < bytes; i += static_cast<uint32_t>(bits / 8)) std::memcpy(p + i, &s, bits / 8);
    platform_audio_buffer_unlock(b);
    return b;
  }
  static std::vector<int16_t> render(int32_t frames) {
    std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
    audio_render(out.data(), frames);
    return out;
  }
  static uint32_t position(int32_t b) {
    uint32_t p = 0xFFFFFFFF;
    EXPECT_EQ(platform_audio_buffer_position(b, &p), 1);
    return p;
  }
};

}  // namespace

TEST_F(Mixer, OverlappingBuffersSumAndClipInsteadOfWrapping) {
  const int32_t rate = AUDIO_DEVICE_RATE;
  int32_t a = filled(2, rate, 16, 1000, 1000), b = filled(1, rate, 16, 500, 2000);
  ASSERT_EQ(platform_audio_buffer_play(a, 0, 0) + platform_audio_buffer_play(b, 0, 0), 2);
  std::vector<int16_t> out = render(800);
  EXPECT_EQ(out[0], 3000);
  EXPECT_EQ(out[2 * 499 + 1], 3000);
  EXPECT_EQ(out[2 * 500], 1000);  // b has ended
  EXPECT_EQ(platform_audio_buffer_playing(b), 0);
  platform_audio_buffer_release(a);  // taken out of the mix while playing
  int32_t c = filled(2, rate, 16, 100, 30000), d = filled(1, rate, 16, 100, 30000);
  ASSERT_EQ(platform_audio_buffer_play(c, 0, 0) + platform_audio_buffer_play(d, 0, 0), 2);
  ASSERT_EQ(platform_audio_buffer_play(filled(2, rate, 16, 100, -30000), 0, 0), 1);
  EXPECT_NEAR(render(50)[2 * 40], 30000, 50);  // 30000 + 30000 - 30000: summed wide, clamped once
  platform_audio_buffer_stop(c);
  platform_audio_buffer_stop(d);
  EXPECT_EQ(render(20)[2 * 10], -30000);
  ASSERT_EQ(platform_audio_buffer_play(c, 0, 0) + platform_audio_buffer_play(d, 0, 0), 2);
  EXPECT_EQ(render(50)[2 * 40], 32767);
}

TEST_F(Mixer, EightBitMidpointIsSilenceAndFreshBuffersHoldIt) {
  ASSERT_EQ(platform_audio_buffer_play(filled(1, 11025, 8, 2000, 0x80), 0, 0), 1);
  PcmFormat f{2, 22050, 8};
  ASSERT_EQ(platform_audio_buffer_play(platform_audio_buffer_create(&f, 400, "fresh.wav"), 0, 0), 1);
  std::vector<int16_t> out = render(4000);
  for (size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i], 0) << i;
}

TEST_F(Mixer, OneSecondAtAnyRateLastsOneSecondAtTheDeviceRate) {
  for (int32_t rate : {22050, 11025, 8000, 44100}) {
    SCOPED_TRACE(rate);
    int32_t b = filled(1, rate, 16, static_cast<uint32_t>(rate), 5000);
    ASSERT_EQ(platform_audio_buffer_play(b, 0, 0), 1);
    uint64_t before = audio_frames_mixed();
    EXPECT_NEAR(render(AUDIO_DEVICE_RATE - 1)[AUDIO_DEVICE_RATE], 5000, 25);  // the level survives the resampler
    EXPECT_EQ(platform_audio_buffer_playing(b), 1);
    // The source frame under the last device frame mixed, in bytes.
    EXPECT_EQ(position(b), static_cast<uint32_t>(int64_t{AUDIO_DEVICE_RATE - 1} * rate / AUDIO_DEVICE_RATE) * 2);
    render(1);
    EXPECT_EQ(platform_audio_buffer_playing(b), 0);
    EXPECT_EQ(audio_frames_mixed() - before, static_cast<uint64_t>(AUDIO_DEVICE_RATE));
    EXPECT_EQ(position(b), 0u);
  }
}

TEST_F(Mixer, PositionsAreInTheBuffersOwnBytesAndLoopsComeRound) {
  // Mono 16-bit at the device rate: two bytes per frame, played as they are.
  int32_t b = filled(1, AUDIO_DEVICE_RATE, 16, 22050, 1000);
  ASSERT_EQ(audio_buffer_device_frames(b), 22050u);
  ASSERT_EQ(platform_audio_buffer_play(b, 22050, 0), 1);  // half way
  EXPECT_EQ(position(b), 22050u);
  render(1000);
  EXPECT_EQ(position(b), 24050u);
  render(10024);
  EXPECT_EQ(platform_audio_buffer_playing(b), 1);
  render(1);
  EXPECT_EQ(platform_audio_buffer_playing(b), 0);
  ASSERT_EQ(platform_audio_buffer_play(b, 1001, 0), 1);  // inside a frame: that frame
  EXPECT_EQ(position(b), 1000u);
  EXPECT_EQ(platform_audio_buffer_play(b, 44100, 0), 0);  // past the end
  render(10);
  platform_audio_buffer_stop(b);  // keeps its place
  render(100);
  EXPECT_EQ(position(b), 1020u);

  // 8-bit stereo at half the device rate, looping from source frame 500 of 1000: 1000 device
  // frames to the end, 2000 for a whole pass, then 100 source frames into the next.
  int32_t c = filled(2, AUDIO_DEVICE_RATE / 2, 8, 1000, 0x90);
  ASSERT_EQ(platform_audio_buffer_play(c, 1000, 1), 1);
  std::vector<int16_t> out = render(1000 + 2000 + 200);
  EXPECT_EQ(platform_audio_buffer_playing(c), 1);
  EXPECT_EQ(position(c), 200u);
  EXPECT_NEAR(out[2 * 1500], 0x10 << 8, 30);
}

TEST_F(Mixer, PanTakesDecibelsOffTheOtherSideAndIsLimited) {
  int32_t b = filled(2, AUDIO_DEVICE_RATE, 16, 1000, 8000), pan = 0;
  ASSERT_EQ(platform_audio_buffer_set_pan(b, -600), 1);  // -6 dB on the right: about half
  ASSERT_EQ(platform_audio_buffer_play(b, 0, 0), 1);
  std::vector<int16_t> out = render(100);
  EXPECT_EQ(out[20], 8000);
  EXPECT_NEAR(out[21], 8000 * 501 / 1000, 4);
  // A mono buffer's one channel goes to both sides, each at its own gain.
  int32_t m = filled(1, AUDIO_DEVICE_RATE, 16, 100, -8000);
  ASSERT_EQ(platform_audio_buffer_set_pan(m, 600), 1);
  ASSERT_EQ(platform_audio_buffer_play(m, 0, 0), 1);
  out = render(10);
  EXPECT_NEAR(out[0], 8000 - 8000 * 501 / 1000, 4);
  EXPECT_NEAR(out[1], 8000 * 501 / 1000 - 8000, 4);
  render(100);
  ASSERT_EQ(platform_audio_buffer_set_pan(b, 25000), 1);
  ASSERT_EQ(platform_audio_buffer_get_pan(b, &pan), 1);
  EXPECT_EQ(pan, 10000);
  out = render(100);
  EXPECT_EQ((std::vector<int16_t>{out[20], out[21]}), (std::vector<int16_t>{0, 8000}));  // left silenced
}

TEST_F(Mixer, RefillingHalfAPlayingBufferChangesOnlyThatHalf) {
  // A stream of two halves of 1000 frames, once played from its own bytes (at the device rate)
  // and once through a converted copy (at half of it).
  for (int32_t rate : {AUDIO_DEVICE_RATE, AUDIO_DEVICE_RATE / 2}) {
    SCOPED_TRACE(rate);
    const int32_t per = AUDIO_DEVICE_RATE / rate;  // device frames a source frame
    int32_t b = filled(1, rate, 16, 2000, 1000);
    ASSERT_EQ(platform_audio_buffer_play(b, 0, 1), 1);
    render(250 * per);
    uint32_t locked = 0;
    uint8_t* p = platform_audio_buffer_lock(b, 2000, 2000, &locked);
    ASSERT_EQ(locked, 2000u);
    const int16_t s = -3000;
    for (int i = 0; i < 1000; ++i) std::memcpy(p + 2 * i, &s, 2);
    platform_audio_buffer_unlock(b);
    std::vector<int16_t> out = render(1750 * per);
    EXPECT_NEAR(out[2 * 500 * per], 1000, 10);    // source frame 750: first half
    EXPECT_NEAR(out[2 * 1250 * per], -3000, 15);  // source frame 1500: second half
    EXPECT_EQ(position(b), 0u);
    platform_audio_buffer_release(b);
  }
  int32_t b = filled(1, AUDIO_DEVICE_RATE, 16, 2000, 1000);
  uint32_t locked = 0;
  platform_audio_buffer_lock(b, 3990, 100, &locked);
  EXPECT_EQ(locked, 10u);  // cut at the end
  platform_audio_buffer_unlock(b);
}

TEST_F(Mixer, SpentBuffersReplayAfterTheirCopyIsDropped) {
  int32_t a = filled(1, AUDIO_DEVICE_RATE / 2, 16, 100, 4000);
  ASSERT_EQ(platform_audio_buffer_play(a, 0, 0), 1);
  render(400);
  ASSERT_NE(filled(1, AUDIO_DEVICE_RATE, 16, 100, 0), 0);  // creating a buffer drops spent copies
  EXPECT_EQ(audio_buffer_device_frames(a), 0u);
  ASSERT_EQ(platform_audio_buffer_play(a, 0, 0), 1);
  EXPECT_EQ(audio_buffer_device_frames(a), 200u);
  EXPECT_NEAR(render(200)[200], 4000, 20);
}

TEST_F(Mixer, BadFormatsAndStaleHandlesFailQuietly) {
  PcmFormat bad[] = {{3, 22050, 16}, {1, 22050, 24}, {1, 0, 16}}, good{1, 22050, 16};
  for (const PcmFormat& f : bad) EXPECT_EQ(platform_audio_buffer_create(&f, 100, "x"), 0);
  EXPECT_EQ(platform_audio_buffer_create(&good, 0, "x"), 0);
  int32_t b = platform_audio_buffer_create(&good, 101, nullptr);  // a trailing half frame
  uint32_t n = 0;
  EXPECT_EQ(platform_audio_buffer_lock(b, 101, 0, &n), nullptr);
  platform_audio_buffer_release(b);
  EXPECT_EQ(platform_audio_buffer_play(b, 0, 0) + platform_audio_buffer_position(b, &n), 0);
  EXPECT_EQ(platform_audio_buffer_lock(b, 0, 0, &n), nullptr);
}
