// Writing WAVE files: "RIFF"/"WAVE", "fmt ", "fact" (patched at the end), then "data".
// A step that fails closes the file, so a failed save never leaves a handle behind.
#include <cstdlib>
#include <cstring>

#include "sound/wave.h"

namespace {

void put_le16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
void put_le32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

void close_after_failure(RiffFile** file) {
  if (*file) riff_close(*file);
  *file = nullptr;
}

int32_t write_format(RiffFile* file, const WaveFormat* format) {
  uint8_t head[18];
  put_le16(head, format->wFormatTag);
  put_le16(head + 2, format->nChannels);
  put_le32(head + 4, format->nSamplesPerSec);
  put_le32(head + 8, format->nAvgBytesPerSec);
  put_le16(head + 12, format->nBlockAlign);
  put_le16(head + 14, format->wBitsPerSample);
  const bool pcm = format->wFormatTag == WAVE_FORMAT_PCM;
  put_le16(head + 16, pcm ? 0 : format->cbSize);
  const int32_t head_bytes = pcm ? 16 : 18;
  if (riff_write(file, head, head_bytes) != head_bytes) return WAV_ERR_WRITE_FAILED;
  const int32_t extra = pcm ? 0 : format->cbSize;
  if (extra > 0 && riff_write(file, wav_format_extra(format), extra) != extra) return WAV_ERR_WRITE_FAILED;
  return 0;
}

int32_t write_headers(RiffFile* file, const WaveFormat* format, RiffChunk* fmt, RiffChunk* riff) {
  riff->cksize = 0;
  riff->fccType = riff_fourcc("WAVE");
  if (int32_t r = riff_create_chunk(file, riff, RIFF_CREATERIFF)) return r;
  *fmt = RiffChunk{};
  fmt->ckid = riff_fourcc("fmt ");
  fmt->cksize = 16;
  if (int32_t r = riff_create_chunk(file, fmt, 0)) return r;
  if (int32_t r = write_format(file, format)) return r;
  if (int32_t r = riff_ascend(file, fmt)) return r;

  // The sample count is unknown until the end; all ones marks it as not yet written.
  RiffChunk fact;
  fact.ckid = riff_fourcc("fact");
  if (int32_t r = riff_create_chunk(file, &fact, 0)) return r;
  const uint8_t unknown[4] = {0xFF, 0xFF, 0xFF, 0xFF};
  if (riff_write(file, unknown, 4) != 4) return WAV_ERR_WRITE_FAILED;
  if (riff_ascend(file, &fact) != 0) return WAV_ERR_WRITE_FAILED;
  return 0;
}

}  // namespace

int32_t wav_writer_create(const char* file_name, RiffFile** file, const WaveFormat* format, RiffChunk* fmt,
                          RiffChunk* riff) {
  *file = format ? riff_open(file_name, RIFF_ALLOCBUF | RIFF_CREATE | RIFF_READWRITE) : nullptr;
  if (!*file) return WAV_ERR_WRITE_FAILED;
  if (int32_t r = write_headers(*file, format, fmt, riff)) {
    close_after_failure(file);
    return r;
  }
  return 0;
}

int32_t wav_writer_begin_data(RiffFile** file, RiffChunk* data, RiffInfo* info) {
  if (!file || !*file) return RIFF_ERR_BAD_STATE;
  *data = RiffChunk{};
  data->ckid = riff_fourcc("data");
  int32_t r = riff_create_chunk(*file, data, 0);
  if (r == 0) r = riff_get_info(*file, info);
  if (r != 0) close_after_failure(file);
  return r;
}

int32_t wav_writer_write(RiffFile** file, uint32_t bytes, const uint8_t* source, RiffChunk*,
                         uint32_t* bytes_written, RiffInfo* info) {
  *bytes_written = 0;
  if (!file || !*file) return RIFF_ERR_BAD_STATE;
  while (*bytes_written < bytes) {
    if (info->next >= info->end_write) {
      info->flags |= RIFF_DIRTY;
      if (int32_t r = riff_advance(*file, info, RIFF_ADVANCE_WRITE)) {
        close_after_failure(file);
        return r;
      }
    }
    uint32_t run = bytes - *bytes_written;
    const int64_t space = info->end_write - info->next;
    if (run > space) run = static_cast<uint32_t>(space);
    std::memcpy(info->next, source + *bytes_written, run);
    info->next += run;
    *bytes_written += run;
  }
  return 0;
}

int32_t wav_writer_finish(RiffFile** file, RiffChunk* data, RiffChunk* riff, RiffInfo* info,
                          uint32_t sample_count) {
  if (!file || !*file) return 0;
  RiffFile* out = *file;
  info->flags |= RIFF_DIRTY;
  int32_t result = riff_set_info(out, info);
  if (result == 0) result = riff_ascend(out, data);
  if (result == 0) result = riff_ascend(out, riff);
  if (result == 0 && riff_seek(out, 0) < 0) result = RIFF_ERR_CANNOT_SEEK;
  if (result == 0) {
    *riff = RiffChunk{};
    result = riff_descend(out, riff, nullptr, 0);
  }
  if (result == 0) {
    data->ckid = riff_fourcc("fact");
    if (riff_descend(out, data, riff, RIFF_FINDCHUNK) == 0) {
      uint8_t count[4];
      put_le32(count, sample_count);
      riff_write(out, count, 4);
      riff_ascend(out, data);
    }
    result = riff_ascend(out, riff);
  }
  // The close puts the last buffer on disk; its failure is a failed save too.
  const int32_t closed = riff_close(out);
  *file = nullptr;
  return result != 0 ? result : closed;
}
