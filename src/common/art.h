// Facts of the art that the picture generator and the game must agree on: where each sprite's
// frame sits in the sprite sheet, and the palette entries the game draws with itself.
#pragma once
#include <cstdint>

// The sprite sheet OBJECTS2.BMP: 16 x 16 frames in one row at y = 1, a rule between them.
constexpr const char* SPRITE_SHEET_FILE = "OBJECTS2.BMP";
constexpr int32_t FRAME_SIZE = 16;
constexpr int32_t FRAME_Y = 1;
constexpr int32_t FRAME_MARKER_B_X = 1;   // the dim half of the marker's blink
constexpr int32_t FRAME_MARKER_A_X = 18;  // the bright half
constexpr int32_t FRAME_SPARX_X = 36;
constexpr int32_t FRAME_POINTER_X = 54;   // the menu's pointer
constexpr int32_t FRAME_FUSE_X = 72;

// Palette entries the game writes itself (the pictures bring the rest).
constexpr uint8_t COLOUR_OPEN = 0;           // open ground: black, and transparent in sprites
constexpr uint8_t COLOUR_TRAIL_OLDEST = 13;  // the QIX trail fades from 31 (newest) to 13
constexpr uint8_t COLOUR_TRAIL_NEWEST = 31;
constexpr uint8_t COLOUR_INNER_BORDER = 175;
constexpr uint8_t COLOUR_BORDER = 250;
constexpr uint8_t COLOUR_STIX = 255;
