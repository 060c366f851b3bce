// BOBs: sprites whose frames are off-screen surfaces blitted with index 0 transparent:
// creation, frame loading, placing and drawing.
#include "display/bob.h"

#include <climits>
#include <cstdlib>

#include "common/errlog.h"
#include "display/display.h"

namespace {

constexpr int32_t MAX_FRAME_SIDE = 16384;

}  // namespace

Surface* bob_current_frame(const Bob* bob) {
  if (bob->frame < 0 || bob->frame >= BOB_FRAME_SLOTS) return nullptr;
  return bob->frames[bob->frame];
}

bool bob_destination(const Bob* bob, int32_t width, int32_t height, Rect* dst) {
  const int64_t right = static_cast<int64_t>(bob->x) + width - 1;
  const int64_t bottom = static_cast<int64_t>(bob->y) + height - 1;
  if (right > INT32_MAX || bottom > INT32_MAX) return false;
  *dst = Rect{bob->x, bob->y, static_cast<int32_t>(right), static_cast<int32_t>(bottom)};
  return true;
}

void bob_frame_corner(int32_t mode, int32_t cx, int32_t cy, int32_t width, int32_t height, int64_t* column,
                      int64_t* row) {
  if (mode == FRAME_AT_CELL) {
    *column = static_cast<int64_t>(cx) * (static_cast<int64_t>(width) + 1) + 1;
    *row = static_cast<int64_t>(cy) * (static_cast<int64_t>(height) + 1) + 1;
  } else {
    *column = cx;
    *row = cy;
  }
}

bool bob_create(Bob* bob, int32_t x, int32_t y, int32_t width, int32_t height, int32_t frame_count,
                int32_t flags) {
  if (!bob || frame_count > BOB_FRAME_SLOTS) return false;
  bob->flags = flags;
  bob->frame_count = frame_count;
  bob->x = x;
  bob->y = y;
  bob->width = width;
  bob->height = height;
  bob->state = 1;
  bob->anim_finished = bob->vel_x = bob->vel_y = bob->direction = 0;
  bob->counter_a = bob->counter_b = bob->frame = bob->sequence = 0;
  bob->anim_tick = bob->anim_step = bob->anim_rate = 0;
  for (Surface*& f : bob->frames) f = nullptr;
  for (int32_t*& s : bob->sequences) s = nullptr;
  // Frame surfaces are a multiple of 8 bytes wide.
  bob->width_pad = (width & 7) != 0 ? 8 - (width & 7) : 0;
  errlog_write("\nCreate BOB %d", bob->width_pad);
  if (frame_count >= 1 && (width < 1 || height < 1 || width > MAX_FRAME_SIDE || height > MAX_FRAME_SIDE)) return false;
  for (int32_t i = 0; i < frame_count; ++i) {
    bob->frames[i] = display_create_surface(width + bob->width_pad, height);
    if (!bob->frames[i]) return false;  // the frames made so far stay for bob_destroy
  }
  return true;
}

bool bob_destroy(Bob* bob) {
  if (!bob) return false;
  for (Surface*& f : bob->frames) {
    surface_release(f);
    f = nullptr;
  }
  for (int32_t*& s : bob->sequences) {
    std::free(s);
    s = nullptr;
  }
  return true;
}

// Right and bottom are exclusive, so x + width - 1 leaves the frame's last column and row out.
// The art is drawn for that (16 x 16 frames keep their picture inside 15 x 15).
bool bob_draw(Bob* bob, Surface* target) {
  if (!bob) return false;
  if (!(bob->flags & BOB_FLAG_SHOWN)) return true;
  Surface* frame = bob_current_frame(bob);
  if (!frame || !target) return false;
  Rect dst;
  if (!bob_destination(bob, bob->width, bob->height, &dst)) return true;
  const Rect src{0, 0, bob->width - 1, bob->height - 1};
  return surface_blit(target, &dst, frame, &src, 1);
}

bool bob_load_frame(Bob* bob, const BitmapFile* bitmap, int32_t frame_index, int32_t cx, int32_t cy, int32_t mode) {
  if (!bob || !bitmap || !bitmap->pixels || bitmap->info_header.biBitCount != 8) return false;
  if (frame_index < 0 || frame_index >= bob->frame_count || frame_index >= BOB_FRAME_SLOTS) return false;
  Surface* frame = bob->frames[frame_index];
  if (!frame) return false;
  int64_t column = 0, row = 0;
  bob_frame_corner(mode, cx, cy, bob->width, bob->height, &column, &row);
  int32_t pitch = 0;
  uint8_t* memory = display_lock(frame, &pitch);
  if (!memory) return false;
  // The frame is at least width x height; keep to that even if the record was changed by hand.
  const int32_t width = bob->width < frame->width ? bob->width : frame->width;
  const int32_t height = bob->height < frame->height ? bob->height : frame->height;
  const bool copied = bitmap_copy_rect(bitmap, column, row, width, height, memory, pitch) != 0;
  display_unlock(frame, memory);
  if (!copied) return false;
  bob->flags |= BOB_FLAG_FRAMES_LOADED;
  return true;
}

bool bob_set_position(Bob* bob, int32_t x, int32_t y) {
  if (!bob) return false;
  bob->x = x;
  bob->y = y;
  return true;
}

