#include "platform/common/pcm_convert.h"

namespace {

int32_t sample_at(const uint8_t* frame, int32_t channel, const PcmFormat& f) {
  if (f.bits_per_sample == 8) return (static_cast<int32_t>(frame[channel]) - 128) * 256;
  const uint8_t* s = frame + channel * 2;
  return static_cast<int16_t>(static_cast<uint16_t>(s[0] | s[1] << 8));
}

}  // namespace

bool pcm_format_playable(const PcmFormat& f) {
  return f.channels >= 1 && f.channels <= 2 && f.sample_rate > 0 && (f.bits_per_sample == 8 || f.bits_per_sample == 16);
}

int32_t pcm_pan_clamped(int32_t pan) { return pan < -10000 ? -10000 : (pan > 10000 ? 10000 : pan); }

uint32_t pcm_device_frame(uint32_t source_frame, uint32_t source_frames, uint32_t device_frames) {
  if (source_frames == 0) return 0;
  return static_cast<uint32_t>((static_cast<uint64_t>(source_frame) * device_frames + source_frames - 1) / source_frames);
}

uint32_t pcm_source_frame(uint32_t device_frame, uint32_t source_frames, uint32_t device_frames) {
  if (device_frames == 0) return 0;
  return static_cast<uint32_t>(static_cast<uint64_t>(device_frame) * source_frames / device_frames);
}

uint32_t pcm_converted_frames(uint32_t count, int32_t source_rate, int32_t device_rate) {
  if (count == 0 || source_rate <= 0 || device_rate <= 0) return 0;
  const uint64_t n = static_cast<uint64_t>(count) * static_cast<uint64_t>(device_rate) / static_cast<uint64_t>(source_rate);
  return n == 0 ? 1 : static_cast<uint32_t>(n);
}

bool pcm_convert_stereo16(const uint8_t* src, uint32_t count, const PcmFormat& f, int32_t device_rate,
                          std::vector<int16_t>* out) {
  out->clear();
  if (!pcm_format_playable(f) || device_rate <= 0) return false;
  const uint32_t frames = pcm_converted_frames(count, f.sample_rate, device_rate);
  const size_t block = static_cast<size_t>(f.channels) * (f.bits_per_sample / 8);
  out->resize(static_cast<size_t>(frames) * 2);
  for (uint32_t i = 0; i < frames; ++i) {
    // Source position of device frame i in 16.16 fixed point; the last frame has no successor.
    const uint64_t at = (static_cast<uint64_t>(i) * static_cast<uint64_t>(f.sample_rate) << 16) /
                        static_cast<uint64_t>(device_rate);
    const uint32_t k = static_cast<uint32_t>(at >> 16);
    const int64_t frac = static_cast<int64_t>(at & 0xffff);
    const uint8_t* a = src + static_cast<size_t>(k) * block;
    const uint8_t* b = k + 1 < count ? a + block : a;
    for (int32_t c = 0; c < 2; ++c) {
      const int32_t channel = f.channels == 2 ? c : 0;
      const int64_t x = sample_at(a, channel, f), y = sample_at(b, channel, f);
      (*out)[static_cast<size_t>(i) * 2 + c] = static_cast<int16_t>(x + (((y - x) * frac) >> 16));
    }
  }
  return true;
}
