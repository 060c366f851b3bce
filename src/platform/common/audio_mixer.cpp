// Sums voices in 32 bits and clamps once at the end, so loud overlaps clip instead of wrapping.
#include "platform/common/audio_mixer.h"

#include <atomic>
#include <cmath>

namespace {

std::atomic<int32_t> master_gain{MIX_UNITY};

void add_span(const MixVoice& v, uint32_t from, int32_t count, int32_t* acc) {
  if (v.channels == 1) {
    // A mono sound keeps one value a frame in memory, half a stereo copy.
    const int16_t* src = v.frames + from;
    for (int32_t i = 0; i < count; ++i) {
      acc[2 * i] += (src[i] * v.gain_left) >> 15;
      acc[2 * i + 1] += (src[i] * v.gain_right) >> 15;
    }
    return;
  }
  const int16_t* src = v.frames + static_cast<size_t>(from) * 2;
  if (v.gain_left == MIX_UNITY && v.gain_right == MIX_UNITY) {
    for (int32_t i = 0; i < count * 2; ++i) acc[i] += src[i];
    return;
  }
  for (int32_t i = 0; i < count; ++i) {
    acc[2 * i] += (src[2 * i] * v.gain_left) >> 15;
    acc[2 * i + 1] += (src[2 * i + 1] * v.gain_right) >> 15;
  }
}

void mix_voice(MixVoice& v, int32_t frames, int32_t* acc) {
  int32_t done = 0;
  while (done < frames && v.playing) {
    if (v.position >= v.frame_count) {
      // Nothing (left) to play: an empty buffer, or a start beyond the converted end.
      v.position = 0;
      if (!v.looping || v.frame_count == 0) {
        v.playing = 0;
        v.finished = 1;
        break;
      }
    }
    uint32_t left = v.frame_count - v.position;
    int32_t n = frames - done;
    if (static_cast<uint32_t>(n) > left) n = static_cast<int32_t>(left);
    add_span(v, v.position, n, acc + static_cast<size_t>(done) * 2);
    v.position += static_cast<uint32_t>(n);
    done += n;
    if (v.position >= v.frame_count) {
      v.position = 0;
      if (!v.looping) {
        v.playing = 0;
        v.finished = 1;
      }
    }
  }
}

}  // namespace

void mixer_mix(MixVoice* const* voices, int32_t count, int16_t* out, int32_t frames, int32_t* accumulator) {
  for (int32_t i = 0; i < frames * 2; ++i) accumulator[i] = 0;
  for (int32_t i = 0; i < count; ++i)
    if (voices[i]->playing) mix_voice(*voices[i], frames, accumulator);
  const int32_t gain = master_gain.load(std::memory_order_relaxed);
  for (int32_t i = 0; i < frames * 2; ++i) {
    int32_t s = accumulator[i];
    if (gain != MIX_UNITY) s = static_cast<int32_t>((static_cast<int64_t>(s) * gain) >> 15);
    out[i] = static_cast<int16_t>(s > 32767 ? 32767 : (s < -32768 ? -32768 : s));
  }
}

void mixer_pan_gains(int32_t pan, int32_t* gain_left, int32_t* gain_right) {
  if (pan < -10000) pan = -10000;
  if (pan > 10000) pan = 10000;
  int32_t magnitude = pan < 0 ? -pan : pan;
  // -100 dB is far below what 16 bits can carry: call the far end of the scale silence.
  int32_t quiet = magnitude >= 10000
                      ? 0
                      : static_cast<int32_t>(std::lround(MIX_UNITY * std::pow(10.0, -magnitude / 2000.0)));
  *gain_left = pan > 0 ? quiet : MIX_UNITY;
  *gain_right = pan < 0 ? quiet : MIX_UNITY;
}

void mixer_set_master_gain(int32_t gain) {
  master_gain.store(gain < 0 ? 0 : (gain > MIX_UNITY ? MIX_UNITY : gain), std::memory_order_relaxed);
}

int32_t mixer_master_gain() { return master_gain.load(std::memory_order_relaxed); }

int32_t mixer_volume_gain(int32_t volume) {
  if (volume <= 0) return 0;
  if (volume >= 100) return MIX_UNITY;
  return static_cast<int32_t>(std::lround(MIX_UNITY * std::pow(10.0, (volume - 100) * 0.5 / 20.0)));
}
