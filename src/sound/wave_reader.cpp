// Reading WAVE files: the RIFF header, the format block and the sample data.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sound/wave.h"

namespace {

uint16_t get_le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t get_le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

int32_t read_header_and_format(RiffFile* file, WaveFormat** format, RiffChunk* riff) {
  *riff = RiffChunk{};
  if (int32_t r = riff_descend(file, riff, nullptr, 0)) return r;
  if (riff->ckid != riff_fourcc("RIFF") || riff->fccType != riff_fourcc("WAVE")) return WAV_ERR_BAD_FORMAT;

  RiffChunk fmt;
  fmt.ckid = riff_fourcc("fmt ");
  if (int32_t r = riff_descend(file, &fmt, riff, RIFF_FINDCHUNK)) return r;
  if (fmt.cksize < 16) return WAV_ERR_BAD_FORMAT;

  uint8_t head[16];
  if (riff_read(file, head, 16) != 16) return WAV_ERR_READ_FAILED;
  const uint16_t tag = get_le16(head);
  // PCM keeps no extra bytes whatever the chunk holds behind the 16. A 16-byte block of
  // another format has no count at all: reading one would take bytes of the next chunk.
  uint16_t extra = 0;
  if (tag != WAVE_FORMAT_PCM && fmt.cksize >= 18) {
    uint8_t count[2];
    if (riff_read(file, count, 2) != 2) return WAV_ERR_READ_FAILED;
    extra = get_le16(count);
    if (18u + extra > fmt.cksize) return WAV_ERR_BAD_FORMAT;
  }

  WaveFormat* block = static_cast<WaveFormat*>(std::malloc(18u + extra));
  if (!block) return WAV_ERR_MEMORY;
  *format = block;
  block->wFormatTag = tag;
  block->nChannels = get_le16(head + 2);
  block->nSamplesPerSec = get_le32(head + 4);
  block->nAvgBytesPerSec = get_le32(head + 8);
  block->nBlockAlign = get_le16(head + 12);
  block->wBitsPerSample = get_le16(head + 14);
  block->cbSize = extra;
  if (extra != 0 && riff_read(file, wav_format_extra(block), extra) != extra) return WAV_ERR_BAD_FORMAT;

  return riff_ascend(file, &fmt);
}

}  // namespace

int32_t wav_reader_open(const char* file_name, RiffFile** file, WaveFormat** format, RiffChunk* riff) {
  *format = nullptr;
  *file = nullptr;
  RiffFile* opened = riff_open(file_name, RIFF_ALLOCBUF);
  if (!opened) return WAV_ERR_OPEN_FAILED;
  WaveFormat* block = nullptr;
  if (int32_t r = read_header_and_format(opened, &block, riff)) {
    std::free(block);
    riff_close(opened);
    return r;
  }
  *file = opened;
  *format = block;
  return 0;
}

int32_t wav_reader_rewind_data(RiffFile* file, RiffChunk* data, const RiffChunk* riff) {
  if (!file || !data || !riff) return RIFF_ERR_BAD_STATE;
  if (riff_seek(file, static_cast<int64_t>(riff->dwDataOffset) + 4) < 0) {
    std::fprintf(stderr, "wave: cannot seek to the first chunk of the RIFF form\n");
    return RIFF_ERR_CANNOT_SEEK;
  }
  data->ckid = riff_fourcc("data");
  return riff_descend(file, data, riff, RIFF_FINDCHUNK);
}

int32_t wav_reader_read(RiffFile* file, uint32_t bytes, uint8_t* destination, RiffChunk* data,
                        uint32_t* bytes_read) {
  *bytes_read = 0;
  RiffInfo info;
  if (riff_get_info(file, &info) != 0) return 1;
  const uint32_t n = std::min(bytes, data->cksize);
  data->cksize -= n;
  uint32_t done = 0;
  while (done < n) {
    if (info.next >= info.end_read) {
      if (int32_t r = riff_advance(file, &info, RIFF_ADVANCE_READ)) return r;
      if (info.next >= info.end_read) return WAV_ERR_DATA_EXHAUSTED;
    }
    const uint32_t run = static_cast<uint32_t>(std::min<int64_t>(n - done, info.end_read - info.next));
    std::memcpy(destination + done, info.next, run);
    info.next += run;
    done += run;
  }
  if (int32_t r = riff_set_info(file, &info)) return r;
  *bytes_read = n;
  return 0;
}

int32_t wav_reader_close(RiffFile** file, WaveFormat** format) {
  if (format && *format) {
    std::free(*format);
    *format = nullptr;
  }
  if (file && *file) {
    riff_close(*file);
    *file = nullptr;
  }
  return 0;
}
