// A software image held in plain memory, filled from a bitmap like a BOB frame.
#pragma once
#include <cstdint>

#include "display/bitmap.h"

struct Image {
  int32_t state, flags;
  int32_t x, y;
  int32_t width, height;
  int32_t byte_count;
  uint8_t* pixels;  // owned, width * height bytes
};

bool image_create(Image* image, int32_t x, int32_t y, int32_t width, int32_t height);
bool image_destroy(Image* image);
bool image_load(Image* image, const BitmapFile* bitmap, int32_t cx, int32_t cy, int32_t mode);
// Copies the image into locked memory at its position; transparent skips index 0.
bool image_draw(const Image* image, uint8_t* memory, int32_t pitch, int32_t transparent);
