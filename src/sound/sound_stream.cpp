// The streamed sound. The device plays the ring buffer in a loop; each service call that sees
// the play position cross into the other half refills the half just played.
#include "sound/sound_stream.h"

#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "sound/pcm_format.h"

SoundStream sound_stream;

void sound_stream_close() {
  SoundStream& s = sound_stream;
  wav_reader_close(&s.file, &s.format);
  if (s.buffer) platform_audio_buffer_release(s.buffer);
  s.buffer = 0;
  s.half_size = 0;
}

void sound_stream_shutdown() {
  sound_stream_close();
  sound_stream = SoundStream{};
}

bool sound_stream_silence(int32_t buffer) {
  PcmFormat format;
  if (!platform_audio_buffer_format(buffer, &format)) return false;
  uint32_t bytes = 0;
  uint8_t* p = platform_audio_buffer_lock(buffer, 0, 0, &bytes);
  if (!p) return false;
  // 8-bit samples are unsigned around 0x80; 16-bit ones are signed around 0.
  std::memset(p, format.bits_per_sample == 8 ? 0x80 : 0x00, bytes);
  platform_audio_buffer_unlock(buffer);
  return true;
}

bool sound_stream_open(const char* file_name) {
  SoundStream& s = sound_stream;
  sound_stream_close();
  if (!file_name || wav_reader_open(platform_data_path(file_name).c_str(), &s.file, &s.format, &s.riff) != 0) return false;
  PcmFormat pcm;
  if (!sound_pcm_format(s.format, &pcm) || wav_reader_rewind_data(s.file, &s.data, &s.riff) != 0) {
    wav_reader_close(&s.file, &s.format);
    return false;
  }
  // Two seconds at the rate the device really plays, not the header's byte-rate field.
  const uint32_t bytes = 2 * sound_pcm_bytes_per_second(pcm);
  s.buffer = platform_audio_buffer_create(&pcm, bytes, file_name);
  if (!s.buffer) {
    wav_reader_close(&s.file, &s.format);
    return false;
  }
  sound_stream_silence(s.buffer);
  platform_audio_buffer_play(s.buffer, 0, 1);
  s.half_size = bytes / 2;
  return true;
}

bool sound_stream_service() {
  SoundStream& s = sound_stream;
  uint32_t p = 0;
  if (!s.buffer || !platform_audio_buffer_position(s.buffer, &p)) return false;
  const uint32_t h = s.half_size;
  const uint32_t q = s.last_position;
  if ((p >= h && q < h) || p < q) {
    uint32_t locked = 0;
    uint8_t* half = platform_audio_buffer_lock(s.buffer, p < h ? h : 0, h, &locked);
    if (half) {
      uint32_t got = 0;
      wav_reader_read(s.file, locked, half, &s.data, &got);
      if (got < locked) {
        // The file has ended: go on from its first sample so that the stream loops.
        if (wav_reader_rewind_data(s.file, &s.data, &s.riff) == 0) {
          uint32_t more = 0;
          wav_reader_read(s.file, locked - got, half + got, &s.data, &more);
        } else {
          std::fputs("Can't reset file.\n", stderr);
        }
      }
      platform_audio_buffer_unlock(s.buffer);
    }
  }
  s.last_position = p;
  return true;
}

void sound_stream_pan(int32_t delta) {
  SoundStream& s = sound_stream;
  int32_t pan = 0;
  if (!s.buffer || !platform_audio_buffer_get_pan(s.buffer, &pan)) return;
  int64_t wanted = static_cast<int64_t>(pan) + delta;
  if (wanted < -10000) wanted = -10000;
  if (wanted > 10000) wanted = 10000;
  platform_audio_buffer_set_pan(s.buffer, static_cast<int32_t>(wanted));
}
