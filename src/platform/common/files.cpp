// Whole-file reads and atomic replacement, for every platform that has a POSIX file system.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "platform/platform.h"

bool platform_file_read(const char* path, std::string* out, size_t max_bytes) {
  out->clear();
  if (path == nullptr) return false;
  // O_NONBLOCK: opening a FIFO by that name would otherwise wait for a writer (it is then
  // refused as not a regular file); on a regular file it changes nothing.
  const int fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
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

// The six characters mkstemp puts in place of XXXXXX.
constexpr size_t TEMP_SUFFIX = 6;
// A temporary file this old belongs to no save still running: saves take milliseconds. Younger
// ones may be another running game's save in progress and are left alone.
constexpr time_t STALE_SECONDS = 60;

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

// The folder a path lies in ("." for a bare name) and its last component.
struct PathParts {
  std::string folder, name;
};

PathParts path_split(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return PathParts{std::string(1, '.'), path};
  return PathParts{slash == 0 ? std::string(1, '/') : path.substr(0, slash), path.substr(slash + 1)};
}

bool is_temp_of(const char* entry, const std::string& name) {
  const size_t n = name.size();
  if (std::strlen(entry) != n + 1 + TEMP_SUFFIX || std::strncmp(entry, name.c_str(), n) != 0 || entry[n] != '.')
    return false;
  for (size_t i = n + 1; i < n + 1 + TEMP_SUFFIX; ++i) {
    const char c = entry[i];
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

// A save killed between creating its temporary file and the rename leaves that file behind. The
// next save removes such leftovers of the same target: ours, plain files, older than a minute.
void stale_temps_remove(const std::string& folder, const std::string& name) {
  const int dir_fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir_fd < 0) return;
  DIR* dir = fdopendir(dir_fd);
  if (dir == nullptr) {
    close(dir_fd);
    return;
  }
  const time_t now = std::time(nullptr);
  while (const dirent* e = readdir(dir)) {
    if (!is_temp_of(e->d_name, name)) continue;
    struct stat st;
    if (fstatat(dir_fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    if (st.st_uid != geteuid() || now - st.st_mtime < STALE_SECONDS) continue;
    unlinkat(dir_fd, e->d_name, 0);
  }
  closedir(dir);
}

// Makes a rename in the folder durable; a folder that cannot be synced changes nothing, the
// rename has happened either way.
void folder_sync(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// A write past the file-size limit (ulimit -f) raises SIGXFSZ, which ends the process unless
// it is ignored; ignored, the write fails with EFBIG and the save fails like any other. A
// handler someone else installed stays.
void file_size_signal_ignore() {
  static bool done = false;
  if (done) return;
  done = true;
  struct sigaction now;
  if (sigaction(SIGXFSZ, nullptr, &now) == 0 && now.sa_handler == SIG_DFL) signal(SIGXFSZ, SIG_IGN);
}

}  // namespace

bool platform_file_replace(const char* path, const void* data, size_t size) {
  if (path == nullptr || *path == '\0' || (data == nullptr && size > 0)) return false;
  file_size_signal_ignore();
  const PathParts parts = path_split(path);
  if (parts.name.empty()) return false;
  // Beside the target, so that the rename stays on one file system; unique, so two running
  // games never write into one temporary file.
  std::string temp = std::string(path) + ".XXXXXX";
  const int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  // The file keeps the permissions it had; a new one is readable by all, like any saved file.
  struct stat old;
  const mode_t mode = stat(path, &old) == 0 ? (old.st_mode & 07777) : 0644;
  bool ok = write_all(fd, static_cast<const char*>(data), size);
  ok = ok && fchmod(fd, mode) == 0;
  // The bytes must be on the disk before the rename makes them the file.
  ok = ok && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  ok = ok && std::rename(temp.c_str(), path) == 0;
  if (!ok) {
    const int why = errno;  // for the caller's message, past the clean-up
    unlink(temp.c_str());
    errno = why;
    return false;
  }
  folder_sync(parts.folder);
  stale_temps_remove(parts.folder, parts.name);
  return true;
}
