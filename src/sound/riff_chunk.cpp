// Chunk descent, ascent and creation. Sizes read from a file are bounded by the parent chunk
// and the file's real length before anyone relies on them.
#include <algorithm>
#include <limits>

#include "sound/riff.h"

namespace {

uint32_t get_le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void put_le32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

bool has_form_type(uint32_t id) { return id == riff_fourcc("RIFF") || id == riff_fourcc("LIST"); }

}  // namespace

int32_t riff_descend(RiffFile* file, RiffChunk* chunk, const RiffChunk* parent, uint32_t flags) {
  if (!file || !chunk) return RIFF_ERR_BAD_STATE;
  const uint32_t wanted = chunk->ckid;
  const int64_t parent_end = parent ? static_cast<int64_t>(parent->dwDataOffset) + parent->cksize
                                    : std::numeric_limits<int64_t>::max();
  const int64_t file_end = riff_size(file);
  for (;;) {
    const int64_t start = riff_tell(file);
    if (start + 8 > parent_end) return RIFF_ERR_CHUNK_NOT_FOUND;
    uint8_t header[8];
    int32_t got = riff_read(file, header, 8);
    if (got < 0) return RIFF_ERR_CANNOT_READ;
    if (got < 8) return RIFF_ERR_CHUNK_NOT_FOUND;
    RiffChunk found;
    found.ckid = get_le32(header);
    found.cksize = get_le32(header + 4);
    const int64_t contents = start + 8;
    // A size past the parent or the file is a writer's slip (a RIFF size counting its own
    // header, 0xFFFFFFFF from a writer that streamed): the chunk is what is there.
    const int64_t room = std::min({parent_end, file_end, int64_t{std::numeric_limits<uint32_t>::max()}}) - contents;
    if (room < 0) return RIFF_ERR_BAD_SIZE;  // contents past what a 32-bit offset can reach
    if (found.cksize > room) {
      found.cksize = static_cast<uint32_t>(room);
      found.dwFlags = RIFF_CLAMPED;
    }
    const int64_t end = contents + found.cksize;
    found.dwDataOffset = static_cast<uint32_t>(contents);
    if (has_form_type(found.ckid)) {
      if (found.cksize < 4) return RIFF_ERR_BAD_SIZE;
      uint8_t form[4];
      got = riff_read(file, form, 4);
      if (got != 4) return got < 0 ? RIFF_ERR_CANNOT_READ : RIFF_ERR_CHUNK_NOT_FOUND;
      found.fccType = get_le32(form);
    }
    if (!(flags & RIFF_FINDCHUNK) || found.ckid == wanted) {
      *chunk = found;
      return 0;
    }
    // Skip the whole chunk; a pad byte missing at the very end of the file is no failure.
    const int64_t skip_to = std::min(end + (found.cksize & 1), file_end);
    if (riff_seek(file, skip_to) < 0) return RIFF_ERR_CHUNK_NOT_FOUND;
  }
}

int32_t riff_ascend(RiffFile* file, RiffChunk* chunk) {
  if (!file || !chunk) return RIFF_ERR_BAD_STATE;
  if (chunk->dwFlags & RIFF_DIRTY) {
    const int64_t end = riff_tell(file);
    const int64_t size = end - chunk->dwDataOffset;
    if (size < 0 || size > std::numeric_limits<uint32_t>::max()) return RIFF_ERR_CANNOT_SEEK;
    if (static_cast<uint32_t>(size) != chunk->cksize) {
      uint8_t bytes[4];
      put_le32(bytes, static_cast<uint32_t>(size));
      if (riff_seek(file, static_cast<int64_t>(chunk->dwDataOffset) - 4) < 0) return RIFF_ERR_CANNOT_SEEK;
      if (riff_write(file, bytes, 4) != 4) return RIFF_ERR_CANNOT_WRITE;
      if (riff_seek(file, end) < 0) return RIFF_ERR_CANNOT_SEEK;
      chunk->cksize = static_cast<uint32_t>(size);
    }
    if (size & 1) {
      const uint8_t pad = 0;
      if (riff_write(file, &pad, 1) != 1) return RIFF_ERR_CANNOT_WRITE;
    }
    chunk->dwFlags &= ~RIFF_DIRTY;
    return 0;
  }
  int64_t end = static_cast<int64_t>(chunk->dwDataOffset) + chunk->cksize + (chunk->cksize & 1);
  if (!file->writable) end = std::min(end, riff_size(file));
  return riff_seek(file, end) < 0 ? RIFF_ERR_CANNOT_SEEK : 0;
}

int32_t riff_create_chunk(RiffFile* file, RiffChunk* chunk, uint32_t flags) {
  if (!file || !chunk) return RIFF_ERR_BAD_STATE;
  if (flags & RIFF_CREATERIFF) chunk->ckid = riff_fourcc("RIFF");
  const int64_t start = riff_tell(file);
  if (start < 0 || start + 12 > std::numeric_limits<uint32_t>::max()) return RIFF_ERR_CANNOT_SEEK;
  uint8_t header[12];
  put_le32(header, chunk->ckid);
  put_le32(header + 4, chunk->cksize);
  put_le32(header + 8, chunk->fccType);
  const int32_t bytes = has_form_type(chunk->ckid) ? 12 : 8;
  if (riff_write(file, header, bytes) != bytes) return RIFF_ERR_CANNOT_WRITE;
  chunk->dwDataOffset = static_cast<uint32_t>(start + 8);
  chunk->dwFlags = RIFF_DIRTY;
  return 0;
}
