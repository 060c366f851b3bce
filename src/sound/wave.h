// RIFF WAVE files: a reader that feeds the sound engine, a writer, a copier for "DISP" and
// "plst" chunks, and whole-file load and save. Every operation returns 0 for success or a
// failure code: one of the WAV_ERR_ codes below or a RIFF_ERR_ code passed on unchanged.
#pragma once
#include <cstdint>

#include "sound/riff.h"

enum : int32_t {
  WAV_ERR_MEMORY = 0xE000,
  WAV_ERR_OPEN_FAILED = 0xE100,
  WAV_ERR_BAD_FORMAT = 0xE101,
  WAV_ERR_READ_FAILED = 0xE102,
  WAV_ERR_DATA_EXHAUSTED = 0xE103,
  WAV_ERR_WRITE_FAILED = 0xE104,
};

enum : uint16_t { WAVE_FORMAT_PCM = 1 };

// The WAVEFORMATEX layout: 18 bytes, then cbSize extra bytes in the same allocation.
// Blocks handed out by this module come from std::malloc; their owner frees them with std::free.
#pragma pack(push, 2)
struct WaveFormat {
  uint16_t wFormatTag;
  uint16_t nChannels;
  uint32_t nSamplesPerSec;
  uint32_t nAvgBytesPerSec;
  uint16_t nBlockAlign;
  uint16_t wBitsPerSample;
  uint16_t cbSize;
};
#pragma pack(pop)
static_assert(sizeof(WaveFormat) == 18, "WaveFormat must keep the 18-byte file layout");

inline uint8_t* wav_format_extra(WaveFormat* format) { return reinterpret_cast<uint8_t*>(format) + 18; }
inline const uint8_t* wav_format_extra(const WaveFormat* format) {
  return reinterpret_cast<const uint8_t*>(format) + 18;
}

// Reading: open, rewind to data, read (rewind again to loop), close.
// On failure of open nothing stays open or allocated; after a successful open the caller owns
// the file and the format block and closes them with wav_reader_close.
int32_t wav_reader_open(const char* file_name, RiffFile** file, WaveFormat** format, RiffChunk* riff);
// Stands at the first sample byte; data->cksize becomes the full sample size.
int32_t wav_reader_rewind_data(RiffFile* file, RiffChunk* data, const RiffChunk* riff);
// Copies up to bytes sample bytes; data->cksize counts what is left. At the end of the data
// the call succeeds with fewer bytes (0 once nothing is left).
int32_t wav_reader_read(RiffFile* file, uint32_t bytes, uint8_t* destination, RiffChunk* data,
                        uint32_t* bytes_read);
// Frees the format block and closes the file (either may be absent); both become null.
int32_t wav_reader_close(RiffFile** file, WaveFormat** format);

// Writing: create, begin data, write, finish. A step that fails closes the file and sets
// *file to null.
int32_t wav_writer_create(const char* file_name, RiffFile** file, const WaveFormat* format, RiffChunk* fmt,
                          RiffChunk* riff);
int32_t wav_writer_begin_data(RiffFile** file, RiffChunk* data, RiffInfo* info);
int32_t wav_writer_write(RiffFile** file, uint32_t bytes, const uint8_t* source, RiffChunk* data,
                         uint32_t* bytes_written, RiffInfo* info);
// Fixes the chunk sizes, patches the "fact" sample count and closes the file.
int32_t wav_writer_finish(RiffFile** file, RiffChunk* data, RiffChunk* riff, RiffInfo* info,
                          uint32_t sample_count);

// Copies the source's "DISP" and "plst" chunks into the destination being written.
int32_t wav_copy_extra_chunks(RiffFile* source, RiffChunk* scratch, const RiffChunk* source_riff,
                              RiffFile* destination);
// Copies one chunk whose header was just read; 1 on success, 0 on failure.
int32_t wav_copy_one_chunk(RiffFile* source, RiffFile* destination, const RiffChunk* chunk);

// The whole sample data in one std::malloc block, with its format block.
int32_t wav_load_whole(const char* file_name, uint32_t* size, WaveFormat** format, uint8_t** samples);
int32_t wav_save_whole(const char* file_name, uint32_t size, uint32_t sample_count, const WaveFormat* format,
                       const uint8_t* samples);
