// Palettes saved to and read from text files.
#include "display/palette_files.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

// One entry a line, "\n%d %d %d %d", so the file starts with an empty line. A write that does
// not reach the disk (full disk, I/O error) is reported as a failure.
bool palette_save_file(const char* file_name, const PALETTEENTRY* entries) {
  if (!file_name || !entries) return false;
  FILE* f = std::fopen(file_name, "w");
  if (!f) return false;
  for (int32_t i = 0; i < 256; ++i)
    std::fprintf(f, "\n%d %d %d %d", entries[i].peRed, entries[i].peGreen, entries[i].peBlue, entries[i].peFlags);
  const bool write_failed = std::ferror(f) != 0;
  const bool close_failed = std::fclose(f) != 0;
  return !write_failed && !close_failed;
}

// All 256 entries must read as four numbers 0..255 each (whitespace between, as "%d %d %d %d"
// reads them), else the caller's array stays untouched and the result is false: a short or garbled
// file never leaves half a palette behind.
bool palette_load_file(const char* file_name, PALETTEENTRY* entries) {
  if (!file_name || !entries) return false;
  FILE* f = std::fopen(file_name, "r");
  if (!f) return false;
  // A palette file is about 4 KB; far more than that is not one.
  char text[65536];
  const size_t length = std::fread(text, 1, sizeof(text) - 1, f);
  std::fclose(f);
  text[length] = '\0';

  PALETTEENTRY loaded[256];
  const char* p = text;
  for (int32_t i = 0; i < 256; ++i) {
    long v[4];
    for (int c = 0; c < 4; ++c) {
      char* end = nullptr;
      v[c] = std::strtol(p, &end, 10);
      if (end == p || v[c] < 0 || v[c] > 255) return false;
      p = end;
    }
    loaded[i] = PALETTEENTRY{static_cast<uint8_t>(v[0]), static_cast<uint8_t>(v[1]), static_cast<uint8_t>(v[2]),
                             static_cast<uint8_t>(v[3])};
  }
  std::memcpy(entries, loaded, sizeof(loaded));
  return true;
}
