// A minimal PNG writer for the desktop icons and the game's screenshots: 8-bit RGBA or 8-bit
// indexed colour, no filtering, and a zlib stream of our own (deflate's fixed codes), so no
// compression library is needed.
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

// An 8-bit picture through its 256-colour palette (r, g, b each), rows top first, pitch bytes
// apart: a PNG of indexed colour holding exactly those indices and colours. Empty when unfit.
std::vector<uint8_t> png_encode_indexed(const uint8_t* pixels, int32_t width, int32_t height, int32_t pitch,
                                        const uint8_t palette[256][3]);
