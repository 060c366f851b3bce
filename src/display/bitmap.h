// BMP files: the loader that every picture comes through, and a writer for 8-bit files.
#pragma once
#include <cstdint>

#include "display/palette.h"

struct BITMAPFILEHEADER {
  uint16_t bfType;
  uint32_t bfSize;
  uint16_t bfReserved1, bfReserved2;
  uint32_t bfOffBits;
};

struct BITMAPINFOHEADER {
  uint32_t biSize;
  int32_t biWidth, biHeight;
  uint16_t biPlanes, biBitCount;
  uint32_t biCompression, biSizeImage;
  int32_t biXPelsPerMeter, biYPelsPerMeter;
  uint32_t biClrUsed, biClrImportant;
};

struct BitmapFile {
  BITMAPFILEHEADER file_header;
  BITMAPINFOHEADER info_header;
  PALETTEENTRY palette[256];
  uint8_t* pixels;  // owned; top row first, biWidth * (biBitCount / 8) bytes a row
};

constexpr uint16_t BITMAP_ID = 0x4D42;

// Reads an uncompressed 8-, 16- or 24-bit BMP (bottom-up or top-down, rows padded to 4 bytes).
// Afterwards biHeight is the positive row count, biSizeImage the size of pixels, and a 24-bit
// picture has become 16-bit 5-5-5. An 8-bit file's colour entries are those stored between the
// headers and the pixels (up to 256); the rest of the palette is black. bfSize, biPlanes and
// biClrUsed are kept as read and change nothing. 0 for a file that is missing, not a BMP,
// compressed, truncated or inconsistent; the record is then unchanged, except that a file not
// starting with "BM" leaves its first 14 bytes in file_header.
int32_t bitmap_load(BitmapFile* bitmap, const char* file_name);
int32_t bitmap_unload(BitmapFile* bitmap);
int32_t bitmap_flip_rows(uint8_t* buffer, int32_t bytes_per_row, int32_t rows);
// Copies the width x height rectangle whose top-left is (column, row) of a loaded 8-bit picture
// into dst, rows dst_pitch bytes apart. Only the part inside the picture is copied; the rest of
// the rectangle is set to 0. 0 for a picture without pixels or not of 8 bits.
int32_t bitmap_copy_rect(const BitmapFile* bitmap, int64_t column, int64_t row, int32_t width, int32_t height,
                         uint8_t* dst, int32_t dst_pitch);
// Writes an uncompressed bottom-up 8-bit BMP of width x height pixels (top row first in pixels,
// rows width bytes apart) with the palette. 1 or 0.
int32_t bitmap_save(const char* file_name, const uint8_t* pixels, int32_t width, int32_t height,
                    const PALETTEENTRY* palette);
