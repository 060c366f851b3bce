// Software surfaces: creation, colour-keyed blits clipped by a clip list, and colour fills.
#include "display/surface.h"

#include <cstdlib>
#include <cstring>

namespace {

// Large enough for any picture the game shows; keeps a bad size from asking for gigabytes.
constexpr int32_t MAX_SURFACE_SIDE = 16384;

// A surface that has a lock or a device context out cannot take part in a blit or a fill.
bool busy(const Surface* s) { return s->locked != 0 || s->dc_held != 0; }

bool rect_empty(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

Rect intersect(const Rect& a, const Rect& b) {
  Rect r;
  r.left = a.left > b.left ? a.left : b.left;
  r.top = a.top > b.top ? a.top : b.top;
  r.right = a.right < b.right ? a.right : b.right;
  r.bottom = a.bottom < b.bottom ? a.bottom : b.bottom;
  return r;
}

// Copies the part `part` of the destination rectangle `dst` (already inside the surface) from
// the source rectangle `src`, scaling by nearest-neighbour when their sizes differ.
void copy_part(Surface* d, const Rect& dst, const Rect& part, const Surface* s, const Rect& src, bool keyed) {
  surface_note_written(d, part);
  const int64_t dst_w = dst.right - dst.left, dst_h = dst.bottom - dst.top;
  const int64_t src_w = src.right - src.left, src_h = src.bottom - src.top;
  const bool same_size = dst_w == src_w && dst_h == src_h;
  const uint8_t lo = s->key_low, hi = s->key_high;
  for (int32_t y = part.top; y < part.bottom; ++y) {
    const int64_t sy = src.top + (same_size ? y - dst.top : (y - dst.top) * src_h / dst_h);
    const uint8_t* src_row = s->pixels + sy * s->pitch;
    uint8_t* out = d->pixels + static_cast<int64_t>(y) * d->pitch;
    if (same_size) {
      const uint8_t* in = src_row + src.left + (part.left - dst.left);
      const int32_t n = part.right - part.left;
      if (!keyed) {
        std::memcpy(out + part.left, in, static_cast<size_t>(n));
        continue;
      }
      // A select instead of a conditional store lets the compiler copy many pixels at a time.
      uint8_t* o = out + part.left;
      for (int32_t i = 0; i < n; ++i) {
        const uint8_t v = in[i];
        o[i] = (v < lo || v > hi) ? v : o[i];
      }
      continue;
    }
    for (int32_t x = part.left; x < part.right; ++x) {
      const uint8_t v = src_row[src.left + (x - dst.left) * src_w / dst_w];
      if (!keyed || v < lo || v > hi) out[x] = v;
    }
  }
}

}  // namespace

Surface* surface_create(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0 || width > MAX_SURFACE_SIDE || height > MAX_SURFACE_SIDE) return nullptr;
  Surface* s = static_cast<Surface*>(std::calloc(1, sizeof(Surface)));
  if (!s) return nullptr;
  s->pixels = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(width) * height, 1));
  if (!s->pixels) {
    std::free(s);
    return nullptr;
  }
  s->width = width;
  s->height = height;
  s->pitch = width;
  return s;
}

void surface_release(Surface* surface) {
  if (!surface) return;
  std::free(surface->pixels);
  std::free(surface);
}

void clipper_release(Clipper* clipper) {
  if (!clipper) return;
  std::free(clipper->rects);
  std::free(clipper);
}

bool surface_blit(Surface* dst, const Rect* dst_rect, Surface* src, const Rect* src_rect, int32_t keyed) {
  if (!dst || !src || busy(dst) || busy(src)) return false;
  const Rect dst_full{0, 0, dst->width, dst->height};
  const Rect src_full{0, 0, src->width, src->height};
  const Rect d = dst_rect ? *dst_rect : dst_full;
  const Rect s = src_rect ? *src_rect : src_full;
  if (rect_empty(d) || rect_empty(s)) return false;
  if (s.left < 0 || s.top < 0 || s.right > src->width || s.bottom > src->height) return false;
  const bool use_key = keyed != 0 && src->has_color_key != 0;

  const Rect visible = intersect(d, dst_full);
  if (rect_empty(visible)) return true;
  if (!dst->clipper) {
    copy_part(dst, d, visible, src, s, use_key);
    return true;
  }
  for (int32_t i = 0; i < dst->clipper->count; ++i) {
    const Rect part = intersect(visible, dst->clipper->rects[i]);
    if (!rect_empty(part)) copy_part(dst, d, part, src, s, use_key);
  }
  return true;
}

bool surface_fill(Surface* surface, const Rect* rect, uint8_t index) {
  if (!surface || busy(surface)) return false;
  const Rect full{0, 0, surface->width, surface->height};
  const Rect r = rect ? intersect(*rect, full) : full;
  if (rect_empty(r)) return true;
  surface_note_written(surface, r);
  for (int32_t y = r.top; y < r.bottom; ++y)
    std::memset(surface->pixels + static_cast<int64_t>(y) * surface->pitch + r.left, index,
                static_cast<size_t>(r.right - r.left));
  return true;
}
