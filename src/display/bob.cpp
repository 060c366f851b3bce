// BOBs: sprites whose frames are off-screen surfaces blitted with index 0 transparent.
#include "display/bob.h"

#include <climits>
#include <cstdlib>
#include <cstring>

#include "common/errlog.h"
#include "display/display.h"

namespace {

// The rectangle that moves bounce off and wrap around: the whole 640 x 480 screen.
constexpr int32_t MAX_FRAME_SIDE = 16384;
constexpr int32_t MOVE_MIN_X = 0, MOVE_MIN_Y = 0, MOVE_MAX_X = 639, MOVE_MAX_Y = 479;

Surface* current_frame(const Bob* bob) {
  if (bob->frame < 0 || bob->frame >= BOB_FRAME_SLOTS) return nullptr;
  return bob->frames[bob->frame];
}

// One axis of a move: bounce keeps the sprite inside [lo, hi] with the velocity turned inwards;
// wrap lets it leave one side whole and come back in at the other.
void settle_axis(int32_t* pos, int32_t* vel, int32_t size, int32_t lo, int32_t hi, int32_t flags) {
  const int64_t p = *pos, far_edge = p + size - 1;
  if (flags & BOB_FLAG_BOUNCE) {
    if (p < lo) {
      *pos = lo;
      *vel = *vel < 0 ? -*vel : *vel;
    } else if (far_edge > hi) {
      *pos = hi - size + 1;
      *vel = *vel > 0 ? -*vel : *vel;
    }
  } else if (flags & BOB_FLAG_WRAP) {
    const int64_t span = static_cast<int64_t>(hi) - lo + 1 + size;
    if (p > hi) *pos = static_cast<int32_t>(p - span);
    else if (far_edge < lo) *pos = static_cast<int32_t>(p + span);
  }
}

// The destination of a draw; false when it lies so far right or down that it cannot show.
bool destination(const Bob* bob, int32_t width, int32_t height, Rect* dst) {
  const int64_t right = static_cast<int64_t>(bob->x) + width - 1;
  const int64_t bottom = static_cast<int64_t>(bob->y) + height - 1;
  if (right > INT32_MAX || bottom > INT32_MAX) return false;
  *dst = Rect{bob->x, bob->y, static_cast<int32_t>(right), static_cast<int32_t>(bottom)};
  return true;
}

}  // namespace

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

int32_t bob_create(Bob* bob, int32_t x, int32_t y, int32_t width, int32_t height, int32_t frame_count,
                   int32_t flags, int32_t memory_flags) {
  if (!bob || frame_count > BOB_FRAME_SLOTS) return 0;
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
  if (frame_count >= 1 && (width < 1 || height < 1 || width > MAX_FRAME_SIDE || height > MAX_FRAME_SIDE)) return 0;
  for (int32_t i = 0; i < frame_count; ++i) {
    bob->frames[i] = display_create_surface(width + bob->width_pad, height, memory_flags | DDSCAPS_OFFSCREENPLAIN);
    if (!bob->frames[i]) return 0;  // the frames made so far stay for bob_destroy
  }
  return 1;
}

int32_t bob_destroy(Bob* bob) {
  if (!bob) return 0;
  for (Surface*& f : bob->frames) {
    surface_release(f);
    f = nullptr;
  }
  for (int32_t*& s : bob->sequences) {
    std::free(s);
    s = nullptr;
  }
  return 1;
}

// Right and bottom are exclusive, so x + width - 1 leaves the frame's last column and row out.
// The art is drawn for that (16 x 16 frames keep their picture inside 15 x 15).
int32_t bob_draw(Bob* bob, Surface* target) {
  if (!bob) return 0;
  if (!(bob->flags & BOB_FLAG_SHOWN)) return 1;
  Surface* frame = current_frame(bob);
  if (!frame || !target) return 0;
  Rect dst;
  if (!destination(bob, bob->width, bob->height, &dst)) return 1;
  const Rect src{0, 0, bob->width - 1, bob->height - 1};
  return surface_blit(target, &dst, frame, &src, 1);
}

int32_t bob_draw_scaled(Bob* bob, int32_t width, int32_t height, Surface* target) {
  if (!bob) return 0;
  if (!(bob->flags & BOB_FLAG_SHOWN)) return 1;
  Surface* frame = current_frame(bob);
  if (!frame || !target) return 0;
  Rect dst;
  if (!destination(bob, width, height, &dst)) return 1;
  const Rect src{0, 0, bob->width - 1, bob->height - 1};
  return surface_blit(target, &dst, frame, &src, 1);
}

int32_t bob_load_frame(Bob* bob, const BitmapFile* bitmap, int32_t frame_index, int32_t cx, int32_t cy, int32_t mode) {
  if (!bob || !bitmap || !bitmap->pixels || bitmap->info_header.biBitCount != 8) return 0;
  if (frame_index < 0 || frame_index >= bob->frame_count || frame_index >= BOB_FRAME_SLOTS) return 0;
  Surface* frame = bob->frames[frame_index];
  if (!frame) return 0;
  int64_t column = 0, row = 0;
  bob_frame_corner(mode, cx, cy, bob->width, bob->height, &column, &row);
  int32_t pitch = 0;
  uint8_t* memory = display_lock(frame, &pitch);
  if (!memory) return 0;
  // The frame is at least width x height; keep to that even if the record was changed by hand.
  const int32_t width = bob->width < frame->width ? bob->width : frame->width;
  const int32_t height = bob->height < frame->height ? bob->height : frame->height;
  const int32_t copied = bitmap_copy_rect(bitmap, column, row, width, height, memory, pitch);
  display_unlock(frame, memory);
  if (!copied) return 0;
  bob->flags |= BOB_FLAG_FRAMES_LOADED;
  return 1;
}

