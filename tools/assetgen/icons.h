// The desktop icon, painted from the game's own art: a playfield framed by its border, a claim
// uncovering the deep-space picture, a stix with the marker, and the QIX in the open ground.
#pragma once
#include <cstdint>

#include "platform/common/png_writer.h"

// The sizes the icon theme gets, in pixels (square).
constexpr int32_t ICON_SIZE_COUNT = 8;
constexpr int32_t ICON_SIZES[ICON_SIZE_COUNT] = {16, 22, 24, 32, 48, 64, 128, 256};
// The sizes the browser page's manifest names, for a phone's home screen and its splash.
constexpr int32_t WEB_ICON_SIZE_COUNT = 2;
constexpr int32_t WEB_ICON_SIZES[WEB_ICON_SIZE_COUNT] = {192, 512};

// The icon at size x size pixels, painted at four times the size and averaged down.
RgbaImage icon_paint(int32_t size);
// Writes icon-<size>.png for every size of both lists into the directory; false when a file cannot be written.
bool assetgen_write_icons(const char* directory);
