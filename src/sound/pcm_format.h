// Which WAVE formats the audio device plays, and as what.
#pragma once
#include <cstdint>

#include "platform/platform.h"
#include "sound/wave.h"

// True and the device format for 8- or 16-bit PCM, mono or stereo, at a sane rate.
bool sound_pcm_format(const WaveFormat* format, PcmFormat* out);

// Bytes one second of the format takes.
uint32_t sound_pcm_bytes_per_second(const PcmFormat& format);
