// The streamed sound: silence first, then each half refilled from the file once the play
// position has left it, looping back to the file's first sample.
#include <algorithm>
#include <climits>

#include "sound/sound_stream.h"
#include "sound_support.h"

namespace {

using SoundStreamTest = SoundTest;

TEST_F(SoundStreamTest, RefillsTheHalfJustPlayedAndLoopsTheFile) {
  start_device();
  const Bytes f = make_sound("music.wav", 2500);  // 20000 bytes at 8000 bytes a second
  ASSERT_TRUE(sound_stream_open("music.wav"));
  ASSERT_EQ(fake_sound_labels(), std::vector<std::string>{"music.wav"});
  EXPECT_EQ(fake_sound_plays()[0].looping, 1);
  const Bytes silent(8000, 0x80);
  const struct { uint32_t ms; Bytes want; } steps[] = {
      {0, join({silent, silent})},
      {500, join({silent, silent})},
      {500, join({slice(f, 0, 8000), silent})},  // into the second half: the first is refilled
      {500, join({slice(f, 0, 8000), silent})},
      {500, slice(f, 0, 16000)},  // wrapped to the first half: the second is refilled
      {1000, join({slice(f, 16000, 20000), slice(f, 0, 4000), slice(f, 8000, 16000)})},  // the file starts over
  };
  for (const auto& step : steps) {
    fake_advance_ms(step.ms);
    EXPECT_TRUE(sound_stream_service());
    EXPECT_EQ(fake_audio_buffer_bytes(sound_stream.buffer), step.want) << fake_elapsed_ms() << " ms";
  }
}

TEST_F(SoundStreamTest, AShortFileOrAFailedRewindLeavesTheRestOfTheHalf) {
  start_device();
  const Bytes f = make_sound("short.wav", 375);  // 3000 bytes: read twice into the half
  ASSERT_TRUE(sound_stream_open("short.wav"));
  fake_advance_ms(1000);
  sound_stream_service();
  EXPECT_EQ(fake_audio_buffer_bytes(sound_stream.buffer), join({f, f, Bytes(10000, 0x80)}));

  ASSERT_TRUE(sound_stream_open("short.wav"));
  EXPECT_EQ(fake_audio_live_buffers(), 1u);  // the first stream's buffer is gone
  sound_shutdown();  // also forgets the last play position seen
  start_device();
  ASSERT_TRUE(sound_stream_open("short.wav"));
  sound_stream.riff.dwDataOffset = 10'000'000;
  fake_advance_ms(1000);
  testing::internal::CaptureStderr();
  EXPECT_TRUE(sound_stream_service());
  EXPECT_NE(testing::internal::GetCapturedStderr().find("Can't reset file.\n"), std::string::npos);
  EXPECT_EQ(fake_audio_buffer_bytes(sound_stream.buffer), join({f, Bytes(13000, 0x80)}));
}

// 8-bit silence (0x80) shows in the refill test; 16-bit silence is 0.
TEST_F(SoundStreamTest, BufferHoldsTwoSecondsOfItsOwnSilenceAndPanStaysWithinTheDeviceRange) {
  start_device();
  make_sound("music.wav", 1000, 16, 22050);
  ASSERT_TRUE(sound_stream_open("music.wav"));
  EXPECT_EQ(sound_stream.half_size, 44100u);
  const int32_t b = sound_stream.buffer;
  uint32_t n = 0;
  uint8_t* p = platform_audio_buffer_lock(b, 0, 0, &n);
  std::fill(p, p + n, 0x55);
  platform_audio_buffer_unlock(b);
  ASSERT_TRUE(sound_stream_silence(b));
  EXPECT_EQ(fake_audio_buffer_bytes(b), Bytes(88200, 0));
  const int32_t moves[][2] = {{15000, 10000}, {-30000, -10000}, {2500, -7500}, {INT_MAX, 10000}, {INT_MIN, -10000}};
  for (const auto& m : moves) {
    sound_stream_pan(m[0]);
    EXPECT_EQ(fake_audio_requested_pan(b), m[1]) << m[0];
  }
  EXPECT_FALSE(sound_stream_open("missing.wav"));
  EXPECT_EQ(fake_audio_live_buffers(), 0u);
  EXPECT_FALSE(sound_stream_service());
  sound_stream_pan(500);  // no stream: nothing to pan, nothing breaks
}

}  // namespace
