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

int32_t bitmap_load(BitmapFile* bitmap, const char* file_name);
int32_t bitmap_unload(BitmapFile* bitmap);
int32_t bitmap_flip_rows(uint8_t* buffer, int32_t bytes_per_row, int32_t rows);
// Writes an uncompressed bottom-up 8-bit BMP of width x height pixels (top row first in pixels,
// rows width bytes apart) with the palette. 1 or 0.
int32_t bitmap_save(const char* file_name, const uint8_t* pixels, int32_t width, int32_t height,
                    const PALETTEENTRY* palette);
