// The one palette of every picture: its fixed entries (text colours, playfield colours, the
// QIX trail) and the colour ramps the artwork is painted with.
#pragma once
#include <cstdint>

#include "common/art.h"
#include "display/palette.h"

// Text colours of the screens, each an exact entry so that the nearest-colour match of the
// text drawing lands on it. Black, the text shadow, is entry 0 and appears nowhere else.
constexpr uint8_t PAL_BLACK = 0;
constexpr uint8_t PAL_WHITE = 1;        // (255, 255, 255)
constexpr uint8_t PAL_YELLOW = 2;       // (255, 255, 0)
constexpr uint8_t PAL_VIOLET = 3;       // (100, 0, 255)
constexpr uint8_t PAL_GREY = 4;         // (200, 200, 200)
constexpr uint8_t PAL_PALE_YELLOW = 5;  // (255, 255, 100)
constexpr uint8_t PAL_RED = 6;          // (255, 0, 0)
constexpr uint8_t PAL_PURPLE = 7;       // (200, 0, 200)
constexpr uint8_t PAL_GOLD = 8;         // (255, 200, 55)
constexpr uint8_t PAL_MAGENTA = 9;      // (255, 0, 255)
constexpr uint8_t PAL_ORANGE = 10;      // (250, 100, 0)
constexpr uint8_t PAL_MID_GREY = 11;
constexpr uint8_t PAL_DARK_GREY = 12;

// The QIX trail and the playfield's walls and stix are the game's own entries.
constexpr uint8_t PAL_TRAIL_FIRST = COLOUR_TRAIL_OLDEST;
constexpr uint8_t PAL_TRAIL_LAST = COLOUR_TRAIL_NEWEST;
constexpr uint8_t PAL_INNER_BORDER = COLOUR_INNER_BORDER;
constexpr uint8_t PAL_BORDER = COLOUR_BORDER;
constexpr uint8_t PAL_STIX = COLOUR_STIX;

// Ramps from dark to bright.
struct PaletteRamp {
  uint8_t first;
  uint8_t count;
};
constexpr PaletteRamp RAMP_SPACE = {32, 24};   // navy to blue-white
constexpr PaletteRamp RAMP_NEBULA = {56, 24};  // deep violet to lilac
constexpr PaletteRamp RAMP_ROSE = {80, 24};    // wine to pink
constexpr PaletteRamp RAMP_TEAL = {104, 24};   // abyss to aqua
constexpr PaletteRamp RAMP_EMBER = {128, 24};  // soot to flame yellow
constexpr PaletteRamp RAMP_STEEL = {152, 23};  // gunmetal to polished steel
constexpr PaletteRamp RAMP_BRASS = {176, 24};  // bronze to bright gold
constexpr PaletteRamp RAMP_BONE = {200, 20};   // shadowed bone to ivory
constexpr PaletteRamp RAMP_RUST = {220, 18};   // planet browns
constexpr PaletteRamp RAMP_GREEN = {238, 12};  // emerald
constexpr uint8_t PAL_STAR_FIRST = 251;        // four star whites, 251..254

struct TextColour {
  const char* name;
  uint8_t index;
  uint8_t red, green, blue;
};
constexpr int32_t TEXT_COLOUR_COUNT = 11;
extern const TextColour TEXT_COLOURS[TEXT_COLOUR_COUNT];

// Fills all 256 entries (flags 0).
void assetgen_palette(PALETTEENTRY* entries);

// The colour of one entry of the game palette.
PALETTEENTRY palette_entry(uint8_t index);

// Index of a ramp step: t 0 (darkest) .. 1 (brightest).
uint8_t ramp_index(PaletteRamp ramp, float t);

// A set of entries a picture may be painted with.
struct IndexSet {
  int32_t count;
  uint8_t index[256];
};
// Every entry a picture may use: everything but black (transparent in sprites), the trail
// and the playfield colours.
IndexSet indexset_art();
// The playfield background: as indexset_art, also without the saturated text primaries, so
// claimed ground never looks like a wall, a stix or a QIX.
IndexSet indexset_starfield();
void indexset_remove(IndexSet* set, uint8_t index);

// Nearest entry of the set to an RGB colour (0..255 floats), weighted for the eye.
uint8_t palette_match(const IndexSet* set, float red, float green, float blue);
