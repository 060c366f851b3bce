// Single palette entries read and written, and colour rotation of a run of entries.
#include "display/palette_entries.h"

#include <cstring>

#include "display/display.h"

bool palette_set_entry(int32_t index, const PALETTEENTRY* entry) {
  if (!entry || index < 0 || index > 255) return false;
  if (display.display_palette) display.display_palette->entries[index] = *entry;
  current_palette[index] = *entry;
  return true;
}

bool palette_get_entry(int32_t index, PALETTEENTRY* entry) {
  if (!entry || index < 0 || index > 255) return false;
  *entry = current_palette[index];
  return true;
}

// Entries first..first+count-1 each move up one place and the last comes round to the first;
// the copy is then read back from the hardware palette so both agree.
bool palette_rotate(int32_t first, int32_t count) {
  if (first < 0 || count < 1 || first > 255 || count > 256 - first) return false;
  PALETTEENTRY* hardware = display.display_palette ? display.display_palette->entries : current_palette;
  PALETTEENTRY work[256];
  std::memcpy(work, &current_palette[first], sizeof(PALETTEENTRY) * static_cast<size_t>(count));
  hardware[first] = work[count - 1];
  for (int32_t i = 0; i + 1 < count; ++i) hardware[first + i + 1] = work[i];
  if (hardware != current_palette) std::memcpy(current_palette, hardware, sizeof(current_palette));
  return true;
}
