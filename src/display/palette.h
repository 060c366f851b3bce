// The 256-entry display palette and the engine's copy of it.
#pragma once
#include <cstdint>

struct PALETTEENTRY {
  uint8_t peRed, peGreen, peBlue, peFlags;
};

constexpr uint8_t PC_NOCOLLAPSE = 4;

// The colours the screen shows now; the text drawing matches against them.
extern PALETTEENTRY current_palette[256];

bool palette_set_all(const PALETTEENTRY* entries);
bool palette_save(PALETTEENTRY* entries_out);

// The entry of current_palette nearest to an RGB colour (0x00BBGGRR).
uint8_t palette_nearest(uint32_t colorref);
