// The 256-entry display palette and the engine's copy of it.
#pragma once
#include <cstdint>

struct PALETTEENTRY {
  uint8_t peRed, peGreen, peBlue, peFlags;
};

constexpr uint8_t PC_NOCOLLAPSE = 4;

extern PALETTEENTRY current_palette[256];

int32_t palette_set_all(const PALETTEENTRY* entries);
int32_t palette_save(PALETTEENTRY* entries_out);

// Operations the game itself never calls.
int32_t palette_set_entry(int32_t index, const PALETTEENTRY* entry);
int32_t palette_get_entry(int32_t index, PALETTEENTRY* entry);
int32_t palette_save_file(const char* file_name, const PALETTEENTRY* entries);
int32_t palette_load_file(const char* file_name, PALETTEENTRY* entries);
int32_t palette_rotate(int32_t first, int32_t count);

// The entry of current_palette nearest to an RGB colour (0x00BBGGRR).
uint8_t palette_nearest(uint32_t colorref);
