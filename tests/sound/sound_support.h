// Hand-built RIFF WAVE bytes for the sound tests, and their fixture on the fake platform.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "sound/sound.h"
#include "sound/wave.h"

using Bytes = std::vector<uint8_t>;

inline void put(Bytes& b, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline uint32_t get32(const Bytes& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
inline Bytes join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}
inline Bytes slice(const Bytes& b, size_t from, size_t to) { return Bytes(b.begin() + from, b.begin() + to); }
inline std::string id_at(const Bytes& b, size_t at) { return std::string(b.begin() + at, b.begin() + at + 4); }

// A chunk with its true size (or the one claimed) and a pad byte when the contents are odd.
inline Bytes chunk(const char* id, const Bytes& contents, int64_t claimed = -1) {
  Bytes b(id, id + 4);
  put(b, static_cast<uint32_t>(claimed < 0 ? static_cast<int64_t>(contents.size()) : claimed), 4);
  b.insert(b.end(), contents.begin(), contents.end());
  if (contents.size() & 1) b.push_back(0);
  return b;
}
inline Bytes riff_form(const char* form, const std::vector<Bytes>& chunks, const char* id = "RIFF") {
  Bytes inner(form, form + 4);
  for (const Bytes& c : chunks) inner.insert(inner.end(), c.begin(), c.end());
  return chunk(id, inner);
}
// The 16 bytes of a format block.
inline Bytes fmt16(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
  Bytes b;
  const uint32_t align = channels * bits / 8;
  put(b, tag, 2), put(b, channels, 2), put(b, rate, 4), put(b, rate * align, 4), put(b, align, 2), put(b, bits, 2);
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
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}
inline Bytes read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
// Files this process holds open, to prove that failures leave none behind.
inline auto open_file_count() { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); }

// Every test starts with no device and an empty folder of its own as the working folder.
class SoundTest : public testing::Test {
 protected:
  void SetUp() override {
    sound_shutdown();
    fake_reset();
    home_ = std::filesystem::current_path();
    dir_ = std::filesystem::temp_directory_path() / ("zorvane_sound_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    sound_shutdown();
    std::filesystem::current_path(home_);
    std::filesystem::remove_all(dir_);
  }
  void start_device() { ASSERT_TRUE(sound_init()); }
  // A mono sound file of the given length, its samples a pattern; returns the samples.
  static Bytes make_sound(const char* name, uint32_t ms, uint16_t bits = 8, uint32_t rate = 8000, uint32_t seed = 1) {
    const Bytes samples = pattern(static_cast<size_t>(rate) * (bits / 8) * ms / 1000, seed);
    write_file(name, pcm_wave(1, rate, bits, samples));
    return samples;
  }

 private:
  std::filesystem::path home_, dir_;
};
