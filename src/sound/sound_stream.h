// The streamed sound: one WAV file looping through a two-second ring buffer whose half behind
// the play position is refilled from the file.
#pragma once
#include <cstdint>

#include "sound/wave.h"

struct SoundStream {
  RiffFile* file = nullptr;
  WaveFormat* format = nullptr;
  RiffChunk riff;
  RiffChunk data;            // cksize: sample bytes not yet read
  int32_t buffer = 0;
  uint32_t half_size = 0;
  uint32_t last_position = 0;
};

// The one streamed sound the engine plays at a time.
extern SoundStream sound_stream;

// Opens a WAV file and starts a looping two-second ring buffer, silent at first. False when the
// file is missing, broken or not playable PCM, or there is no device.
bool sound_stream_open(const char* file_name);
// Called at least once a second: refills the half the play position has left. False when no
// stream is open.
bool sound_stream_service();
// Moves the stream's pan by delta, kept within -10000..10000.
void sound_stream_pan(int32_t delta);
// Fills a buffer with the silence of its sample width.
bool sound_stream_silence(int32_t buffer);
// Closes the stream's file and releases its buffer; the last position seen stays for the next
// stream.
void sound_stream_close();
// Closes the stream and empties its whole record (sound_shutdown calls it).
void sound_stream_shutdown();
