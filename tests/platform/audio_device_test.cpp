// Sounds played end to end through SDL's audio thread (the dummy driver runs the callback).
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/platform.h"
#include "platform/sdl/audio_sdl.h"

namespace {

const int dummy_audio = setenv("SDL_AUDIODRIVER", "dummy", 0);

// A sound as the WAV reader hands it over: a tone of the given length in its own format.
int32_t tone(const PcmFormat& f, double seconds, double hz) {
  const uint32_t size = f.bits_per_sample / 8, samples = static_cast<uint32_t>(seconds * f.sample_rate) * f.channels;
  uint32_t locked = 0;
  int32_t b = platform_audio_buffer_create(&f, samples * size, "tone.wav");
  uint8_t* p = platform_audio_buffer_lock(b, 0, 0, &locked);
  if (!p) return 0;
  for (uint32_t i = 0; i < samples; ++i) {
    double s = 0.5 * std::sin(2 * 3.14159265358979 * hz * (i / f.channels) / f.sample_rate);
    int16_t v = static_cast<int16_t>(size == 1 ? 128 + std::lround(s * 127) : std::lround(s * 32767));
    std::memcpy(p + i * size, &v, size);
  }
  platform_audio_buffer_unlock(b);
  return b;
}

}  // namespace

TEST(AudioDevice, OverlappingSoundsPlayToTheirEndsOnTheAudioThread) {
  ASSERT_EQ(platform_audio_open(), 1);
  int32_t a = tone(PcmFormat{1, 22050, 16}, 0.25, 440), b = tone(PcmFormat{2, 11025, 8}, 0.15, 660);
  ASSERT_TRUE(a && b);
  const uint64_t before = audio_frames_mixed();
  ASSERT_EQ(platform_audio_buffer_play(a, 0, 0) + platform_audio_buffer_play(b, 0, 0), 2);
  // Watch the first sound move through its bytes until both have ended; the limit only
  // guards against a callback that never runs.
  uint32_t last = 0, moves = 0, pos = 0;
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while ((platform_audio_buffer_playing(a) || platform_audio_buffer_playing(b)) &&
         std::chrono::steady_clock::now() < give_up) {
    ASSERT_EQ(platform_audio_buffer_position(a, &pos), 1);
    EXPECT_EQ(pos % 2, 0u);
    EXPECT_LT(pos, 11025u);
    moves += pos > last ? 1 : 0;
    last = pos;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(platform_audio_buffer_playing(a) + platform_audio_buffer_playing(b), 0);
  EXPECT_GE(moves, 2u);
  EXPECT_GE(audio_frames_mixed() - before, static_cast<uint64_t>(0.25 * AUDIO_DEVICE_RATE));

  ASSERT_EQ(platform_audio_buffer_play(b, 0, 1), 1);  // looping goes on until stopped
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  EXPECT_EQ(platform_audio_buffer_playing(b), 1);
  platform_audio_close();
  EXPECT_EQ(platform_audio_buffer_playing(b) + platform_audio_buffer_play(a, 0, 0), 0);
}

// No output at first (a driver that cannot start, as with no sound server): sounds are made,
// played and ended in silence at the device's pace, a loop keeps going, and once a driver can
// start the next try opens it and the same buffers play through it.
TEST(AudioDevice, WithoutAnOutputSoundsGoOnSilentlyUntilADeviceOpens) {
  setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
  ASSERT_EQ(platform_audio_open(), 1);
  EXPECT_EQ(audio_output_open(), 0);
  const int32_t once = tone(PcmFormat{1, 22050, 16}, 0.25, 440), loop = tone(PcmFormat{2, 11025, 8}, 0.1, 660);
  ASSERT_TRUE(once && loop);
  ASSERT_EQ(platform_audio_buffer_play(once, 0, 0) + platform_audio_buffer_play(loop, 0, 1), 2);
  const int64_t t0 = 1000000000;  // any monotonic clock: the first poll starts it
  audio_poll_at(t0);
  audio_poll_at(t0 + 100000);
  uint32_t pos = 0;
  ASSERT_EQ(platform_audio_buffer_position(once, &pos), 1);
  EXPECT_NEAR(pos, 0.1 * 22050 * 2, 2 * 64);  // 0.1 s of 16-bit mono, within a few frames
  EXPECT_EQ(platform_audio_buffer_playing(once), 1);
  audio_poll_at(t0 + 300000);
  EXPECT_EQ(platform_audio_buffer_playing(once), 0);  // ended, as if heard
  EXPECT_EQ(platform_audio_buffer_playing(loop), 1);
  EXPECT_EQ(audio_output_open(), 0);

  setenv("SDL_AUDIODRIVER", "dummy", 1);
  audio_poll_at(t0 + 1000000);  // before the next try is due
  EXPECT_EQ(audio_output_open(), 0);
  audio_poll_at(t0 + 3000000);
  ASSERT_EQ(audio_output_open(), 1);
  // The loop, started before there was a device, now goes through it; the one-shot again too.
  const uint64_t before = audio_frames_mixed();
  ASSERT_EQ(platform_audio_buffer_play(once, 0, 0), 1);
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (platform_audio_buffer_playing(once) && std::chrono::steady_clock::now() < give_up)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(platform_audio_buffer_playing(once), 0);
  EXPECT_EQ(platform_audio_buffer_playing(loop), 1);
  EXPECT_GE(audio_frames_mixed() - before, static_cast<uint64_t>(0.25 * AUDIO_DEVICE_RATE));
  platform_audio_close();
}
