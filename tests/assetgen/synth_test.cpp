// The synthesiser's parts: pitch, glides, envelopes, noise and the final levelling.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "synth.h"

namespace {

float crossings_per_second(const std::vector<float>& v, size_t from, size_t to) {
  int32_t n = 0;
  for (size_t i = from + 1; i < to; ++i) n += (v[i - 1] < 0.0f) != (v[i] < 0.0f);
  return static_cast<float>(n) * SYNTH_RATE / static_cast<float>(to - from);
}

TEST(Synth, ToneHasItsPitchAndGlidesBetweenItsEnds) {
  Sound steady = sound_make(1.0f);
  sound_voice(&steady, Voice{0.0f, 1.0f, 441.0f, 441.0f, WAVE_SINE, 0.5f, 0.0f, 0.0f, 0.0f, 0.0f});
  EXPECT_NEAR(crossings_per_second(steady.samples, 0, steady.samples.size()), 882.0f, 6.0f);
  Sound glide = sound_make(1.0f);
  sound_voice(&glide, Voice{0.0f, 1.0f, 200.0f, 1600.0f, WAVE_SQUARE, 0.5f, 0.0f, 0.0f, 0.0f, 0.0f});
  const size_t n = glide.samples.size();
  // Exponential glide: each half spans a factor of sqrt(8); the middle is at about 566 Hz.
  EXPECT_NEAR(crossings_per_second(glide.samples, n / 2 - 1100, n / 2 + 1100), 2 * 566.0f, 60.0f);
  EXPECT_GT(crossings_per_second(glide.samples, 3 * n / 4, n), 2.0f * crossings_per_second(glide.samples, 0, n / 4));
}

TEST(Synth, VoicesStartWhereToldAndDieAwayWithoutSteps) {
  Sound s = sound_make(0.5f);
  sound_voice(&s, Voice{0.1f, 0.2f, 300.0f, 300.0f, WAVE_SAW, 0.8f, 0.01f, 0.05f, 0.0f, 0.0f});
  const size_t start = static_cast<size_t>(0.1f * SYNTH_RATE), end = static_cast<size_t>(0.3f * SYNTH_RATE);
  for (size_t i = 0; i < start; ++i) ASSERT_EQ(s.samples[i], 0.0f) << i;
  for (size_t i = end + 1; i < s.samples.size(); ++i) ASSERT_EQ(s.samples[i], 0.0f) << i;
  // Attack: quiet at first; decay: far quieter near the end than after the attack.
  EXPECT_LT(std::fabs(s.samples[start + 1]), 0.05f);
  float early = 0.0f, late = 0.0f;
  for (size_t i = start + 220; i < start + 660; ++i) early = std::fmax(early, std::fabs(s.samples[i]));
  for (size_t i = end - 660; i < end - 220; ++i) late = std::fmax(late, std::fabs(s.samples[i]));
  EXPECT_GT(early, 0.4f);
  EXPECT_LT(late, early * 0.2f);
  EXPECT_LT(std::fabs(s.samples[end - 1]), 0.01f);
}

TEST(Synth, NoiseIsSeededAndTheLowpassDullsIt) {
  Sound a = sound_make(0.2f), b = sound_make(0.2f), c = sound_make(0.2f), dull = sound_make(0.2f);
  sound_noise(&a, 0.0f, 0.2f, 0.5f, 0.0f, 0.0f, 0.0f, 7, 0.0f);
  sound_noise(&b, 0.0f, 0.2f, 0.5f, 0.0f, 0.0f, 0.0f, 7, 0.0f);
  sound_noise(&c, 0.0f, 0.2f, 0.5f, 0.0f, 0.0f, 0.0f, 8, 0.0f);
  sound_noise(&dull, 0.0f, 0.2f, 0.5f, 500.0f, 0.0f, 0.0f, 7, 0.0f);
  EXPECT_EQ(a.samples, b.samples);
  EXPECT_NE(a.samples, c.samples);
  const size_t n = a.samples.size();
  EXPECT_GT(crossings_per_second(a.samples, 0, n), 2.0f * crossings_per_second(dull.samples, 0, n));
  Sound high = a;
  sound_highpass(&high, 3000.0f);
  sound_lowpass(&a, 3000.0f);
  EXPECT_GT(crossings_per_second(high.samples, 0, n), crossings_per_second(a.samples, 0, n));
}

TEST(Synth, FinishLevelsToThePeakAndFadesBothEnds) {
  Sound s = sound_make(0.3f);
  sound_voice(&s, Voice{0.0f, 0.3f, 500.0f, 500.0f, WAVE_SQUARE, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f});
  const std::vector<int16_t> out = sound_finish(s, 0.5f);
  ASSERT_EQ(out.size(), s.samples.size());
  int32_t peak = 0;
  for (int16_t v : out) peak = std::max(peak, std::abs(static_cast<int32_t>(v)));
  EXPECT_NEAR(peak, 16384, 2);
  EXPECT_EQ(out.front(), 0);
  EXPECT_EQ(out.back(), 0);
  // A square at full strength from its first sample still enters and leaves gently.
  for (size_t i = 0; i < 40; ++i) {
    EXPECT_LE(std::abs(out[i]), static_cast<int32_t>(16384 * i / 100 + 1)) << i;
    EXPECT_LE(std::abs(out[out.size() - 1 - i]), static_cast<int32_t>(16384 * i / 200 + 1)) << i;
  }
  // Silence stays silence (no division by a zero peak).
  const std::vector<int16_t> quiet = sound_finish(sound_make(0.1f), 0.5f);
  for (int16_t v : quiet) ASSERT_EQ(v, 0);
}

}  // namespace
