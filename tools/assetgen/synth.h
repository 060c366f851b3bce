// A very small synthesiser: oscillators with pitch glides, noise, envelopes and one-pole
// filters mixed into a buffer of floats, then levelled and faded into 16-bit samples.
#pragma once
#include <cstdint>
#include <vector>

constexpr int32_t SYNTH_RATE = 22050;

enum Waveform : int32_t { WAVE_SINE, WAVE_SQUARE, WAVE_SAW, WAVE_TRIANGLE };

// Samples -1..1 (before levelling), at SYNTH_RATE.
struct Sound {
  std::vector<float> samples;
};

Sound sound_make(float seconds);

// One voice: a tone gliding exponentially from f0 to f1 Hz over its length, shaped by an
// attack (linear rise) and a decay (exponential fall over the rest; 0 holds steady), with an
// optional vibrato. Times in seconds.
struct Voice {
  float start, length;
  float f0, f1;
  Waveform wave;
  float amplitude;
  float attack, decay;
  float vibrato_hz, vibrato_depth;  // depth as a fraction of the pitch
};
void sound_voice(Sound* s, const Voice& v);

// Noise from a seeded generator, low-passed at cutoff Hz (0: unfiltered), with the same
// attack/decay shaping; crackle > 0 keeps only sparse bursts of it.
void sound_noise(Sound* s, float start, float length, float amplitude, float cutoff, float attack, float decay,
                 uint32_t seed, float crackle);

// Filters over the whole buffer.
void sound_lowpass(Sound* s, float cutoff);
void sound_highpass(Sound* s, float cutoff);
// Soft saturation: drive > 1 makes the sound harsher.
void sound_drive(Sound* s, float drive);

// Levels the sound so its loudest sample is peak (0..1 of full scale), fades the first and last
// few milliseconds so it starts and ends at silence, and rounds to 16-bit samples.
std::vector<int16_t> sound_finish(const Sound& s, float peak);
