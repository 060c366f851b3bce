// Software images in plain memory, filled from a picture like a BOB frame and copied into
// locked surface memory.
#include "display/image.h"

#include <cstdlib>
#include <cstring>

#include "display/bob.h"

namespace {
constexpr int32_t MAX_IMAGE_SIDE = 16384;
}

bool image_create(Image* image, int32_t x, int32_t y, int32_t width, int32_t height) {
  if (!image || width < 1 || height < 1 || width > MAX_IMAGE_SIDE || height > MAX_IMAGE_SIDE) return false;
  uint8_t* pixels = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(width) * height, 1));
  if (!pixels) return false;
  image->state = 1;
  image->flags = 0;
  image->x = x;
  image->y = y;
  image->width = width;
  image->height = height;
  image->byte_count = width * height;
  image->pixels = pixels;
  return true;
}

bool image_destroy(Image* image) {
  if (!image) return false;
  std::free(image->pixels);
  image->pixels = nullptr;
  return true;
}

bool image_load(Image* image, const BitmapFile* bitmap, int32_t cx, int32_t cy, int32_t mode) {
  if (!image || !image->pixels) return false;
  int64_t column = 0, row = 0;
  bob_frame_corner(mode, cx, cy, image->width, image->height, &column, &row);
  return bitmap_copy_rect(bitmap, column, row, image->width, image->height, image->pixels, image->width) != 0;
}

// The memory has no size of its own: columns are kept inside the pitch and rows at or below 0;
// the rows below the surface are the caller's to avoid, as for lines.
bool image_draw(const Image* image, uint8_t* memory, int32_t pitch, int32_t transparent) {
  if (!image || !image->pixels || !memory || pitch < 1) return false;
  const int64_t x0 = image->x < 0 ? 0 : image->x;
  const int64_t x1 = static_cast<int64_t>(image->x) + image->width < pitch ? static_cast<int64_t>(image->x) + image->width : pitch;
  const int64_t y0 = image->y < 0 ? 0 : image->y;
  const int64_t y1 = static_cast<int64_t>(image->y) + image->height;
  if (x1 <= x0 || y1 <= y0) return true;
  for (int64_t y = y0; y < y1; ++y) {
    const uint8_t* in = image->pixels + (y - image->y) * image->width + (x0 - image->x);
    uint8_t* out = memory + y * pitch + x0;
    if (!transparent) {
      std::memcpy(out, in, static_cast<size_t>(x1 - x0));
      continue;
    }
    for (int64_t i = 0; i < x1 - x0; ++i)
      if (in[i] != 0) out[i] = in[i];
  }
  return true;
}
