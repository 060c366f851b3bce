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
