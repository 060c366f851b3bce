// The mixing core of the audio device: voices of device-rate frames (signed 16-bit, mono or
// stereo) summed into one stereo output block. No SDL and no allocation, so the audio thread
// can run it and tests can drive it without a device.
#pragma once
#include <cstdint>

// Unity gain; gains are fractions of it (attenuation only).
constexpr int32_t MIX_UNITY = 1 << 15;

struct MixVoice {
  const int16_t* frames = nullptr;  // interleaved left, right; or one value a frame when mono
  int32_t channels = 2;             // 1: the one channel goes to both sides
  uint32_t frame_count = 0;
  uint32_t position = 0;            // next frame to mix
  int32_t playing = 0;
  int32_t looping = 0;
  int32_t finished = 0;             // a one-shot voice that ran to its end
  int32_t gain_left = MIX_UNITY;
  int32_t gain_right = MIX_UNITY;
};

// Mixes every playing voice into out (frames stereo frames), saturating instead of wrapping, at
// the master gain.
// accumulator must hold 2 * frames values. Voices advance; a one-shot voice that reaches its
// end stops, goes back to frame 0 and is marked finished; a looping one starts again at 0.
void mixer_mix(MixVoice* const* voices, int32_t count, int16_t* out, int32_t frames, int32_t* accumulator);

// The gains of a DirectSound-style pan: -10000..10000 hundredths of a decibel taken off the
// other side (positive pan quietens the left, negative the right); +-10000 silences it.
void mixer_pan_gains(int32_t pan, int32_t* gain_left, int32_t* gain_right);

// The master gain of the output (the player's volume and mute), MIX_UNITY at first. Safe to set
// from any thread while the audio thread mixes.
void mixer_set_master_gain(int32_t gain);
int32_t mixer_master_gain();
// The gain of a volume of 0..100: 0.5 dB a step below 100 (so steps of 10 sound even), 0 silent.
int32_t mixer_volume_gain(int32_t volume);
