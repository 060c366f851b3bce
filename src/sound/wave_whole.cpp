// A whole WAVE file in one call: all its samples in memory, or all of them to disk.
#include <cstdlib>

#include "sound/wave.h"

int32_t wav_load_whole(const char* file_name, uint32_t* size, WaveFormat** format, uint8_t** samples) {
  *samples = nullptr;
  *format = nullptr;
  *size = 0;
  RiffFile* file = nullptr;
  RiffChunk riff, data;
  int32_t result = wav_reader_open(file_name, &file, format, &riff);
  if (result == 0) result = wav_reader_rewind_data(file, &data, &riff);
  if (result == 0) {
    // The descent has bounded the data size by the file's length.
    *samples = static_cast<uint8_t*>(std::malloc(data.cksize > 0 ? data.cksize : 1));
    if (!*samples) result = WAV_ERR_MEMORY;
  }
  if (result == 0) {
    uint32_t got = 0;
    result = wav_reader_read(file, data.cksize, *samples, &data, &got);
    if (result == 0) *size = got;
  }
  if (result != 0) {
    std::free(*samples);
    *samples = nullptr;
    std::free(*format);
    *format = nullptr;
  }
  wav_reader_close(&file, nullptr);
  return result;
}

int32_t wav_save_whole(const char* file_name, uint32_t size, uint32_t sample_count, const WaveFormat* format,
                       const uint8_t* samples) {
  RiffFile* file = nullptr;
  RiffChunk fmt, riff, data;
  RiffInfo info;
  if (int32_t r = wav_writer_create(file_name, &file, format, &fmt, &riff)) return r;
  if (int32_t r = wav_writer_begin_data(&file, &data, &info)) return r;
  uint32_t written = 0;
  if (int32_t r = wav_writer_write(&file, size, samples, &data, &written, &info)) return r;
  return wav_writer_finish(&file, &data, &riff, &info, sample_count);
}