int32_t bob_set_position(Bob* bob, int32_t x, int32_t y) {
  if (!bob) return 0;
  bob->x = x;
  bob->y = y;
  return 1;
}

int32_t bob_animate(Bob* bob) {
  if (!bob) return 0;
  if (bob->flags & BOB_FLAG_ONE_FRAME) {
    bob->frame = 0;
    return 1;
  }
  if (bob->flags & BOB_FLAG_FRAME_CYCLE) {
    if (++bob->anim_tick >= bob->anim_rate) {
      bob->anim_tick = 0;
      if (++bob->frame >= bob->frame_count) bob->frame = 0;
    }
    return 1;
  }
  if (bob->flags & BOB_FLAG_SEQUENCES) {
    if (bob->sequence < 0 || bob->sequence >= BOB_SEQUENCE_SLOTS || !bob->sequences[bob->sequence]) return 0;
    const int32_t* seq = bob->sequences[bob->sequence];
    if (++bob->anim_tick >= bob->anim_rate) {
      bob->anim_tick = 0;
      ++bob->anim_step;
      if (seq[bob->anim_step] == SEQUENCE_END) {
        if (bob->flags & BOB_FLAG_ONE_SHOT) {
          bob->anim_finished = 1;
          --bob->anim_step;
        } else {
          bob->anim_step = 0;
        }
      }
      bob->frame = seq[bob->anim_step];
    }
  }
  return 1;
}

int32_t bob_load_sequence(Bob* bob, int32_t index, int32_t count, const int32_t* frames) {
  if (!bob || !frames || index < 0 || index >= BOB_SEQUENCE_SLOTS || count < 1 || count > 1 << 20) return 0;
  for (int32_t i = 0; i < count; ++i)
    if (frames[i] < 0 || frames[i] >= BOB_FRAME_SLOTS) return 0;
  int32_t* copy = static_cast<int32_t*>(std::malloc(sizeof(int32_t) * (static_cast<size_t>(count) + 1)));
  if (!copy) return 0;
  std::memcpy(copy, frames, sizeof(int32_t) * static_cast<size_t>(count));
  copy[count] = SEQUENCE_END;
  std::free(bob->sequences[index]);
  bob->sequences[index] = copy;
  // A shorter list must not leave the step pointing past its end.
  if (index == bob->sequence) bob->anim_step = 0;
  return 1;
}

int32_t bob_set_anim_rate(Bob* bob, int32_t rate) {
  if (!bob) return 0;
  bob->anim_rate = rate;
  return 1;
}

int32_t bob_set_sequence(Bob* bob, int32_t index) {
  if (!bob || index < 0 || index >= BOB_SEQUENCE_SLOTS) return 0;
  bob->sequence = index;
  bob->anim_step = 0;
  return 1;
}

int32_t bob_set_velocity(Bob* bob, int32_t vx, int32_t vy) {
  if (!bob) return 0;
  bob->vel_x = vx;
  bob->vel_y = vy;
  return 1;
}

int32_t bob_hide(Bob* bob) {
  if (!bob) return 0;
  bob->flags &= ~BOB_FLAG_SHOWN;
  return 1;
}

int32_t bob_show(Bob* bob) {
  if (!bob) return 0;
  bob->flags |= BOB_FLAG_SHOWN;
  return 1;
}

int32_t bob_move(Bob* bob) {
  if (!bob) return 0;
  // Unsigned sums wrap instead of overflowing for positions nobody keeps in range.
  bob->x = static_cast<int32_t>(static_cast<uint32_t>(bob->x) + static_cast<uint32_t>(bob->vel_x));
  bob->y = static_cast<int32_t>(static_cast<uint32_t>(bob->y) + static_cast<uint32_t>(bob->vel_y));
  settle_axis(&bob->x, &bob->vel_x, bob->width, MOVE_MIN_X, MOVE_MAX_X, bob->flags);
  settle_axis(&bob->y, &bob->vel_y, bob->height, MOVE_MIN_Y, MOVE_MAX_Y, bob->flags);
  return 1;
}

// Boxes anchored at the top-left corners, their half-extents cut by an eighth so that sprites
// must really touch, not just their transparent margins.
int32_t bob_overlap(const Bob* a, const Bob* b) {
  if (!a || !b) return 0;
  const int32_t half_wa = (a->width >> 1) - (a->width >> 3), half_ha = (a->height >> 1) - (a->height >> 3);
  const int32_t half_wb = (b->width >> 1) - (b->width >> 3), half_hb = (b->height >> 1) - (b->height >> 3);
  const int64_t dx = static_cast<int64_t>(b->x) + half_wb - (static_cast<int64_t>(a->x) + half_wa);
  const int64_t dy = static_cast<int64_t>(b->y) + half_hb - (static_cast<int64_t>(a->y) + half_ha);
  return (dx < 0 ? -dx : dx) < half_wa + half_wb && (dy < 0 ? -dy : dy) < half_ha + half_hb ? 1 : 0;
}
