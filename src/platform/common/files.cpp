// Whole-file reads and atomic replacement, for every platform that has a POSIX file system.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/platform.h"

bool platform_file_read(const char* path, std::string* out, size_t max_bytes) {
  out->clear();
  if (path == nullptr) return false;
  const int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<uint64_t>(st.st_size) > max_bytes) {
    close(fd);
    return false;
  }
  char chunk[4096];
  for (;;) {
    const ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || out->size() + static_cast<size_t>(n) > max_bytes) {
      close(fd);
      out->clear();
      return false;
    }
    if (n == 0) break;
    out->append(chunk, static_cast<size_t>(n));
  }
  close(fd);
  return true;
}

namespace {

bool write_all(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

bool platform_file_replace(const char* path, const void* data, size_t size) {
  if (path == nullptr || *path == '\0') return false;
  // Beside the target, so that the rename stays on one file system; unique, so two running
  // games never write into one temporary file.
  std::string temp = std::string(path) + ".XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = write_all(fd, static_cast<const char*>(data), size);
  ok = ok && fchmod(fd, 0644) == 0;
  // The bytes must be on the disk before the rename makes them the file.
  ok = ok && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  ok = ok && std::rename(temp.c_str(), path) == 0;
  if (!ok) unlink(temp.c_str());
  return ok;
}
