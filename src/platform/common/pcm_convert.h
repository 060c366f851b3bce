// PCM of any of the game's formats converted to the mixer's: signed 16-bit stereo at the
// device's rate, by linear interpolation, so a sound plays at its own pitch on any device.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/platform.h"

// The number of device frames count source frames at source_rate last at device_rate.
uint32_t pcm_converted_frames(uint32_t count, int32_t source_rate, int32_t device_rate);
// Converts count frames of format (8-bit unsigned or 16-bit signed little-endian, 1 or 2
// channels) from src into out (2 values a frame). False for a format it cannot take.
bool pcm_convert_stereo16(const uint8_t* src, uint32_t count, const PcmFormat& format, int32_t device_rate,
                          std::vector<int16_t>* out);
