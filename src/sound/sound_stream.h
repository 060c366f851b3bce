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

extern SoundStream sound_stream;

// Closes the stream's file and releases its buffer; the last position seen stays for the next
// stream (only shut-down empties the whole record).
void sound_stream_close();
