// PNG files: signature, IHDR, one IDAT holding the filtered rows as a zlib stream, IEND.
#include "png_writer.h"

#include <cstdio>
#include <cstdlib>

namespace {

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

// Deflate's bits go out least significant first; Huffman codes most significant first.
struct BitWriter {
  std::vector<uint8_t>* out;
  uint32_t bits = 0;
  int32_t count = 0;
  void put(uint32_t value, int32_t n) {
    bits |= value << count;
    count += n;
    while (count >= 8) {
      out->push_back(static_cast<uint8_t>(bits));
      bits >>= 8;
      count -= 8;
    }
  }
  void code(uint32_t value, int32_t n) {
    uint32_t reversed = 0;
    for (int32_t i = 0; i < n; ++i) reversed |= ((value >> i) & 1u) << (n - 1 - i);
    put(reversed, n);
  }
  void flush() {
    if (count > 0) out->push_back(static_cast<uint8_t>(bits));
    bits = 0;
    count = 0;
  }
};

// The fixed Huffman code of a literal or length symbol (0..287).
void fixed_symbol(BitWriter* w, uint32_t symbol) {
  if (symbol < 144) w->code(0x30 + symbol, 8);
  else if (symbol < 256) w->code(0x190 + symbol - 144, 9);
  else if (symbol < 280) w->code(symbol - 256, 7);
  else w->code(0xC0 + symbol - 280, 8);
}

constexpr uint16_t LENGTH_BASE[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t LENGTH_EXTRA[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t DISTANCE_BASE[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                        193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t DISTANCE_EXTRA[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void put_match(BitWriter* w, uint32_t length, uint32_t distance) {
  int32_t l = 28;
  while (LENGTH_BASE[l] > length) --l;
  fixed_symbol(w, 257 + static_cast<uint32_t>(l));
  w->put(length - LENGTH_BASE[l], LENGTH_EXTRA[l]);
  int32_t d = 29;
  while (DISTANCE_BASE[d] > distance) --d;
  w->code(static_cast<uint32_t>(d), 5);
  w->put(distance - DISTANCE_BASE[d], DISTANCE_EXTRA[d]);
}

// One deflate block with the fixed codes, matches found through hash chains (greedy, a bounded
// search): the icons' flat corners and frame compress well without a compression library.
std::vector<uint8_t> zlib_compress(const std::vector<uint8_t>& raw) {
  constexpr uint32_t WINDOW = 32768, MIN_MATCH = 3, MAX_MATCH = 258, CHAIN = 48;
  constexpr uint32_t HASH_SIZE = 1u << 15;
  std::vector<uint8_t> z = {0x78, 0x01};
  BitWriter w{&z};
  w.put(1, 1);  // the last block
  w.put(1, 2);  // fixed Huffman codes
  std::vector<int32_t> head(HASH_SIZE, -1), previous(raw.size(), -1);
  const auto hash = [&](size_t i) {
    return ((uint32_t{raw[i]} << 10) ^ (uint32_t{raw[i + 1]} << 5) ^ raw[i + 2]) & (HASH_SIZE - 1);
  };
  const auto insert = [&](size_t i) {
    if (i + MIN_MATCH > raw.size()) return;
    const uint32_t h = hash(i);
    previous[i] = head[h];
    head[h] = static_cast<int32_t>(i);
  };
  for (size_t i = 0; i < raw.size();) {
    uint32_t best = 0, best_distance = 0;
    if (i + MIN_MATCH <= raw.size()) {
      const size_t limit = raw.size() - i < MAX_MATCH ? raw.size() - i : MAX_MATCH;
      int32_t candidate = head[hash(i)];
      for (uint32_t tries = 0; candidate >= 0 && i - static_cast<size_t>(candidate) <= WINDOW && tries < CHAIN; ++tries) {
        uint32_t n = 0;
        while (n < limit && raw[static_cast<size_t>(candidate) + n] == raw[i + n]) ++n;
        if (n > best) {
          best = n;
          best_distance = static_cast<uint32_t>(i - static_cast<size_t>(candidate));
          if (n == limit) break;
        }
        candidate = previous[static_cast<size_t>(candidate)];
      }
    }
    if (best >= MIN_MATCH) {
      put_match(&w, best, best_distance);
      for (uint32_t k = 0; k < best; ++k) insert(i + k);
      i += best;
    } else {
      fixed_symbol(&w, raw[i]);
      insert(i);
      ++i;
    }
  }
  fixed_symbol(&w, 256);  // end of block
  w.flush();
  put32(&z, adler32_of(raw));
  return z;
}

int32_t paeth(int32_t a, int32_t b, int32_t c) {
  const int32_t p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return pa <= pb && pa <= pc ? a : (pb <= pc ? b : c);
}

// Each row with the filter that leaves the smallest differences (the usual heuristic): pictures
// with gradients turn into runs of small numbers that the matches find.
void filtered_row(const uint8_t* row, const uint8_t* above, size_t length, std::vector<uint8_t>* raw) {
  std::vector<uint8_t> best;
  uint64_t best_cost = ~uint64_t{0};
  std::vector<uint8_t> out(length + 1);
  for (uint8_t type = 0; type <= 4; ++type) {
    out[0] = type;
    uint64_t cost = 0;
    for (size_t i = 0; i < length; ++i) {
      const int32_t a = i >= 4 ? row[i - 4] : 0, b = above ? above[i] : 0, c = i >= 4 && above ? above[i - 4] : 0;
      const int32_t predicted = type == 0 ? 0 : type == 1 ? a : type == 2 ? b : type == 3 ? (a + b) / 2 : paeth(a, b, c);
      out[i + 1] = static_cast<uint8_t>(row[i] - predicted);
      cost += static_cast<uint64_t>(std::abs(static_cast<int8_t>(out[i + 1])));
    }
    if (cost < best_cost) {
      best_cost = cost;
      best = out;
    }
  }
  raw->insert(raw->end(), best.begin(), best.end());
}

}  // namespace

std::vector<uint8_t> png_encode(const RgbaImage& image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.bytes.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4)
    return {};
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  put32(&header, static_cast<uint32_t>(image.width));
  put32(&header, static_cast<uint32_t>(image.height));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, adaptive filters, no interlace
  chunk(&out, "IHDR", header);
  // Each row starts with its filter type.
  const size_t row = static_cast<size_t>(image.width) * 4;
  std::vector<uint8_t> raw;
  raw.reserve((row + 1) * static_cast<size_t>(image.height));
  for (int32_t y = 0; y < image.height; ++y)
    filtered_row(&image.bytes[row * static_cast<size_t>(y)], y > 0 ? &image.bytes[row * static_cast<size_t>(y - 1)] : nullptr,
                 row, &raw);
  chunk(&out, "IDAT", zlib_compress(raw));
  chunk(&out, "IEND", {});
  return out;
}

bool png_save(const std::string& path, const RgbaImage& image) {
  const std::vector<uint8_t> bytes = png_encode(image);
  if (bytes.empty()) return false;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && written;
}
