// Helpers for the fuzz targets: the game reads its files by name, so each input goes to a file.
#pragma once
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

// Memory-backed when there is /dev/shm: the hi-score save syncs its file on every input.
inline std::string fuzz_input_path(const char* name) {
  const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  return std::string(base) + "/zorvane-fuzz-" + std::to_string(getpid()) + "-" + name;
}

inline bool fuzz_write_file(const std::string& path, const uint8_t* data, size_t size) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}
