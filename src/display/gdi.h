// The few device-context operations drawn onto a surface: text and brush rectangles.
#pragma once
#include <cstdint>

#include "display/draw.h"
#include "display/surface.h"

// A device context of a surface; empty (surface null) when none could be had.
// Drawing through it is clipped to the surface and, when it has one, to its clipper.
struct DeviceContext {
  Surface* surface;
  COLORREF text_colour;        // black when the context is handed out
  int32_t transparent;         // 0 when handed out: glyph cells are filled with background_colour
  COLORREF background_colour;  // white when handed out
};

// Fails (false) while the surface is locked or already has a context out.
bool surface_get_dc(Surface* surface, DeviceContext* dc);
bool surface_release_dc(Surface* surface, DeviceContext* dc);
void gdi_set_text_colour(DeviceContext* dc, COLORREF colour);
void gdi_set_transparent(DeviceContext* dc, int32_t transparent);
// Draws length characters of text with the line's top-left at (x, y) in the nearest palette
// entry to the text colour. Without a font nothing is drawn, and the result is still true.
bool gdi_text_out(DeviceContext* dc, int32_t x, int32_t y, const char* text, int32_t length);
// A one-pixel frame and a fill, right and bottom exclusive, in the nearest entry to colour; an
// empty rectangle draws nothing. False only for a context that is not out.
bool gdi_frame_rect(DeviceContext* dc, const Rect* rect, COLORREF colour);
bool gdi_fill_rect(DeviceContext* dc, const Rect* rect, COLORREF colour);
