// The screen: primary surface and back buffer, the hardware palette, the clipper, fills, the
// flip, surface locks and sprite-frame surfaces.
#include "display/display.h"

#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

Display display;

namespace {

// Four ramps of 64 levels (red, green, blue, grey), so that something sensible shows before
// the first picture's palette is set.
void fill_start_ramps(PALETTEENTRY* entries) {
  std::memset(entries, 0, 256 * sizeof(PALETTEENTRY));
  for (int32_t i = 0; i < 256; ++i) {
    const uint8_t level = static_cast<uint8_t>(4 * (i % 64));
    PALETTEENTRY& e = entries[i];
    switch (i / 64) {
      case 0: e.peRed = level; break;
      case 1: e.peGreen = level; break;
      case 2: e.peBlue = level; break;
      default: e.peRed = e.peGreen = e.peBlue = level; break;
    }
    e.peFlags = PC_NOCOLLAPSE;
  }
}

// Frees whatever display objects exist and forgets them, so that no global points at freed
// memory afterwards.
void release_objects() {
  if (display.display_clipper) {
    if (display.display_back && display.display_back->clipper == display.display_clipper) display.display_back->clipper = nullptr;
    if (display.display_primary && display.display_primary->clipper == display.display_clipper) display.display_primary->clipper = nullptr;
    clipper_release(display.display_clipper);
    display.display_clipper = nullptr;
  }
  std::free(display.display_palette);
  display.display_palette = nullptr;
  surface_release(display.display_back);
  display.display_back = nullptr;
  surface_release(display.display_still);
  display.display_still = nullptr;
  surface_release(display.display_primary);
  display.display_primary = nullptr;
}

}  // namespace

bool display_init(int32_t width, int32_t height, int32_t bpp) {
  if (!platform_display_open(width, height, bpp)) return false;
  // A second set-up replaces the first instead of leaking it.
  release_objects();
  display.display_flip_presented = false;
  frame_changes_set_whole(&display.display_changes);
  display.screen_width = width;
  display.screen_height = height;
  display.screen_bpp = bpp;

  display.display_primary = surface_create(width, height);
  if (!display.display_primary) return false;
  display.display_back = surface_create(width, height);
  if (!display.display_back) return false;

  fill_start_ramps(current_palette);
  display.display_palette = static_cast<Palette*>(std::calloc(1, sizeof(Palette)));
  if (!display.display_palette) return false;
  std::memcpy(display.display_palette->entries, current_palette, sizeof(display.display_palette->entries));

  display_fill(display.display_primary, 0);
  display_fill(display.display_back, 0);
  return true;
}

bool display_shutdown() {
  release_objects();
  platform_display_close();
  return true;
}

Clipper* display_attach_clipper(Surface* surface, int32_t count, const Rect* rects) {
  if (!surface || count < 0 || (count > 0 && !rects)) return nullptr;
  Clipper* clipper = static_cast<Clipper*>(std::calloc(1, sizeof(Clipper)));
  if (!clipper) return nullptr;
  if (count > 0) {
    clipper->rects = static_cast<Rect*>(std::malloc(sizeof(Rect) * static_cast<size_t>(count)));
    if (!clipper->rects) {
      std::free(clipper);
      return nullptr;
    }
    std::memcpy(clipper->rects, rects, sizeof(Rect) * static_cast<size_t>(count));
  }
  clipper->count = count;
  // The bounding box starts inside out so that the first rectangle sets it.
  clipper->bound = Rect{64000, 64000, -64000, -64000};
  for (int32_t i = 0; i < count; ++i) {
    const Rect& r = rects[i];
    if (r.left < clipper->bound.left) clipper->bound.left = r.left;
    if (r.top < clipper->bound.top) clipper->bound.top = r.top;
    if (r.right > clipper->bound.right) clipper->bound.right = r.right;
    if (r.bottom > clipper->bound.bottom) clipper->bound.bottom = r.bottom;
  }
  surface->clipper = clipper;
  return clipper;
}

bool display_fill(Surface* surface, uint32_t colour) {
  if (!surface) return false;
  surface_fill(surface, nullptr, static_cast<uint8_t>(colour & 0xFF));
  return true;
}

// A software flip cannot fail once it may start, so there is nothing to retry; it is refused
// while a lock or a device context is held on either surface, where the hardware flip would
// have failed for ever. Every lock, however taken, goes through display_lock and so shows in
// the surface's own flag.
bool display_flip() {
  if (!display.display_primary || !display.display_back) return false;
  if (display.display_primary->locked || display.display_primary->dc_held || display.display_back->locked || display.display_back->dc_held)
    return false;
  const PALETTEENTRY* entries = display.display_palette ? display.display_palette->entries : current_palette;
  uint8_t rgb[256][3];
  for (int32_t i = 0; i < 256; ++i) {
    rgb[i][0] = entries[i].peRed;
    rgb[i][1] = entries[i].peGreen;
    rgb[i][2] = entries[i].peBlue;
  }
  if (display.display_frame_observer) display.display_frame_observer(display.display_back->pixels, display.display_back->pitch, rgb);
  // A record is relative to the frame presented before; after a flip that presented nothing it
  // has nothing to be relative to.
  const FrameChanges& changes = display.display_changes;
  const bool known = !changes.whole && display.display_flip_presented && changes.width == display.display_back->width &&
                     changes.height == display.display_back->height;
  if (display.display_realtime)
    platform_present_changes(display.display_back->pixels, display.display_back->pitch, rgb, known ? &changes : nullptr);
  display.display_flip_presented = display.display_realtime;
  frame_changes_set_whole(&display.display_changes);
  ++display.display_flips;
  uint8_t* shown = display.display_back->pixels;
  display.display_back->pixels = display.display_primary->pixels;
  display.display_primary->pixels = shown;
  return true;
}

uint8_t* display_lock(Surface* surface, int32_t* pitch_out) {
  if (!surface) return nullptr;
  if (surface->locked || surface->dc_held) {
    if (pitch_out) *pitch_out = 0;
    return nullptr;
  }
  surface->locked = 1;
  if (pitch_out) *pitch_out = surface->pitch;
  return surface->pixels;
}

bool display_unlock(Surface* surface, uint8_t* address) {
  if (!surface) return false;
  return display_unlock_written(surface, address, Rect{0, 0, surface->width, surface->height});
}

bool display_unlock_written(Surface* surface, uint8_t* /*address*/, const Rect& written) {
  if (!surface) return false;
  if (surface->locked) surface_note_written(surface, written);
  surface->locked = 0;
  return true;
}

Surface* display_still_layer() {
  if (!display.display_still && display.display_back)
    display.display_still = surface_create(display.display_back->width, display.display_back->height);
  return display.display_still;
}

Surface* display_create_surface(int32_t width, int32_t height) {
  Surface* surface = surface_create(width, height);
  if (!surface) return nullptr;
  // Index 0 is transparent in keyed blits, as for every sprite frame.
  surface->has_color_key = 1;
  surface->key_low = 0;
  surface->key_high = 0;
  return surface;
}

bool display_wait_vblank() {
  if (display.display_realtime) platform_wait_frame_tick();
  return true;
}
