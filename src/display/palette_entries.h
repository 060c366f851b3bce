// Palette entries one at a time, and colour rotation.
#pragma once
#include <cstdint>

#include "display/palette.h"

// False for an index outside 0..255 or a null entry.
bool palette_set_entry(int32_t index, const PALETTEENTRY* entry);
bool palette_get_entry(int32_t index, PALETTEENTRY* entry);
// Entries first..first+count-1 each move up one place and the last comes round to the first.
// False when the run does not lie within 0..255.
bool palette_rotate(int32_t first, int32_t count);
