// Builds RIFF WAVE files byte by byte for the sound tests, and a scratch folder to put them in.
#pragma once
#include <dirent.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline void put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void put32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void put_id(Bytes& b, const char* id) { b.insert(b.end(), id, id + 4); }
inline uint32_t get32(const Bytes& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// A chunk with its true size (or the one given) and a pad byte when the contents are odd.
inline Bytes chunk(const char* id, const Bytes& contents, int64_t claimed_size = -1) {
  Bytes b;
  put_id(b, id);
  put32(b, claimed_size < 0 ? static_cast<uint32_t>(contents.size()) : static_cast<uint32_t>(claimed_size));
  b.insert(b.end(), contents.begin(), contents.end());
  if (contents.size() & 1) b.push_back(0);
  return b;
}

inline Bytes riff_form(const char* form, const std::vector<Bytes>& chunks, const char* id = "RIFF") {
  Bytes inner;
  put_id(inner, form);
  for (const Bytes& c : chunks) inner.insert(inner.end(), c.begin(), c.end());
  Bytes b;
  put_id(b, id);
  put32(b, static_cast<uint32_t>(inner.size()));
  b.insert(b.end(), inner.begin(), inner.end());
  return b;
}

// The 16 bytes of a format block.
inline Bytes fmt16(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
  Bytes b;
  const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
  put16(b, tag);
  put16(b, channels);
  put32(b, rate);
  put32(b, rate * align);
  put16(b, align);
  put16(b, bits);
  return b;
}

inline Bytes pattern(size_t n, uint32_t seed = 1) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>((i * 37 + seed * 11 + (i >> 8)) & 0xFF);
  return b;
}

inline Bytes pcm_wave(uint16_t channels, uint32_t rate, uint16_t bits, const Bytes& samples) {
  return riff_form("WAVE", {chunk("fmt ", fmt16(1, channels, rate, bits)), chunk("data", samples)});
}

inline void write_file(const std::string& path, const Bytes& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

inline Bytes read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh folder per test program run.
inline std::string scratch_dir() {
  static const std::string dir = [] {
    auto p = std::filesystem::temp_directory_path() / ("zorvane_sound_" + std::to_string(::getpid()));
    std::filesystem::remove_all(p);
    std::filesystem::create_directories(p);
    return p.string();
  }();
  return dir;
}
inline std::string scratch(const std::string& name) { return scratch_dir() + "/" + name; }

// Files this process holds open, to prove that failures leave none behind.
inline int open_file_count() {
  int n = 0;
  if (DIR* d = ::opendir("/proc/self/fd")) {
    while (::readdir(d)) ++n;
    ::closedir(d);
  }
  return n;
}
