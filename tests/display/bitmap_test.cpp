// BMP loading of every well-formed kind, refusal of broken files, and the writer.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <utility>

#include "display/bitmap.h"
#include "display_fixture.h"

namespace {

// A BMP file built byte by byte, well-formed or deliberately broken.
struct BmpSpec {
  int32_t bpp = 8;
  int32_t width = 4;
  int32_t height = 2;            // negative: top-down
  std::vector<uint8_t> rows;     // unpadded pixel bytes in file order (bottom row first unless top-down)
  uint32_t clr_used = 0;         // biClrUsed as written
  int32_t entries = -1;          // 8-bit palette entries stored; -1: clr_used, or 256 when that is 0
  uint32_t compression = 0;
  int64_t size_image = -1;       // -1: the padded size
  int64_t off_bits = -1;         // -1: right after the palette
  int64_t bf_size = -1;          // -1: the file's size
  uint16_t planes = 1;
};

// Palette entry i is stored as blue i, green 2i, red 3i (bytes wrap).
std::vector<uint8_t> build_bmp(const BmpSpec& s) {
  const int32_t abs_h = s.height < 0 ? -s.height : s.height;
  const uint32_t row_bytes = static_cast<uint32_t>(s.width) * static_cast<uint32_t>(s.bpp / 8);
  const uint32_t stride = (row_bytes + 3u) & ~3u;
  const uint32_t entries =
      s.bpp != 8 ? 0 : s.entries >= 0 ? static_cast<uint32_t>(s.entries) : s.clr_used ? s.clr_used : 256;
  const uint32_t pal_end = 54 + 4 * entries;
  const uint32_t padded = stride * static_cast<uint32_t>(abs_h);
  auto pick = [](int64_t given, uint32_t fallback) { return given >= 0 ? static_cast<uint32_t>(given) : fallback; };
  const std::pair<uint32_t, int> fields[] = {
      {0x4D42, 2}, {pick(s.bf_size, pal_end + padded), 4}, {0, 4}, {pick(s.off_bits, pal_end), 4}, {40, 4},
      {static_cast<uint32_t>(s.width), 4}, {static_cast<uint32_t>(s.height), 4}, {s.planes, 2},
      {static_cast<uint32_t>(s.bpp), 2}, {s.compression, 4}, {pick(s.size_image, padded), 4}, {2835, 4},
      {2835, 4}, {s.clr_used, 4}, {0, 4}};
  std::vector<uint8_t> out;
  for (const auto& [v, bytes] : fields)
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  for (uint32_t i = 0; i < entries; ++i)
    out.insert(out.end(), {static_cast<uint8_t>(i), static_cast<uint8_t>(2 * i), static_cast<uint8_t>(3 * i), 0});
  // A lying height gets a few rows only, so the test file stays small.
  for (int32_t r = 0; r < abs_h && r < 1024; ++r)
    for (uint32_t i = 0; i < stride; ++i) {
      const size_t at = static_cast<size_t>(r) * row_bytes + i;
      out.push_back(i < row_bytes && at < s.rows.size() ? s.rows[at] : 0);
    }
  return out;
}

class BitmapTest : public ::testing::Test {
 protected:
  void TearDown() override {
    bitmap_unload(&bmp);
    std::remove(path.c_str());
  }
  int32_t load(const BmpSpec& spec) { return load_bytes(build_bmp(spec)); }
  int32_t load_bytes(const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bitmap_load(&bmp, path.c_str());
  }
  std::vector<uint8_t> pixels(size_t n) const { return std::vector<uint8_t>(bmp.pixels, bmp.pixels + n); }

  BitmapFile bmp{};
  std::string path = temp_path("picture.bmp");
};

std::vector<uint8_t> sequence(size_t n) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i + 1);
  return v;
}

}  // namespace

