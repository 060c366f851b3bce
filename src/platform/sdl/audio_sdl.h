// Inside the SDL audio device: what tests and benchmarks reach beyond the platform interface.
#pragma once
#include <cstdint>

// The mixer's output format. The rate is the game's sounds' own, so they play from their own
// bytes with no converted copy; SDL or the sound server takes the mix to the hardware's rate.
// Buffers of other formats are converted to this rate, keeping their channels.
constexpr int32_t AUDIO_DEVICE_RATE = 22050;
constexpr int32_t AUDIO_DEVICE_CHANNELS = 2;

// Sets up the mixer and its buffers without an output device: nothing plays by itself, and
// audio_render pulls the output as the device callback would. 1 on success.
int32_t audio_open_offline();
// Mixes the next frames stereo frames of every playing buffer into out (2 * frames values).
void audio_render(int16_t* out, int32_t frames);
// Frames mixed since the device (or the offline mixer) was opened.
uint64_t audio_frames_mixed();
// A buffer's length at the device rate, in device frames (0 if unknown).
uint32_t audio_buffer_device_frames(int32_t buffer);

// Once a pass of the main loop: finds a lost output device, moves sounds on in silence while
// there is none, and tries to open one again every few seconds. now_us is any monotonic
// microsecond clock (audio_poll reads SDL's); a try never waits for a sound server.
void audio_poll();
void audio_poll_at(int64_t now_us);
// 1 while an output device plays the mixer.
int32_t audio_output_open();
