// PNG files: signature, IHDR, one IDAT holding a zlib stream of stored blocks, IEND.
#include "platform/common/png_writer.h"

#include <cstdio>

namespace {

constexpr size_t STORED_BLOCK_MAX = 65535;

uint32_t crc32_of(const uint8_t* data, size_t size, uint32_t crc = 0) {
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

uint32_t adler32_of(const std::vector<uint8_t>& data) {
  uint32_t a = 1, b = 0;
  for (uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

void put32(std::vector<uint8_t>* out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<uint8_t>(v >> shift));
}

void chunk(std::vector<uint8_t>* out, const char type[4], const std::vector<uint8_t>& data) {
  put32(out, static_cast<uint32_t>(data.size()));
  const size_t start = out->size();
  out->insert(out->end(), type, type + 4);
  out->insert(out->end(), data.begin(), data.end());
  put32(out, crc32_of(out->data() + start, out->size() - start));
}

// Deflate's stored blocks: a header byte, the length and its complement (little-endian).
std::vector<uint8_t> zlib_stored(const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> z = {0x78, 0x01};
  size_t at = 0;
  do {
    const size_t n = raw.size() - at < STORED_BLOCK_MAX ? raw.size() - at : STORED_BLOCK_MAX;
    const bool last = at + n == raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(static_cast<uint8_t>(n));
    z.push_back(static_cast<uint8_t>(n >> 8));
    z.push_back(static_cast<uint8_t>(~n));
    z.push_back(static_cast<uint8_t>(~n >> 8));
    z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at), raw.begin() + static_cast<std::ptrdiff_t>(at + n));
    at += n;
  } while (at < raw.size());
  put32(&z, adler32_of(raw));
  return z;
}

// Signature, header, palette (if any), the rows behind their filter byte, end.
std::vector<uint8_t> png_file(int32_t width, int32_t height, uint8_t colour_type, const std::vector<uint8_t>& palette,
                              const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  put32(&header, static_cast<uint32_t>(width));
  put32(&header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, colour_type, 0, 0, 0});  // 8 bits, deflate, adaptive filters, no interlace
  chunk(&out, "IHDR", header);
  if (!palette.empty()) chunk(&out, "PLTE", palette);
  chunk(&out, "IDAT", zlib_stored(raw));
  chunk(&out, "IEND", {});
  return out;
}

}  // namespace

std::vector<uint8_t> png_encode_indexed(const uint8_t* pixels, int32_t width, int32_t height, int32_t pitch,
                                        const uint8_t palette[256][3]) {
  if (pixels == nullptr || palette == nullptr || width <= 0 || height <= 0 || pitch < width) return {};
  std::vector<uint8_t> colours(&palette[0][0], &palette[0][0] + 256 * 3);
  std::vector<uint8_t> raw;
  raw.reserve((static_cast<size_t>(width) + 1) * static_cast<size_t>(height));
  for (int32_t y = 0; y < height; ++y) {
    raw.push_back(0);
    const uint8_t* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(pitch);
    raw.insert(raw.end(), row, row + width);
  }
  return png_file(width, height, 3, colours, raw);
}

std::vector<uint8_t> png_encode(const RgbaImage& image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.bytes.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4)
    return {};
  // Each row starts with its filter type, 0 (none).
  const size_t row = static_cast<size_t>(image.width) * 4;
  std::vector<uint8_t> raw;
  raw.reserve((row + 1) * static_cast<size_t>(image.height));
  for (int32_t y = 0; y < image.height; ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), image.bytes.begin() + static_cast<std::ptrdiff_t>(row * y),
               image.bytes.begin() + static_cast<std::ptrdiff_t>(row * (y + 1)));
  }
  return png_file(image.width, image.height, 6, {}, raw);
}

bool png_save(const std::string& path, const RgbaImage& image) {
  const std::vector<uint8_t> bytes = png_encode(image);
  if (bytes.empty()) return false;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && written;
}
