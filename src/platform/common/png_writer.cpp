// PNG files: signature, IHDR, PLTE for indexed colour, one IDAT holding a zlib stream, IEND. The
// stream is one block of deflate's fixed codes, whose matches (flat colour, the row above) make a
// game frame a tenth of its stored size and keep the page's icons small.
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

std::vector<uint8_t> png_file(int32_t width, int32_t height, uint8_t colour_type, const std::vector<uint8_t>& palette,
                              const std::vector<uint8_t>& stream) {
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  put32(&header, static_cast<uint32_t>(width));
  put32(&header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, colour_type, 0, 0, 0});  // 8 bits, deflate, adaptive filters, no interlace
  chunk(&out, "IHDR", header);
  if (!palette.empty()) chunk(&out, "PLTE", palette);
  chunk(&out, "IDAT", stream);
  chunk(&out, "IEND", {});
  return out;
}

// Bits in deflate's order: values from the least significant bit, Huffman codes from the most.
struct BitWriter {
  std::vector<uint8_t>* out;
  uint32_t bits = 0;
  int count = 0;
  void put(uint32_t value, int n) {
    bits |= value << count;
    count += n;
    while (count >= 8) {
      out->push_back(static_cast<uint8_t>(bits));
      bits >>= 8;
      count -= 8;
    }
  }
  void code(uint32_t code, int n) {
    uint32_t reversed = 0;
    for (int i = 0; i < n; ++i) reversed |= ((code >> i) & 1u) << (n - 1 - i);
    put(reversed, n);
  }
  void flush() {
    if (count > 0) out->push_back(static_cast<uint8_t>(bits));
    bits = 0;
    count = 0;
  }
};

// The fixed literal/length code of symbol s (0..287).
void fixed_symbol(BitWriter& w, uint32_t s) {
  if (s < 144)
    w.code(0x30 + s, 8);
  else if (s < 256)
    w.code(0x190 + s - 144, 9);
  else if (s < 280)
    w.code(s - 256, 7);
  else
    w.code(0xC0 + s - 280, 8);
}

constexpr uint16_t LENGTH_BASE[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t LENGTH_EXTRA[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t DISTANCE_BASE[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                        193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t DISTANCE_EXTRA[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void fixed_match(BitWriter& w, uint32_t length, uint32_t distance) {
  int l = 28;
  while (LENGTH_BASE[l] > length) --l;
  fixed_symbol(w, 257 + static_cast<uint32_t>(l));
  w.put(length - LENGTH_BASE[l], LENGTH_EXTRA[l]);
  int d = 29;
  while (DISTANCE_BASE[d] > distance) --d;
  w.code(static_cast<uint32_t>(d), 5);
  w.put(distance - DISTANCE_BASE[d], DISTANCE_EXTRA[d]);
}

// One final block of fixed codes; greedy matches of 3..258 bytes up to 32 KiB back, found
// through a hash of the next three bytes and a short chain of earlier places.
std::vector<uint8_t> zlib_fixed(const std::vector<uint8_t>& raw) {
  constexpr uint32_t WINDOW = 32768, MAX_MATCH = 258, CHAIN = 32, HASH_SIZE = 1u << 15;
  std::vector<uint8_t> z = {0x78, 0x01};
  BitWriter w{&z};
  w.put(1, 1);  // the last block
  w.put(1, 2);  // fixed codes
  std::vector<int32_t> head(HASH_SIZE, -1), previous(raw.size(), -1);
  const size_t n = raw.size();
  auto hash = [&](size_t i) { return ((raw[i] << 10) ^ (raw[i + 1] << 5) ^ raw[i + 2]) & (HASH_SIZE - 1); };
  auto remember = [&](size_t i) {
    if (i + 2 >= n) return;
    const uint32_t h = hash(i);
    previous[i] = head[h];
    head[h] = static_cast<int32_t>(i);
  };
  size_t i = 0;
  while (i < n) {
    uint32_t best = 0, best_distance = 0;
    if (i + 2 < n) {
      const uint32_t limit = n - i < MAX_MATCH ? static_cast<uint32_t>(n - i) : MAX_MATCH;
      int32_t at = head[hash(i)];
      for (uint32_t tries = 0; at >= 0 && tries < CHAIN && i - static_cast<size_t>(at) <= WINDOW; ++tries) {
        uint32_t len = 0;
        while (len < limit && raw[static_cast<size_t>(at) + len] == raw[i + len]) ++len;
        if (len > best) {
          best = len;
          best_distance = static_cast<uint32_t>(i - static_cast<size_t>(at));
          if (len == limit) break;
        }
        at = previous[static_cast<size_t>(at)];
      }
    }
    if (best >= 3) {
      fixed_match(w, best, best_distance);
      for (uint32_t k = 0; k < best; ++k) remember(i + k);
      i += best;
    } else {
      fixed_symbol(w, raw[i]);
      remember(i);
      ++i;
    }
  }
  fixed_symbol(w, 256);
  w.flush();
  put32(&z, adler32_of(raw));
  return z;
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
  return png_file(width, height, 3, colours, zlib_fixed(raw));
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
  return png_file(image.width, image.height, 6, {}, zlib_fixed(raw));
}

bool png_save(const std::string& path, const RgbaImage& image) {
  const std::vector<uint8_t> bytes = png_encode(image);
  if (bytes.empty()) return false;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && written;
}