TEST_F(BitmapTest, EightBitFilesOfEveryLayoutLoadTopRowFirst) {
  ASSERT_EQ(load({.rows = {1, 2, 3, 4, 5, 6, 7, 8}}), 1);
  EXPECT_EQ(pixels(8), (std::vector<uint8_t>{5, 6, 7, 8, 1, 2, 3, 4}));
  EXPECT_EQ(entry(bmp.palette[10]), (std::vector<int>{30, 20, 10, PC_NOCOLLAPSE}));  // stored blue 10, green 20, red 30

  // Width 5: every stored row carries 3 padding bytes. The same picture loads alike top-down
  // with biSizeImage 0, with bfOffBits 0 (pixels at the end), with header fields that change
  // nothing, and with palettes of fewer than 256 entries, however biClrUsed counts them. The
  // entries stored are taken, up to 256; the ones missing are black.
  const std::vector<uint8_t> rows = {11, 12, 13, 14, 15, 21, 22, 23, 24, 25, 31, 32, 33, 34, 35};
  const std::vector<uint8_t> top_first{31, 32, 33, 34, 35, 21, 22, 23, 24, 25, 11, 12, 13, 14, 15};
  const struct { const char* what; BmpSpec spec; int colours; } layouts[] = {
      {"plain", {.width = 5, .height = 3, .rows = rows}, 256},
      {"top-down, biSizeImage 0", {.width = 5, .height = -3, .rows = top_first, .size_image = 0}, 256},
      {"bfOffBits 0", {.width = 5, .height = 3, .rows = rows, .off_bits = 0}, 256},
      {"bfSize beyond the file", {.width = 5, .height = 3, .rows = rows, .bf_size = 1 << 24}, 256},
      {"biPlanes 0", {.width = 5, .height = 3, .rows = rows, .planes = 0}, 256},
      {"biPlanes 3", {.width = 5, .height = 3, .rows = rows, .planes = 3}, 256},
      {"biClrUsed 300", {.width = 5, .height = 3, .rows = rows, .clr_used = 300, .entries = 256}, 256},
      {"biClrUsed 16 of 256 stored", {.width = 5, .height = 3, .rows = rows, .clr_used = 16, .entries = 256}, 256},
      {"16 entries, biClrUsed 16", {.width = 5, .height = 3, .rows = rows, .clr_used = 16}, 16},
      {"16 entries, biClrUsed 0", {.width = 5, .height = 3, .rows = rows, .entries = 16}, 16},
      {"16 entries, biClrUsed 0, bfOffBits 0", {.width = 5, .height = 3, .rows = rows, .entries = 16, .off_bits = 0},
       16},
      {"16 entries, biClrUsed 256", {.width = 5, .height = 3, .rows = rows, .clr_used = 256, .entries = 16}, 16},
      {"no entries", {.width = 5, .height = 3, .rows = rows, .entries = 0}, 0},
  };
  for (const auto& layout : layouts) {
    SCOPED_TRACE(layout.what);
    ASSERT_EQ(load(layout.spec), 1);
    EXPECT_EQ(pixels(15), top_first);
    EXPECT_EQ(bmp.info_header.biHeight, 3);
    EXPECT_EQ(bmp.info_header.biSizeImage, 15u);
    for (int i = 0; i < 256; ++i) {
      const int c = i < layout.colours ? i : 0;
      ASSERT_EQ(entry(bmp.palette[i]), (std::vector<int>{3 * c & 0xFF, 2 * c & 0xFF, c, PC_NOCOLLAPSE})) << i;
    }
  }
}

TEST_F(BitmapTest, SixteenBitStaysAndTwentyFourBitBecomesFiveFiveFive) {
  ASSERT_EQ(load({.bpp = 16, .width = 3, .rows = sequence(12)}), 1);
  EXPECT_EQ(pixels(12), (std::vector<uint8_t>{7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6}));

  ASSERT_EQ(load({.bpp = 24, .width = 3, .height = -1, .rows = {255, 0, 0, 255, 255, 255, 7, 8, 8}}), 1);  // b, g, r
  EXPECT_EQ(bmp.info_header.biBitCount, 16);
  std::vector<uint16_t> v(3);
  std::memcpy(v.data(), bmp.pixels, 6);
  EXPECT_EQ(v, (std::vector<uint16_t>{0x001F, 0x7FFF, 0x0420}));
}

