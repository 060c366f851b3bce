// The synthesiser's voices, noise, filters and the final levelling.
#include "synth.h"

#include <cmath>

#include "canvas.h"

namespace {

constexpr double TWO_PI = 6.283185307179586;

int32_t to_sample(float seconds) { return static_cast<int32_t>(std::lround(seconds * SYNTH_RATE)); }

// Envelope at time t (seconds) into a voice of the given length.
float envelope(float t, float length, float attack, float decay) {
  float e = 1.0f;
  if (attack > 0.0f && t < attack) e = t / attack;
  if (decay > 0.0f && t > attack) e *= std::exp(-(t - attack) / decay);
  // Every voice releases over its last 4 ms, so voices never end with a step.
  const float tail = length - t;
  if (tail < 0.004f) e *= std::fmax(0.0f, tail / 0.004f);
  return e;
}

float oscillator(Waveform wave, double phase) {
  const double p = phase - std::floor(phase);
  switch (wave) {
    case WAVE_SINE: return static_cast<float>(std::sin(TWO_PI * p));
    case WAVE_SQUARE: return static_cast<float>(std::tanh(std::sin(TWO_PI * p) * 6.0));  // rounded edges
    case WAVE_SAW: return static_cast<float>(2.0 * p - 1.0);
    case WAVE_TRIANGLE: return static_cast<float>(p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p);
  }
  return 0.0f;
}

}  // namespace

Sound sound_make(float seconds) { return Sound{std::vector<float>(static_cast<size_t>(to_sample(seconds)), 0.0f)}; }

void sound_voice(Sound* s, const Voice& v) {
  const int32_t first = to_sample(v.start), count = to_sample(v.length);
  double phase = 0.0;
  for (int32_t i = 0; i < count; ++i) {
    const int32_t n = first + i;
    if (n < 0 || n >= static_cast<int32_t>(s->samples.size())) continue;
    const float t = static_cast<float>(i) / SYNTH_RATE;
    const float k = count > 1 ? static_cast<float>(i) / static_cast<float>(count - 1) : 0.0f;
    float f = v.f0 * std::pow(v.f1 / v.f0, k);
    if (v.vibrato_depth > 0.0f) f *= 1.0f + v.vibrato_depth * static_cast<float>(std::sin(TWO_PI * v.vibrato_hz * t));
    phase += static_cast<double>(f) / SYNTH_RATE;
    s->samples[n] += oscillator(v.wave, phase) * v.amplitude * envelope(t, v.length, v.attack, v.decay);
  }
}

void sound_noise(Sound* s, float start, float length, float amplitude, float cutoff, float attack, float decay,
                 uint32_t seed, float crackle) {
  Rng rng{0x9E3779B97F4A7C15ULL ^ seed};
  const int32_t first = to_sample(start), count = to_sample(length);
  const float a = cutoff > 0.0f ? 1.0f - std::exp(-static_cast<float>(TWO_PI) * cutoff / SYNTH_RATE) : 1.0f;
  float low = 0.0f, burst = 0.0f;
  for (int32_t i = 0; i < count; ++i) {
    const int32_t n = first + i;
    if (n < 0 || n >= static_cast<int32_t>(s->samples.size())) continue;
    const float t = static_cast<float>(i) / SYNTH_RATE;
    float x = rng_unit(&rng) * 2.0f - 1.0f;
    if (crackle > 0.0f) {
      // Sparse pops: a burst starts now and then and dies within a millisecond or two.
      if (rng_unit(&rng) < crackle) burst = 0.4f + 0.6f * rng_unit(&rng);
      burst *= 0.94f;
      x *= burst;
    }
    low += (x - low) * a;
    s->samples[n] += low * amplitude * envelope(t, length, attack, decay);
  }
}

void sound_lowpass(Sound* s, float cutoff) {
  const float a = 1.0f - std::exp(-static_cast<float>(TWO_PI) * cutoff / SYNTH_RATE);
  float low = 0.0f;
  for (float& x : s->samples) {
    low += (x - low) * a;
    x = low;
  }
}

void sound_highpass(Sound* s, float cutoff) {
  const float a = 1.0f - std::exp(-static_cast<float>(TWO_PI) * cutoff / SYNTH_RATE);
  float low = 0.0f;
  for (float& x : s->samples) {
    low += (x - low) * a;
    x -= low;
  }
}

void sound_drive(Sound* s, float drive) {
  for (float& x : s->samples) x = std::tanh(x * drive);
}

std::vector<int16_t> sound_finish(const Sound& s, float peak) {
  const size_t n = s.samples.size();
  float loudest = 0.0f;
  for (float x : s.samples) loudest = std::fmax(loudest, std::fabs(x));
  const float gain = loudest > 0.0f ? peak / loudest : 0.0f;
  const size_t fade_in = static_cast<size_t>(SYNTH_RATE * 0.005f), fade_out = static_cast<size_t>(SYNTH_RATE * 0.01f);
  std::vector<int16_t> out(n, 0);
  for (size_t i = 0; i < n; ++i) {
    float g = gain;
    if (i < fade_in) g *= static_cast<float>(i) / static_cast<float>(fade_in);
    if (n - 1 - i < fade_out) g *= static_cast<float>(n - 1 - i) / static_cast<float>(fade_out);
    const float v = clampf(s.samples[i] * g, -1.0f, 1.0f) * 32767.0f;
    out[i] = static_cast<int16_t>(std::lround(v));
  }
  return out;
}
