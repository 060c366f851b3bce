// Shared by the asset tests: one generation of every file into a fresh folder per test
// program, and a few measures of colour.
#pragma once
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "palette.h"
#include "pictures.h"
#include "sounds.h"

inline std::string asset_temp_dir(const char* tag) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("zorvane-assets-" + std::string(tag) + "-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir.string();
}

// The folder with one generation of all pictures and sounds, made on first use and removed
// when the program ends.
inline const std::string& generated_dir() {
  static const std::string dir = asset_temp_dir("gen");
  static const bool written = [] {
    assetgen_write_pictures(dir.c_str());
    assetgen_write_sounds(dir.c_str());
    std::atexit([] { std::filesystem::remove_all(dir); });  // runs before dir is destroyed
    return true;
  }();
  (void)written;
  return dir;
}

inline std::vector<uint8_t> file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Perceived brightness of a palette entry, 0..255.
inline float luma(PALETTEENTRY e) { return 0.299f * e.peRed + 0.587f * e.peGreen + 0.114f * e.peBlue; }

inline int32_t colour_distance2(PALETTEENTRY a, PALETTEENTRY b) {
  const int32_t dr = a.peRed - b.peRed, dg = a.peGreen - b.peGreen, db = a.peBlue - b.peBlue;
  return dr * dr + dg * dg + db * db;
}
