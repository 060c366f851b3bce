// The device takes plain PCM only; anything else is left out as a broken sound would be.
#include "sound/pcm_format.h"

namespace {
// Far above any real sound card rate; keeps a lying header from sizing a huge stream buffer.
constexpr uint32_t MAX_SAMPLE_RATE = 384000;
}

bool sound_pcm_format(const WaveFormat* format, PcmFormat* out) {
  if (!format || format->wFormatTag != WAVE_FORMAT_PCM) return false;
  if (format->nChannels != 1 && format->nChannels != 2) return false;
  if (format->wBitsPerSample != 8 && format->wBitsPerSample != 16) return false;
  if (format->nSamplesPerSec == 0 || format->nSamplesPerSec > MAX_SAMPLE_RATE) return false;
  out->channels = format->nChannels;
  out->sample_rate = static_cast<int32_t>(format->nSamplesPerSec);
  out->bits_per_sample = format->wBitsPerSample;
  return true;
}

uint32_t sound_pcm_bytes_per_second(const PcmFormat& format) {
  return static_cast<uint32_t>(format.sample_rate) * static_cast<uint32_t>(format.channels) *
         static_cast<uint32_t>(format.bits_per_sample / 8);
}
