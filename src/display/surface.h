// Software surfaces: 8-bit pixels, a pitch, a source colour key, a clip list, a locked flag and
// a device context for text.
#pragma once
#include <cstdint>

#include "platform/common/frame_changes.h"

struct Rect {
  int32_t left, top, right, bottom;  // right and bottom exclusive
};

struct Clipper {
  int32_t count;
  Rect* rects;   // owned
  Rect bound;    // rcBound of the region block it was set from
};

struct Surface {
  int32_t width, height;
  int32_t pitch;            // bytes between row starts
  uint8_t* pixels;          // owned, pitch * height bytes
  int32_t has_color_key;    // source colour key set: index in [key_low, key_high] is transparent
  uint8_t key_low, key_high;
  Clipper* clipper;         // not owned
  int32_t locked;           // a lock is held: no device context can be had
  int32_t dc_held;          // a device context is out: no lock can be had
  // Where every blit, fill, text and locked write onto the surface is recorded (not owned);
  // null: nowhere. A lock released without saying what it wrote records the whole surface.
  FrameChanges* changes;
};

// Records a written rectangle in the surface's record of changes, if it keeps one.
inline void surface_note_written(Surface* surface, const Rect& r) {
  if (surface && surface->changes) frame_changes_add(surface->changes, r.left, r.top, r.right, r.bottom);
}

// A plain surface of width x height bytes (pitch = width), cleared to 0. Null when memory runs
// out or a side is not 1..16384.
Surface* surface_create(int32_t width, int32_t height);
void surface_release(Surface* surface);
// Frees a clipper made by display_attach_clipper. Surfaces that still point at it must be
// detached first (display_shutdown does this for display.display_clipper).
void clipper_release(Clipper* clipper);
// Blit src_rect of src onto dst_rect of dst, clipped by dst's clipper (or by dst's bounds when it
// has none), skipping src's colour-keyed pixels when keyed is set. Rectangles of different
// sizes scale with nearest-neighbour sampling; null rectangles mean whole surfaces. False when
// either surface is null, locked or has a device context out, a rectangle is empty, or the
// source rectangle reaches outside the source surface. A clipper with an empty clip list hides
// everything (true, nothing drawn).
bool surface_blit(Surface* dst, const Rect* dst_rect, Surface* src, const Rect* src_rect, int32_t keyed);
// Colour fill of a rectangle (null: the whole surface), clipped to the surface. False when null,
// locked or holding a device context.
bool surface_fill(Surface* surface, const Rect* rect, uint8_t index);
