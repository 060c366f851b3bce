// A PNG of an RGB picture, written with stored (uncompressed) deflate blocks: no library
// needed, and every viewer reads it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

bool png_write_rgb(const std::string& path, int32_t width, int32_t height, const std::vector<uint8_t>& rgb);
