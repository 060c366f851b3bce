// The 64-bit fingerprint of one shown frame: its 640x480 palette indices and its 256 colours.
// The same on every platform: bytes are read as little-endian words whatever the machine.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr uint64_t FRAME_HASH_SEED = 0x9E3779B97F4A7C15ull;

constexpr uint64_t frame_hash_mix(uint64_t h, uint64_t word) {
  h ^= word;
  h *= 0xBF58476D1CE4E5B9ull;
  h ^= h >> 31;
  return h;
}

inline uint64_t frame_hash_bytes(uint64_t h, const uint8_t* bytes, size_t n) {
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t word = 0;
    for (int b = 7; b >= 0; --b) word = (word << 8) | bytes[i + static_cast<size_t>(b)];
    h = frame_hash_mix(h, word);
  }
  uint64_t tail = 0;
  for (size_t b = n; b > i; --b) tail = (tail << 8) | bytes[b - 1];
  return frame_hash_mix(h, tail ^ (static_cast<uint64_t>(n - i) << 56));
}

// width x height pixels, rows pitch bytes apart, and the palette as r, g, b per entry.
inline uint64_t frame_hash(const uint8_t* pixels, int32_t pitch, int32_t width, int32_t height,
                           const uint8_t palette_rgb[256][3]) {
  uint64_t h = FRAME_HASH_SEED;
  for (int32_t y = 0; y < height; ++y)
    h = frame_hash_bytes(h, pixels + static_cast<size_t>(y) * static_cast<size_t>(pitch), static_cast<size_t>(width));
  return frame_hash_bytes(h, &palette_rgb[0][0], 256 * 3);
}
