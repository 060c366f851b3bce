// The record of a frame's changed spans: kept by the drawing side, read by the presenters.
#include "platform/common/frame_changes.h"

#include <algorithm>
#include <cstring>

void frame_changes_reset(FrameChanges* c, int32_t width, int32_t height) {
  c->width = width > 0 ? width : 0;
  c->height = height > 0 ? height : 0;
  c->whole = c->height > FRAME_CHANGES_ROWS || c->width > INT16_MAX;
  c->first = 0;
  c->last = -1;
  const int32_t rows = std::min(c->height, FRAME_CHANGES_ROWS);
  std::fill(c->left, c->left + rows, int16_t{0});
  std::fill(c->right, c->right + rows, int16_t{0});
}

void frame_changes_set_whole(FrameChanges* c) { c->whole = true; }

void frame_changes_add(FrameChanges* c, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (c->whole) return;
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, c->width);
  bottom = std::min(bottom, c->height);
  if (left >= right || top >= bottom) return;
  for (int32_t y = top; y < bottom; ++y) {
    if (c->left[y] >= c->right[y]) {
      c->left[y] = static_cast<int16_t>(left);
      c->right[y] = static_cast<int16_t>(right);
      continue;
    }
    if (left < c->left[y]) c->left[y] = static_cast<int16_t>(left);
    if (right > c->right[y]) c->right[y] = static_cast<int16_t>(right);
  }
  if (c->last < c->first) {
    c->first = top;
    c->last = bottom - 1;
  } else {
    c->first = std::min(c->first, top);
    c->last = std::max(c->last, bottom - 1);
  }
}

void frame_changes_merge(FrameChanges* into, const FrameChanges& from) {
  if (into->whole) return;
  if (from.whole || from.width != into->width || from.height != into->height) {
    into->whole = true;
    return;
  }
  for (int32_t y = from.first; y <= from.last; ++y)
    if (from.left[y] < from.right[y]) frame_changes_add(into, from.left[y], y, from.right[y], y + 1);
}

bool frame_changes_row(const FrameChanges& c, int32_t y, int32_t* left, int32_t* right) {
  if (y < 0 || y >= c.height) return false;
  if (c.whole) {
    *left = 0;
    *right = c.width;
    return c.width > 0;
  }
  if (c.left[y] >= c.right[y]) return false;
  *left = c.left[y];
  *right = c.right[y];
  return true;
}

bool frame_changes_bounds(const FrameChanges& c, int32_t* left, int32_t* top, int32_t* right, int32_t* bottom) {
  if (c.width <= 0 || c.height <= 0) return false;
  if (c.whole) {
    *left = 0, *top = 0, *right = c.width, *bottom = c.height;
    return true;
  }
  int32_t l = c.width, r = 0, t = -1, b = -1;
  for (int32_t y = c.first; y <= c.last; ++y) {
    if (c.left[y] >= c.right[y]) continue;
    if (t < 0) t = y;
    b = y + 1;
    l = std::min<int32_t>(l, c.left[y]);
    r = std::max<int32_t>(r, c.right[y]);
  }
  if (t < 0) return false;
  *left = l, *top = t, *right = r, *bottom = b;
  return true;
}

int32_t frame_changes_first_missed(const FrameChanges& c, const uint8_t* before, const uint8_t* after, int32_t pitch) {
  if (c.whole) return -1;
  for (int32_t y = 0; y < c.height; ++y) {
    const uint8_t* a = before + static_cast<int64_t>(y) * pitch;
    const uint8_t* b = after + static_cast<int64_t>(y) * pitch;
    const bool spanned = c.left[y] < c.right[y];
    const int32_t l = spanned ? c.left[y] : c.width, r = spanned ? c.right[y] : c.width;
    if (std::memcmp(a, b, static_cast<size_t>(l)) != 0) return y;
    if (std::memcmp(a + r, b + r, static_cast<size_t>(c.width - r)) != 0) return y;
  }
  return -1;
}
