// The buffered file under the RIFF functions. The buffer mirrors the file from buffer_offset
// for (end_read - buffer) bytes; written bytes extend that span and are put on disk by a flush.
#include "sound/riff.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

int64_t position(const RiffInfo& io) { return io.buffer_offset + (io.next - io.buffer); }

// The bytes of the buffer that hold file contents, written ones included.
uint8_t* extent_end(const RiffInfo& io) { return std::max(io.end_read, io.next); }

bool info_fits(const RiffFile* file, const RiffInfo* info) {
  const RiffInfo& io = file->io;
  return info->buffer == io.buffer && info->buffer_size == io.buffer_size &&
         info->end_write == io.buffer + io.buffer_size && info->next >= io.buffer &&
         info->next <= info->end_write && info->end_read >= io.buffer &&
         info->end_read <= info->end_write && info->buffer_offset >= 0;
}

int32_t flush(RiffFile* file) {
  RiffInfo& io = file->io;
  if (!(io.flags & RIFF_DIRTY)) return 0;
  io.end_read = extent_end(io);
  size_t bytes = static_cast<size_t>(io.end_read - io.buffer);
  if (bytes > 0) {
    if (fseeko(file->fp, static_cast<off_t>(io.buffer_offset), SEEK_SET) != 0) return RIFF_ERR_CANNOT_WRITE;
    if (std::fwrite(io.buffer, 1, bytes, file->fp) != bytes) return RIFF_ERR_CANNOT_WRITE;
    file->disk_size = std::max(file->disk_size, io.buffer_offset + static_cast<int64_t>(bytes));
  }
  io.flags &= ~RIFF_DIRTY;
  return 0;
}

// Empties the buffer and places it at offset (the caller has flushed).
void place(RiffInfo& io, int64_t offset) {
  io.buffer_offset = offset;
  io.next = io.buffer;
  io.end_read = io.buffer;
}

int32_t fill(RiffFile* file) {
  RiffInfo& io = file->io;
  place(io, position(io));
  if (fseeko(file->fp, static_cast<off_t>(io.buffer_offset), SEEK_SET) != 0) return RIFF_ERR_CANNOT_READ;
  size_t got = std::fread(io.buffer, 1, io.buffer_size, file->fp);
  if (got < io.buffer_size && std::ferror(file->fp)) {
    std::clearerr(file->fp);
    return RIFF_ERR_CANNOT_READ;
  }
  io.end_read = io.buffer + got;
  return 0;
}

}  // namespace

RiffFile* riff_open(const char* file_name, uint32_t flags) {
  if (!file_name) return nullptr;
  const char* mode = (flags & RIFF_CREATE) ? "w+b" : (flags & RIFF_READWRITE) ? "r+b" : "rb";
  std::FILE* fp = std::fopen(file_name, mode);
  if (!fp) return nullptr;
  // Our own buffer is the file's only one, so a failing disk shows at the flush that hits it.
  std::setvbuf(fp, nullptr, _IONBF, 0);
  RiffFile* file = new (std::nothrow) RiffFile;
  if (!file) {
    std::fclose(fp);
    return nullptr;
  }
  file->fp = fp;
  file->writable = (flags & (RIFF_CREATE | RIFF_READWRITE)) ? 1 : 0;
  if (fseeko(fp, 0, SEEK_END) == 0) {
    off_t end = ftello(fp);
    file->disk_size = end > 0 ? static_cast<int64_t>(end) : 0;
  }
  file->io.buffer = static_cast<uint8_t*>(std::malloc(RIFF_BUFFER_BYTES));
  if (!file->io.buffer) {
    std::fclose(fp);
    delete file;
    return nullptr;
  }
  file->io.buffer_size = RIFF_BUFFER_BYTES;
  file->io.end_write = file->io.buffer + RIFF_BUFFER_BYTES;
  place(file->io, 0);
  return file;
}

