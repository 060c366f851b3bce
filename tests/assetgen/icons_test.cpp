// The desktop icons: valid PNG files as zlib (a decoder that is not ours) reads them, at every
// size the icon theme gets, holding the picture that was painted.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "asset_files.h"
#include "icons.h"

#ifdef ZORVANE_HAVE_ZLIB
#include <zlib.h>
#endif

namespace {

uint32_t get32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

struct Decoded {
  std::string error;  // empty when the file is sound
  int32_t width = 0, height = 0;
  std::vector<uint8_t> rgba;
};

#ifdef ZORVANE_HAVE_ZLIB
Decoded failed(const std::string& why) {
  Decoded d;
  d.error = why;
  return d;
}

Decoded decode(const std::vector<uint8_t>& file) {
  Decoded d;
  const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (file.size() < 8 || std::memcmp(file.data(), signature, 8) != 0) return failed("signature");
  std::vector<uint8_t> compressed;
  bool ended = false;
  for (size_t at = 8; at < file.size() && !ended;) {
    if (file.size() - at < 12) return failed("chunk header past the end");
    const uint32_t length = get32(&file[at]);
    if (file.size() - at - 12 < length) return failed("chunk longer than the file");
    const std::string type(reinterpret_cast<const char*>(&file[at + 4]), 4);
    const uint8_t* data = &file[at + 8];
    if (crc32(crc32(0, &file[at + 4], 4), data, length) != get32(data + length)) return failed("CRC of " + type);
    if (type == "IHDR") {
      if (length != 13 || data[8] != 8 || data[9] != 6 || data[12] != 0) return failed("IHDR is not 8-bit RGBA");
      d.width = static_cast<int32_t>(get32(data));
      d.height = static_cast<int32_t>(get32(data + 4));
    }
    if (type == "IDAT") compressed.insert(compressed.end(), data, data + length);
    ended = type == "IEND";
    at += 12 + length;
  }
  if (!ended) return failed("no IEND");
  const size_t row = static_cast<size_t>(d.width) * 4;
  std::vector<uint8_t> raw((row + 1) * static_cast<size_t>(d.height) + 1);
  uLongf size = raw.size();
  if (uncompress(raw.data(), &size, compressed.data(), compressed.size()) != Z_OK) return failed("zlib stream");
  if (size != (row + 1) * static_cast<size_t>(d.height)) return failed("pixel bytes");
  // The five row filters undone, each from the bytes to the left, above and above left.
  d.rgba.resize(row * static_cast<size_t>(d.height));
  for (int32_t y = 0; y < d.height; ++y) {
    const uint8_t type = raw[y * (row + 1)];
    if (type > 4) return failed("row filter");
    for (size_t i = 0; i < row; ++i) {
      const int a = i >= 4 ? d.rgba[y * row + i - 4] : 0, b = y > 0 ? d.rgba[(y - 1) * row + i] : 0;
      const int c = i >= 4 && y > 0 ? d.rgba[(y - 1) * row + i - 4] : 0;
      const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
      const int predicted[5] = {0, a, b, (a + b) / 2, pa <= pb && pa <= pc ? a : (pb <= pc ? b : c)};
      d.rgba[y * row + i] = static_cast<uint8_t>(raw[y * (row + 1) + 1 + i] + predicted[type]);
    }
  }
  return d;
}
#endif

TEST(Icons, AnyImageComesBackWholeThroughEveryRowFilter) {
#ifndef ZORVANE_HAVE_ZLIB
  GTEST_SKIP() << "zlib is needed to read the files back";
#else
  // Bands that suit each filter in turn (flat, across, down, diagonal) and one of noise that
  // suits none, at an odd width, with runs longer than the longest match.
  RgbaImage image{181, 97, std::vector<uint8_t>(181 * 97 * 4)};
  for (int32_t y = 0; y < 97; ++y)
    for (int32_t x = 0; x < 181; ++x)
      for (int32_t k = 0; k < 4; ++k) {
        const size_t i = (static_cast<size_t>(y) * 181 + x) * 4 + k;
        const int32_t band = y / 20;
        const int32_t v = band == 0 ? 40 + k : band == 1 ? x * 3 + k : band == 2 ? y * 5 - k : band == 3 ? x + 2 * y + 7 * k
                                                                       : static_cast<int32_t>((i * 7919) >> 3);
        image.bytes[i] = static_cast<uint8_t>(v);
      }
  const Decoded d = decode(png_encode(image));
  ASSERT_EQ(d.error, "");
  EXPECT_EQ(d.width, 181);
  EXPECT_EQ(d.height, 97);
  EXPECT_TRUE(d.rgba == image.bytes);
#endif
}

TEST(Icons, FlatPicturesCompress) {
  // A page's icon is fetched with the page: a plain 512 x 512 square must not weigh a megabyte.
  RgbaImage flat{512, 512, std::vector<uint8_t>(512 * 512 * 4, 0)};
  for (size_t i = 0; i < flat.bytes.size(); i += 4) flat.bytes[i] = 200, flat.bytes[i + 3] = 255;
  EXPECT_LT(png_encode(flat).size(), 8000u);
}

TEST(Icons, EverySizeIsWrittenWithSeeThroughCornersAndASolidField) {
#ifndef ZORVANE_HAVE_ZLIB
  GTEST_SKIP() << "zlib is needed to read the icons back";
#else
  const std::string dir = asset_temp_dir("icons");
  ASSERT_TRUE(assetgen_write_icons(dir.c_str()));
  std::vector<int32_t> sizes(ICON_SIZES, ICON_SIZES + ICON_SIZE_COUNT);
  sizes.insert(sizes.end(), WEB_ICON_SIZES, WEB_ICON_SIZES + WEB_ICON_SIZE_COUNT);
  for (int32_t size : sizes) {
    SCOPED_TRACE(size);
    std::ifstream f(dir + "/icon-" + std::to_string(size) + ".png", std::ios::binary);
    const std::vector<uint8_t> file((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    const Decoded d = decode(file);
    ASSERT_EQ(d.error, "");
    ASSERT_EQ(d.width, size);
    ASSERT_EQ(d.height, size);
    auto alpha = [&](int32_t x, int32_t y) { return d.rgba[(static_cast<size_t>(y) * size + x) * 4 + 3]; };
    EXPECT_EQ(alpha(0, 0), 0);
    EXPECT_EQ(alpha(size - 1, size - 1), 0);
    EXPECT_EQ(alpha(size / 2, size / 2), 255);
  }
  std::filesystem::remove_all(dir);
#endif
}

TEST(Icons, UnfitImagesGiveNoFile) {
  EXPECT_TRUE(png_encode(RgbaImage{0, 0, {}}).empty());
  EXPECT_TRUE(png_encode(RgbaImage{2, 2, std::vector<uint8_t>(15)}).empty());
  EXPECT_FALSE(png_save("/nonexistent-folder/icon.png", RgbaImage{1, 1, std::vector<uint8_t>(4)}));
}

}  // namespace