TEST_F(BitmapTest, BrokenFilesAreRefusedAndChangeNothing) {
  const BmpSpec good{.width = 6, .height = 4, .rows = sequence(24)};
  ASSERT_EQ(load(good), 1);
  uint8_t* kept = bmp.pixels;
  const std::vector<uint8_t> kept_pixels = pixels(24);
  auto variant = [&](auto change) { BmpSpec s = good; change(s); return build_bmp(s); };
  auto cut = [&](size_t size) { std::vector<uint8_t> b = build_bmp(good); b.resize(size); return b; };
  std::vector<uint8_t> not_bm = build_bmp(good);
  not_bm[0] = 'X';
  const std::pair<const char*, std::vector<uint8_t>> broken[] = {
      {"not BM", not_bm},
      {"truncated pixels", cut(1078 + 8 * 4 - 5)},
      {"truncated header", cut(30)},
      {"truncated palette", cut(54 + 500)},
      {"biSizeImage beyond the file", variant([](BmpSpec& s) { s.size_image = 1 << 20; })},
      {"biSizeImage below the rows", variant([](BmpSpec& s) { s.size_image = 10; })},
      {"RLE8", variant([](BmpSpec& s) { s.compression = 1; })},
      {"huge width", variant([](BmpSpec& s) { s.width = 100000; })},
      {"huge top-down height", variant([](BmpSpec& s) { s.height = -2000000000; })},
      {"no width", variant([](BmpSpec& s) { s.width = 0; })},
      {"bfOffBits beyond the file", variant([](BmpSpec& s) { s.off_bits = 1 << 24; })},
      {"bfOffBits leaves no room for the rows", variant([](BmpSpec& s) { s.off_bits = 1078 + 8; })},
      {"32 bits", variant([](BmpSpec& s) { s.bpp = 32; })},
  };
  for (const auto& [what, bytes] : broken) {
    EXPECT_EQ(load_bytes(bytes), 0) << what;
    EXPECT_EQ(bmp.pixels, kept) << what;
    EXPECT_EQ(pixels(24), kept_pixels) << what;
    EXPECT_EQ(bmp.info_header.biWidth, 6) << what;
  }
  EXPECT_EQ(bitmap_load(&bmp, temp_path("missing.bmp").c_str()), 0);
  EXPECT_EQ(bmp.pixels, kept);
}

TEST_F(BitmapTest, SavedPictureLoadsBack) {
  PALETTEENTRY palette[256];
  for (int i = 0; i < 256; ++i)
    palette[i] = PALETTEENTRY{uint8_t(i), uint8_t(i ^ 0x55), uint8_t(255 - i), PC_NOCOLLAPSE};
  const std::vector<uint8_t> picture = sequence(7 * 3);
  ASSERT_EQ(bitmap_save(path.c_str(), picture.data(), 7, 3, palette), 1);
  EXPECT_EQ(std::filesystem::file_size(path), 54u + 1024 + 8 * 3);  // rows padded to 8 bytes
  ASSERT_EQ(bitmap_load(&bmp, path.c_str()), 1);
  EXPECT_EQ(bmp.file_header.bfSize, 54u + 1024 + 24);
  EXPECT_EQ(pixels(21), picture);
  EXPECT_EQ(std::memcmp(bmp.palette, palette, sizeof(palette)), 0);
  EXPECT_EQ(bitmap_save("/nonexistent-dir/x.bmp", picture.data(), 7, 3, palette), 0);
  EXPECT_EQ(bitmap_save(path.c_str(), picture.data(), 0, 3, palette), 0);
}
