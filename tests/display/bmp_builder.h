// Builds BMP files byte by byte, well-formed or deliberately broken, for the loader's tests.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct BmpSpec {
  int32_t bpp = 8;
  int32_t width = 4;
  int32_t height = 2;            // negative: top-down
  std::vector<uint8_t> rows;     // unpadded pixel bytes in file order (bottom row first unless top-down)
  uint32_t clr_used = 0;         // 8-bit palette entries written; 0 means 256
  uint32_t compression = 0;
  int64_t size_image = -1;       // -1: the padded size
  int64_t off_bits = -1;         // -1: right after the palette
  int64_t bf_size = -1;          // -1: the file's size
};

inline void put_le(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// Palette entry i is stored as blue i, green 2i, red 3i (bytes wrap).
inline std::vector<uint8_t> build_bmp(const BmpSpec& s) {
  const int32_t abs_h = s.height < 0 ? -s.height : s.height;
  const uint32_t row_bytes = static_cast<uint32_t>(s.width) * static_cast<uint32_t>(s.bpp / 8);
  const uint32_t stride = (row_bytes + 3u) & ~3u;
  const uint32_t entries = s.bpp == 8 ? (s.clr_used ? s.clr_used : 256) : 0;
  const uint32_t pal_end = 54 + 4 * entries;
  const uint32_t padded = stride * static_cast<uint32_t>(abs_h);
  std::vector<uint8_t> pixel_data;
  // A lying height gets a few rows only, so the test file stays small.
  for (int32_t r = 0; r < abs_h && r < 1024; ++r) {
    for (uint32_t i = 0; i < stride; ++i) {
      const size_t at = static_cast<size_t>(r) * row_bytes + i;
      pixel_data.push_back(i < row_bytes && at < s.rows.size() ? s.rows[at] : 0);
    }
  }
  const uint32_t off = s.off_bits >= 0 ? static_cast<uint32_t>(s.off_bits) : pal_end;
  const uint32_t file_size = pal_end + padded;
  std::vector<uint8_t> out;
  put_le(out, 0x4D42, 2);
  put_le(out, s.bf_size >= 0 ? static_cast<uint32_t>(s.bf_size) : file_size, 4);
  put_le(out, 0, 4);
  put_le(out, off, 4);
  put_le(out, 40, 4);
  put_le(out, static_cast<uint32_t>(s.width), 4);
  put_le(out, static_cast<uint32_t>(s.height), 4);
  put_le(out, 1, 2);
  put_le(out, static_cast<uint32_t>(s.bpp), 2);
  put_le(out, s.compression, 4);
  put_le(out, s.size_image >= 0 ? static_cast<uint32_t>(s.size_image) : padded, 4);
  put_le(out, 2835, 4);
  put_le(out, 2835, 4);
  put_le(out, s.clr_used, 4);
  put_le(out, 0, 4);
  for (uint32_t i = 0; i < entries; ++i) {
    out.push_back(static_cast<uint8_t>(i));
    out.push_back(static_cast<uint8_t>(2 * i));
    out.push_back(static_cast<uint8_t>(3 * i));
    out.push_back(0);
  }
  out.insert(out.end(), pixel_data.begin(), pixel_data.end());
  return out;
}

inline bool write_bytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}
