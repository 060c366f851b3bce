// A small PNG writer for the icons: 8-bit RGBA, each row filtered, and a zlib stream of one
// deflate block with the fixed codes, so no compression library is needed.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// An RGBA image, 4 bytes a pixel (straight alpha), rows top first.
struct RgbaImage {
  int32_t width, height;
  std::vector<uint8_t> bytes;
};

// The whole PNG file; empty for an image with no pixels or bytes that do not match its size.
std::vector<uint8_t> png_encode(const RgbaImage& image);
// Writes png_encode's bytes to path; false when the image is unfit or the file cannot be written.
bool png_save(const std::string& path, const RgbaImage& image);
