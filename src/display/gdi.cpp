// Device contexts of surfaces: text out of the platform's glyphs and brush rectangles, in the
// palette entry nearest to the RGB colour asked for.
#include "display/gdi.h"

#include <cstring>

#include "display/palette.h"
#include "platform/platform.h"

namespace {

constexpr COLORREF DEFAULT_TEXT = 0x000000;
constexpr COLORREF DEFAULT_BACKGROUND = 0xFFFFFF;

bool dc_out(const DeviceContext* dc) { return dc && dc->surface && dc->surface->dc_held; }

Rect intersect(const Rect& a, const Rect& b) {
  return Rect{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
              a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
}

bool empty(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

// Calls draw(part) for every piece of r that may be drawn on: r cut to the surface and to each
// rectangle of its clip list.
template <typename Draw>
void for_each_visible(const Surface* s, const Rect& r, Draw draw) {
  const Rect on_surface = intersect(r, Rect{0, 0, s->width, s->height});
  if (empty(on_surface)) return;
  if (!s->clipper) {
    draw(on_surface);
    return;
  }
  for (int32_t i = 0; i < s->clipper->count; ++i) {
    const Rect part = intersect(on_surface, s->clipper->rects[i]);
    if (!empty(part)) draw(part);
  }
}

void fill_visible(Surface* s, const Rect& r, uint8_t index) {
  for_each_visible(s, r, [&](const Rect& part) {
    surface_note_written(s, part);
    for (int32_t y = part.top; y < part.bottom; ++y)
      std::memset(s->pixels + static_cast<int64_t>(y) * s->pitch + part.left, index,
                  static_cast<size_t>(part.right - part.left));
  });
}

// Draws a glyph's set mask pixels in index; true when anything of it lay on the surface. The
// caller records what its glyphs covered once for the whole text.
bool draw_glyph(Surface* s, const PlatformGlyph* g, int32_t left, int32_t top, uint8_t index) {
  if (!g->mask || g->width <= 0 || g->height <= 0) return false;
  const Rect box{left, top, left + g->width, top + g->height};
  bool drawn = false;
  for_each_visible(s, box, [&](const Rect& part) {
    drawn = true;
    for (int32_t y = part.top; y < part.bottom; ++y) {
      const uint8_t* mask_row = g->mask + static_cast<int64_t>(y - top) * g->width - left;
      uint8_t* out = s->pixels + static_cast<int64_t>(y) * s->pitch;
      for (int32_t x = part.left; x < part.right; ++x)
        if (mask_row[x]) out[x] = index;
    }
  });
  return drawn;
}

}  // namespace

bool surface_get_dc(Surface* surface, DeviceContext* dc) {
  if (!dc) return false;
  *dc = DeviceContext{nullptr, DEFAULT_TEXT, 0, DEFAULT_BACKGROUND};
  if (!surface || surface->locked || surface->dc_held) return false;
  surface->dc_held = 1;
  dc->surface = surface;
  return true;
}

bool surface_release_dc(Surface* surface, DeviceContext* dc) {
  if (!surface || !dc || dc->surface != surface || !surface->dc_held) return false;
  surface->dc_held = 0;
  dc->surface = nullptr;
  return true;
}

void gdi_set_text_colour(DeviceContext* dc, COLORREF colour) {
  if (dc) dc->text_colour = colour;
}

void gdi_set_transparent(DeviceContext* dc, int32_t transparent) {
  if (dc) dc->transparent = transparent;
}

bool gdi_text_out(DeviceContext* dc, int32_t x, int32_t y, const char* text, int32_t length) {
  if (!dc_out(dc) || !text || length < 0) return false;
  Surface* s = dc->surface;
  // Far outside the surface nothing can show; this also keeps the arithmetic below in range.
  constexpr int32_t FAR = 1 << 20;
  if (y < -FAR || y > s->height + FAR || x > s->width + FAR) return true;
  const uint8_t ink = palette_nearest(dc->text_colour);

  if (!dc->transparent) {
    // Opaque text fills each character's cell, the line's height, behind its glyph.
    int32_t line_height = 0;
    for (int32_t i = 0; i < length; ++i) {
      const PlatformGlyph* g = platform_glyph(static_cast<unsigned char>(text[i]));
      if (!g) break;
      if (g->top + g->height > line_height) line_height = g->top + g->height;
    }
    const uint8_t paper = palette_nearest(dc->background_colour);
    int64_t pen = x;
    for (int32_t i = 0; i < length && pen < s->width; ++i) {
      const PlatformGlyph* g = platform_glyph(static_cast<unsigned char>(text[i]));
      if (!g) break;
      if (pen + g->advance > 0)
        fill_visible(s, Rect{static_cast<int32_t>(pen), y, static_cast<int32_t>(pen + g->advance), y + line_height},
                     paper);
      pen += g->advance;
    }
  }

  // Where the pen never moves left, the text ends once no glyph can reach into the surface:
  // the scrolling lines of the menu are far longer than the screen is wide.
  int32_t least_advance = -1, least_bearing_x = 0;
  const bool rightward = platform_glyph_least(&least_advance, &least_bearing_x) && least_advance >= 0;
  int64_t pen = x;
  Rect covered{s->width, s->height, 0, 0};  // the glyphs' boxes that reached the surface
  for (int32_t i = 0; i < length && pen < s->width + FAR; ++i) {
    if (rightward && pen + least_bearing_x >= s->width) break;
    const PlatformGlyph* g = platform_glyph(static_cast<unsigned char>(text[i]));
    if (!g) break;  // no font: nothing to draw, which is not a failure of the context
    const int64_t left = pen + g->bearing_x;
    if (left + g->width > 0 && left < s->width &&
        draw_glyph(s, g, static_cast<int32_t>(left), y + g->top, ink)) {
      const int32_t l = static_cast<int32_t>(left), t = y + g->top;
      covered = Rect{l < covered.left ? l : covered.left, t < covered.top ? t : covered.top,
                     l + g->width > covered.right ? l + g->width : covered.right,
                     t + g->height > covered.bottom ? t + g->height : covered.bottom};
    }
    pen += g->advance;
  }
  if (!empty(covered)) surface_note_written(s, intersect(covered, Rect{0, 0, s->width, s->height}));
  return true;
}

bool gdi_frame_rect(DeviceContext* dc, const Rect* rect, COLORREF colour) {
  if (!dc_out(dc) || !rect) return false;
  const Rect& r = *rect;
  if (empty(r)) return true;
  Surface* s = dc->surface;
  const uint8_t index = palette_nearest(colour);
  fill_visible(s, Rect{r.left, r.top, r.right, r.top + 1}, index);
  fill_visible(s, Rect{r.left, r.bottom - 1, r.right, r.bottom}, index);
  fill_visible(s, Rect{r.left, r.top, r.left + 1, r.bottom}, index);
  fill_visible(s, Rect{r.right - 1, r.top, r.right, r.bottom}, index);
  return true;
}

bool gdi_fill_rect(DeviceContext* dc, const Rect* rect, COLORREF colour) {
  if (!dc_out(dc) || !rect) return false;
  if (empty(*rect)) return true;
  fill_visible(dc->surface, *rect, palette_nearest(colour));
  return true;
}
