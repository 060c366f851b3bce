// PCM of any of the game's formats converted to the mixer's: signed 16-bit stereo at the
// device's rate, by linear interpolation, so a sound plays at its own pitch on any device.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/platform.h"

// A buffer format every platform can play: 1 or 2 channels, 8 or 16 bits, a positive rate.
bool pcm_format_playable(const PcmFormat& format);
// A pan within -10000..10000 hundredths of a decibel.
int32_t pcm_pan_clamped(int32_t pan);
// Between a buffer's own frames and its converted copy's: a source frame maps to the first
// device frame at or after it, so mapping that back gives the same source frame.
uint32_t pcm_device_frame(uint32_t source_frame, uint32_t source_frames, uint32_t device_frames);
uint32_t pcm_source_frame(uint32_t device_frame, uint32_t source_frames, uint32_t device_frames);

// The number of device frames count source frames at source_rate last at device_rate.
uint32_t pcm_converted_frames(uint32_t count, int32_t source_rate, int32_t device_rate);
// Converts count frames of format (8-bit unsigned or 16-bit signed little-endian, 1 or 2
// channels) from src into out (2 values a frame). False for a format it cannot take.
bool pcm_convert_stereo16(const uint8_t* src, uint32_t count, const PcmFormat& format, int32_t device_rate,
                          std::vector<int16_t>* out);
