// bitmap_load on any bytes, then sprite frames copied out of whatever loaded.
#include <cstdlib>
#include <vector>

#include "display/bitmap.h"
#include "display/bob.h"
#include "fuzz_common.h"

namespace {

// A loaded picture must hold every byte its header now claims: touching them all lets ASan
// catch a buffer smaller than the record says.
void check_loaded(const BitmapFile& bitmap) {
  const BITMAPINFOHEADER& h = bitmap.info_header;
  if (!bitmap.pixels || h.biWidth < 1 || h.biHeight < 1) std::abort();
  if (h.biBitCount != 8 && h.biBitCount != 16) std::abort();
  const int64_t bytes = static_cast<int64_t>(h.biWidth) * h.biHeight * (h.biBitCount / 8);
  if (h.biSizeImage != bytes) std::abort();
  volatile uint8_t sum = 0;
  for (int64_t i = 0; i < bytes; ++i) sum = sum + bitmap.pixels[i];
}

// A copied rectangle holds the picture's pixels where it overlaps the picture and 0 elsewhere.
void check_copy(const BitmapFile& bitmap, int64_t column, int64_t row, int32_t width, int32_t height) {
  const int32_t pitch = width + 3;
  std::vector<uint8_t> dst(static_cast<size_t>(pitch) * height, 0xAA);
  if (!bitmap_copy_rect(&bitmap, column, row, width, height, dst.data(), pitch)) std::abort();
  const int64_t w = bitmap.info_header.biWidth, h = bitmap.info_header.biHeight;
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < pitch; ++x) {
      const uint8_t got = dst[static_cast<size_t>(y) * pitch + x];
      if (x >= width) {
        if (got != 0xAA) std::abort();  // nothing written past the rectangle's width
        continue;
      }
      const int64_t px = column + x, py = row + y;
      const bool inside = px >= 0 && px < w && py >= 0 && py < h;
      if (got != (inside ? bitmap.pixels[py * w + px] : 0)) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzz_input_path("picture.bmp");
  if (!fuzz_write_file(path, data, size)) return 0;
  static BitmapFile bitmap;
  if (bitmap_load(&bitmap, path.c_str())) {
    check_loaded(bitmap);
    if (bitmap.info_header.biBitCount == 8) {
      const int32_t w = bitmap.info_header.biWidth, h = bitmap.info_header.biHeight;
      check_copy(bitmap, 0, 0, 16, 16);
      check_copy(bitmap, w - 5, h - 7, 16, 16);
      check_copy(bitmap, -3, -2, 9, 5);
    }
    // Frame rectangles the game copies (markers, Sparx, pictures, the playfield), at corners that
    // reach past the picture, in both placement modes.
    static const int32_t sizes[][2] = {{16, 16}, {14, 16}, {32, 32}, {76, 76}, {150, 72}, {120, 13}, {469, 469}};
    for (const auto& s : sizes) {
      Bob bob{};
      if (bob_create(&bob, 0, 0, s[0], s[1], 1, BOB_FLAG_ONE_FRAME | BOB_FLAG_SHOWN)) {
        bob_load_frame(&bob, &bitmap, 0, 1, 1, FRAME_AT_PIXEL);
        bob_load_frame(&bob, &bitmap, 0, 320, 0, FRAME_AT_PIXEL);
        bob_load_frame(&bob, &bitmap, 0, bitmap.info_header.biWidth - 3, bitmap.info_header.biHeight - 3,
                       FRAME_AT_PIXEL);
        bob_load_frame(&bob, &bitmap, 0, 2, 1, FRAME_AT_CELL);
      }
      bob_destroy(&bob);
    }
  }
  bitmap_unload(&bitmap);
  return 0;
}