int32_t riff_close(RiffFile* file) {
  if (!file) return RIFF_ERR_BAD_STATE;
  int32_t result = flush(file);
  if (std::fclose(file->fp) != 0 && result == 0) result = RIFF_ERR_CANNOT_CLOSE;
  std::free(file->io.buffer);
  delete file;
  return result;
}

int32_t riff_read(RiffFile* file, void* destination, int32_t bytes) {
  if (!file || bytes < 0 || (bytes > 0 && !destination)) return -1;
  RiffInfo& io = file->io;
  uint8_t* out = static_cast<uint8_t*>(destination);
  int32_t done = 0;
  while (done < bytes) {
    if (io.next >= io.end_read) {
      if (flush(file) != 0 || fill(file) != 0) return -1;
      if (io.next >= io.end_read) break;  // end of file
    }
    int32_t n = static_cast<int32_t>(std::min<int64_t>(bytes - done, io.end_read - io.next));
    std::memcpy(out + done, io.next, static_cast<size_t>(n));
    io.next += n;
    done += n;
  }
  return done;
}

int32_t riff_write(RiffFile* file, const void* source, int32_t bytes) {
  if (!file || !file->writable || bytes < 0 || (bytes > 0 && !source)) return -1;
  RiffInfo& io = file->io;
  const uint8_t* in = static_cast<const uint8_t*>(source);
  int32_t done = 0;
  while (done < bytes) {
    if (io.next >= io.end_write) {
      if (flush(file) != 0) return -1;
      place(io, position(io));
    }
    int32_t n = static_cast<int32_t>(std::min<int64_t>(bytes - done, io.end_write - io.next));
    std::memcpy(io.next, in + done, static_cast<size_t>(n));
    io.next += n;
    io.end_read = extent_end(io);
    io.flags |= RIFF_DIRTY;
    done += n;
  }
  return done;
}

int64_t riff_seek(RiffFile* file, int64_t offset) {
  if (!file || offset < 0) return -1;
  if (!file->writable && offset > file->disk_size) return -1;
  RiffInfo& io = file->io;
  if (offset >= io.buffer_offset && offset <= io.buffer_offset + (io.end_read - io.buffer)) {
    io.next = io.buffer + (offset - io.buffer_offset);
    return offset;
  }
  if (flush(file) != 0) return -1;
  place(io, offset);
  return offset;
}

int64_t riff_tell(const RiffFile* file) { return file ? position(file->io) : -1; }

int64_t riff_size(const RiffFile* file) {
  if (!file) return 0;
  const RiffInfo& io = file->io;
  int64_t buffered = io.buffer_offset + (extent_end(io) - io.buffer);
  return (io.flags & RIFF_DIRTY) ? std::max(file->disk_size, buffered) : file->disk_size;
}

int32_t riff_get_info(RiffFile* file, RiffInfo* info) {
  if (!file || !info) return RIFF_ERR_BAD_STATE;
  *info = file->io;
  return 0;
}

int32_t riff_set_info(RiffFile* file, const RiffInfo* info) {
  if (!file || !info || !info_fits(file, info)) return RIFF_ERR_BAD_STATE;
  if ((info->flags & RIFF_DIRTY) && !file->writable) return RIFF_ERR_BAD_STATE;
  file->io = *info;
  if (file->io.flags & RIFF_DIRTY) file->io.end_read = extent_end(file->io);
  return 0;
}

int32_t riff_advance(RiffFile* file, RiffInfo* info, uint32_t flags) {
  if (int32_t r = riff_set_info(file, info)) return r;
  if ((flags & RIFF_ADVANCE_WRITE) && !file->writable) return RIFF_ERR_CANNOT_WRITE;
  int32_t result = flush(file);
  if (result == 0) {
    if (flags & RIFF_ADVANCE_WRITE) {
      place(file->io, position(file->io));
    } else {
      result = fill(file);
    }
  }
  *info = file->io;
  return result;
}
