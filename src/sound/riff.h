// A small buffered reader and writer for RIFF files: chunk descent and ascent, chunk creation,
// and direct access to the file's own I/O buffer. The WAVE module is built on it.
#pragma once
#include <cstdint>
#include <cstdio>

// Failure codes of the RIFF file functions (never 0).
enum : int32_t {
  RIFF_ERR_OUT_OF_MEMORY = 0x102,
  RIFF_ERR_CANNOT_OPEN = 0x103,
  RIFF_ERR_CANNOT_CLOSE = 0x104,
  RIFF_ERR_CANNOT_READ = 0x105,
  RIFF_ERR_CANNOT_WRITE = 0x106,
  RIFF_ERR_CANNOT_SEEK = 0x107,
  RIFF_ERR_CHUNK_NOT_FOUND = 0x109,
  RIFF_ERR_BAD_STATE = 0x10A,  // no file, or buffer state that does not belong to it
  RIFF_ERR_BAD_SIZE = 0x10B,   // a "RIFF"/"LIST" chunk too small for its form type, or contents
                               // beyond 32-bit offsets
};

// Open flags.
enum : uint32_t {
  RIFF_READ = 0x0,
  RIFF_READWRITE = 0x2,
  RIFF_CREATE = 0x1000,
  RIFF_ALLOCBUF = 0x10000,
};

// Chunk flags.
enum : uint32_t {
  RIFF_FINDCHUNK = 0x10,    // descend: skip chunks until the wanted id
  RIFF_CREATERIFF = 0x20,   // create: a "RIFF" chunk with its form type
  RIFF_CLAMPED = 0x1,       // descend: the chunk claimed more than its parent or the file holds
  RIFF_DIRTY = 0x10000000,  // buffer holds unwritten bytes / created chunk needs its size fixed
};

// Advance directions.
enum : uint32_t { RIFF_ADVANCE_READ = 0x0, RIFF_ADVANCE_WRITE = 0x1 };

enum : uint32_t { RIFF_BUFFER_BYTES = 8192 };

constexpr uint32_t riff_fourcc(const char (&id)[5]) {
  return static_cast<uint32_t>(static_cast<uint8_t>(id[0])) |
         static_cast<uint32_t>(static_cast<uint8_t>(id[1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(id[2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(id[3])) << 24;
}

// One chunk: its id, the size of its contents, the form type of "RIFF"/"LIST", the file offset
// of its contents (for "RIFF"/"LIST" the offset of the form type), RIFF_DIRTY while created and
// RIFF_CLAMPED when the size read had to be cut to what the parent and the file hold.
struct RiffChunk {
  uint32_t ckid = 0;
  uint32_t cksize = 0;
  uint32_t fccType = 0;
  uint32_t dwDataOffset = 0;
  uint32_t dwFlags = 0;
};

// The state of a file's I/O buffer. Between riff_get_info and riff_set_info the holder moves
// bytes through [buffer, end_read) or [buffer, end_write) itself and calls riff_advance to
// refill or flush.
struct RiffInfo {
  uint32_t flags = 0;         // RIFF_DIRTY when the buffer holds bytes not yet on disk
  uint8_t* buffer = nullptr;
  uint32_t buffer_size = 0;
  uint8_t* next = nullptr;
  uint8_t* end_read = nullptr;
  uint8_t* end_write = nullptr;
  int64_t buffer_offset = 0;  // file offset of buffer[0]
};

struct RiffFile {
  std::FILE* fp = nullptr;
  int32_t writable = 0;
  int64_t disk_size = 0;      // bytes on disk (buffered bytes not counted)
  RiffInfo io;
};

// Null when the file cannot be opened or created.
RiffFile* riff_open(const char* file_name, uint32_t flags);
// Flushes, closes and frees; 0 or a failure code.
int32_t riff_close(RiffFile* file);

// Byte counts moved (fewer at the end of the file), or -1 on failure.
int32_t riff_read(RiffFile* file, void* destination, int32_t bytes);
int32_t riff_write(RiffFile* file, const void* source, int32_t bytes);
// Absolute seek; the new offset, or -1. A file opened for reading cannot go past its end.
int64_t riff_seek(RiffFile* file, int64_t offset);
int64_t riff_tell(const RiffFile* file);
// The file's length including bytes still in the buffer.
int64_t riff_size(const RiffFile* file);

int32_t riff_get_info(RiffFile* file, RiffInfo* info);
int32_t riff_set_info(RiffFile* file, const RiffInfo* info);
// Flushes the buffer in info if dirty, then moves it to the current position: refilled from
// the file for reading (empty at the end of the file, which is no failure), empty for writing.
int32_t riff_advance(RiffFile* file, RiffInfo* info, uint32_t flags);

// Reads a chunk header at the current position and stands at its contents (behind the form
// type for "RIFF"/"LIST"). With RIFF_FINDCHUNK, chunk->ckid is the wanted id and whole chunks
// are skipped until it is met. A chunk claiming to reach past its parent or the end of the
// file gets the size that is there (and RIFF_CLAMPED), so no one sizes a buffer by the claim.
int32_t riff_descend(RiffFile* file, RiffChunk* chunk, const RiffChunk* parent, uint32_t flags);
// Moves behind the chunk and its pad byte; a created chunk gets its true size and pad first.
int32_t riff_ascend(RiffFile* file, RiffChunk* chunk);
// Writes a chunk header at the current position and stands behind it.
int32_t riff_create_chunk(RiffFile* file, RiffChunk* chunk, uint32_t flags);
