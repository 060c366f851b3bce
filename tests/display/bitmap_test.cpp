// BMP loading of every well-formed kind, refusal of broken files, and the writer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "bmp_builder.h"
#include "display/bitmap.h"
#include "display/bob.h"
#include "display/image.h"
#include "display_fixture.h"

namespace {

class BitmapTest : public ::testing::Test {
 protected:
  void TearDown() override {
    bitmap_unload(&bmp);
    std::remove(path.c_str());
  }
  int32_t load(const std::vector<uint8_t>& bytes) {
    EXPECT_TRUE(write_bytes(path, bytes));
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

TEST_F(BitmapTest, EightBitLoadsTopRowFirstWithDisplayPalette) {
  BmpSpec s;
  s.rows = {1, 2, 3, 4, 5, 6, 7, 8};
  ASSERT_EQ(load(build_bmp(s)), 1);
  EXPECT_EQ(pixels(8), (std::vector<uint8_t>{5, 6, 7, 8, 1, 2, 3, 4}));
  EXPECT_EQ(bmp.info_header.biBitCount, 8);
  EXPECT_EQ(bmp.info_header.biSizeImage, 8u);
  // Stored as blue 10, green 20, red 30.
  EXPECT_EQ(bmp.palette[10].peRed, 30);
  EXPECT_EQ(bmp.palette[10].peGreen, 20);
  EXPECT_EQ(bmp.palette[10].peBlue, 10);
  EXPECT_EQ(bmp.palette[10].peFlags, PC_NOCOLLAPSE);
}

TEST_F(BitmapTest, PaddedRowsTopDownAndUnsizedImagesLoadAlike) {
  // Width 5: every stored row carries 3 padding bytes.
  BmpSpec s;
  s.width = 5;
  s.height = 3;
  s.rows = {11, 12, 13, 14, 15, 21, 22, 23, 24, 25, 31, 32, 33, 34, 35};
  ASSERT_EQ(load(build_bmp(s)), 1);
  const std::vector<uint8_t> expected{31, 32, 33, 34, 35, 21, 22, 23, 24, 25, 11, 12, 13, 14, 15};
  EXPECT_EQ(pixels(15), expected);

  BmpSpec top_down = s;
  top_down.height = -3;
  top_down.rows = expected;
  top_down.size_image = 0;
  ASSERT_EQ(load(build_bmp(top_down)), 1);
  EXPECT_EQ(bmp.info_header.biHeight, 3);
  EXPECT_EQ(pixels(15), expected);

  // A short palette (biClrUsed 16) still loads; the missing entries are black.
  BmpSpec few = s;
  few.clr_used = 16;
  ASSERT_EQ(load(build_bmp(few)), 1);
  EXPECT_EQ(pixels(15), expected);
  EXPECT_EQ(bmp.palette[15].peRed, 45);
  EXPECT_EQ(bmp.palette[16].peRed, 0);
  EXPECT_EQ(bmp.palette[200].peFlags, PC_NOCOLLAPSE);

  // bfOffBits left at 0: the pixels are the last biSizeImage bytes.
  BmpSpec unset = s;
  unset.off_bits = 0;
  ASSERT_EQ(load(build_bmp(unset)), 1);
  EXPECT_EQ(pixels(15), expected);
}

TEST_F(BitmapTest, SixteenBitStaysAndTwentyFourBitBecomesFiveFiveFive) {
  BmpSpec s16;
  s16.bpp = 16;
  s16.width = 3;
  s16.height = 2;
  s16.rows = sequence(12);
  ASSERT_EQ(load(build_bmp(s16)), 1);
  EXPECT_EQ(pixels(12), (std::vector<uint8_t>{7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(bmp.info_header.biBitCount, 16);

  BmpSpec s24;
  s24.bpp = 24;
  s24.width = 3;
  s24.height = -1;
  s24.rows = {255, 0, 0, 255, 255, 255, 7, 8, 8};  // blue, green, red
  ASSERT_EQ(load(build_bmp(s24)), 1);
  EXPECT_EQ(bmp.info_header.biBitCount, 16);
  uint16_t v[3];
  std::memcpy(v, bmp.pixels, sizeof(v));
  EXPECT_EQ(v[0], 0x001F);
  EXPECT_EQ(v[1], 0x7FFF);
  EXPECT_EQ(v[2], 0x0420);
}

TEST_F(BitmapTest, NotBmLeavesPixelsUntouched) {
  BmpSpec s;
  s.rows = {1, 2, 3, 4, 5, 6, 7, 8};
  ASSERT_EQ(load(build_bmp(s)), 1);
  uint8_t* kept = bmp.pixels;
  std::vector<uint8_t> bytes = build_bmp(s);
  bytes[0] = 'X';
  EXPECT_EQ(load(bytes), 0);
  EXPECT_EQ(bmp.pixels, kept);
  EXPECT_EQ(bmp.file_header.bfType, 0x4D58);
  EXPECT_EQ(pixels(8), (std::vector<uint8_t>{5, 6, 7, 8, 1, 2, 3, 4}));
  EXPECT_EQ(bitmap_load(&bmp, temp_path("missing.bmp").c_str()), 0);
  EXPECT_EQ(bmp.pixels, kept);
}

TEST_F(BitmapTest, BrokenFilesAreRefusedAndChangeNothing) {
  BmpSpec good;
  good.width = 6;
  good.height = 4;
  good.rows = sequence(24);
  ASSERT_EQ(load(build_bmp(good)), 1);
  uint8_t* kept = bmp.pixels;
  auto variant = [&](auto change) {
    BmpSpec s = good;
    change(s);
    return build_bmp(s);
  };
  auto cut = [&](size_t size) {
    std::vector<uint8_t> bytes = build_bmp(good);
    bytes.resize(size);
    return bytes;
  };
  const std::pair<const char*, std::vector<uint8_t>> broken[] = {
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
      {"bfSize beyond the file", variant([](BmpSpec& s) { s.bf_size = 1 << 24; })},
      {"more than 256 colours", variant([](BmpSpec& s) { s.clr_used = 300; })},
      {"32 bits", variant([](BmpSpec& s) { s.bpp = 32; })},
  };
  for (const auto& [what, bytes] : broken) {
    EXPECT_EQ(load(bytes), 0) << what;
    EXPECT_EQ(bmp.pixels, kept) << what;
    EXPECT_EQ(bmp.info_header.biWidth, 6) << what;
  }
}

TEST_F(BitmapTest, SavedPictureLoadsBack) {
  PALETTEENTRY palette[256];
  for (int i = 0; i < 256; ++i)
    palette[i] = PALETTEENTRY{static_cast<uint8_t>(i), static_cast<uint8_t>(i ^ 0x55), static_cast<uint8_t>(255 - i),
                              PC_NOCOLLAPSE};
  const std::vector<uint8_t> picture = sequence(7 * 3);
  ASSERT_EQ(bitmap_save(path.c_str(), picture.data(), 7, 3, palette), 1);
  FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  std::fseek(f, 0, SEEK_END);
  EXPECT_EQ(std::ftell(f), 54 + 1024 + 8 * 3);
  std::fclose(f);
  ASSERT_EQ(bitmap_load(&bmp, path.c_str()), 1);
  EXPECT_EQ(bmp.file_header.bfSize, 54u + 1024 + 24);
  EXPECT_EQ(bmp.file_header.bfOffBits, 1078u);
  EXPECT_EQ(bmp.info_header.biWidth, 7);
  EXPECT_EQ(pixels(21), picture);
  EXPECT_EQ(std::memcmp(bmp.palette, palette, sizeof(palette)), 0);
  EXPECT_EQ(bitmap_save("/nonexistent-dir/x.bmp", picture.data(), 7, 3, palette), 0);
  EXPECT_EQ(bitmap_save(path.c_str(), picture.data(), 0, 3, palette), 0);
}

TEST(BitmapFlipRows, ReversesRowOrderInPlace) {
  std::vector<uint8_t> rows{1, 2, 3, 4, 5, 6, 7, 8, 9};
  ASSERT_EQ(bitmap_flip_rows(rows.data(), 3, 3), 1);
  EXPECT_EQ(rows, (std::vector<uint8_t>{7, 8, 9, 4, 5, 6, 1, 2, 3}));
  BitmapFile empty{};
  EXPECT_EQ(bitmap_unload(&empty), 1);
}

TEST(Image, LoadsTheInsidePartAndDrawsKeyed) {
  BitmapFile pic{};
  pic.info_header.biWidth = 4;
  pic.info_header.biHeight = 3;
  pic.info_header.biBitCount = 8;
  std::vector<uint8_t> pixels = sequence(12);
  pic.pixels = pixels.data();

  Image image{};
  ASSERT_EQ(image_create(&image, 1, 1, 3, 2), 1);
  // Pixel mode at (2, 2): one row and two columns lie inside the picture.
  ASSERT_EQ(image_load(&image, &pic, 2, 2, FRAME_AT_PIXEL), 1);
  EXPECT_EQ(std::vector<uint8_t>(image.pixels, image.pixels + 6), (std::vector<uint8_t>{11, 12, 0, 0, 0, 0}));

  std::vector<uint8_t> memory(8 * 4, 99);
  ASSERT_EQ(image_draw(&image, memory.data(), 8, 1), 1);
  EXPECT_EQ(memory[8 + 1], 11);
  EXPECT_EQ(memory[8 + 3], 99);  // index 0 skipped
  ASSERT_EQ(image_draw(&image, memory.data(), 8, 0), 1);
  EXPECT_EQ(memory[8 + 3], 0);
  EXPECT_EQ(memory[16 + 1], 0);
  EXPECT_EQ(memory[16 + 4], 99);

  pic.info_header.biBitCount = 16;
  EXPECT_EQ(image_load(&image, &pic, 0, 0, FRAME_AT_PIXEL), 0);
  EXPECT_EQ(image_destroy(&image), 1);
  EXPECT_EQ(image.pixels, nullptr);
}
