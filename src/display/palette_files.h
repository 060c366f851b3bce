// Palettes as text files: one entry a line, four numbers each.
#pragma once
#include <cstdint>

#include "display/palette.h"

// False when the file cannot be written in full.
bool palette_save_file(const char* file_name, const PALETTEENTRY* entries);
// False, with entries untouched, unless all 256 entries read as four numbers 0..255.
bool palette_load_file(const char* file_name, PALETTEENTRY* entries);
