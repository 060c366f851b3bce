// BOB extras: the scaled draw, frame animation by cycle or sequence, moves that bounce or wrap
// at the screen's edges, and the overlap test.
#include "display/bob_extras.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

// The rectangle that moves bounce off and wrap around: the whole 640 x 480 screen.
constexpr int32_t MOVE_MIN_X = 0, MOVE_MIN_Y = 0, MOVE_MAX_X = 639, MOVE_MAX_Y = 479;

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

}  // namespace

bool bob_draw_scaled(Bob* bob, int32_t width, int32_t height, Surface* target) {
  if (!bob) return false;
  if (!(bob->flags & BOB_FLAG_SHOWN)) return true;
  Surface* frame = bob_current_frame(bob);
  if (!frame || !target) return false;
  Rect dst;
  if (!bob_destination(bob, width, height, &dst)) return true;
  const Rect src{0, 0, bob->width - 1, bob->height - 1};
  return surface_blit(target, &dst, frame, &src, 1);
}

bool bob_animate(Bob* bob) {
  if (!bob) return false;
  if (bob->flags & BOB_FLAG_ONE_FRAME) {
    bob->frame = 0;
    return true;
  }
  if (bob->flags & BOB_FLAG_FRAME_CYCLE) {
    if (++bob->anim_tick >= bob->anim_rate) {
      bob->anim_tick = 0;
      if (++bob->frame >= bob->frame_count) bob->frame = 0;
    }
    return true;
  }
  if (bob->flags & BOB_FLAG_SEQUENCES) {
    if (bob->sequence < 0 || bob->sequence >= BOB_SEQUENCE_SLOTS || !bob->sequences[bob->sequence]) return false;
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
  return true;
}

bool bob_load_sequence(Bob* bob, int32_t index, int32_t count, const int32_t* frames) {
  if (!bob || !frames || index < 0 || index >= BOB_SEQUENCE_SLOTS || count < 1 || count > 1 << 20) return false;
  for (int32_t i = 0; i < count; ++i)
    if (frames[i] < 0 || frames[i] >= BOB_FRAME_SLOTS) return false;
  int32_t* copy = static_cast<int32_t*>(std::malloc(sizeof(int32_t) * (static_cast<size_t>(count) + 1)));
  if (!copy) return false;
  std::memcpy(copy, frames, sizeof(int32_t) * static_cast<size_t>(count));
  copy[count] = SEQUENCE_END;
  std::free(bob->sequences[index]);
  bob->sequences[index] = copy;
  // A shorter list must not leave the step pointing past its end.
  if (index == bob->sequence) bob->anim_step = 0;
  return true;
}

bool bob_set_anim_rate(Bob* bob, int32_t rate) {
  if (!bob) return false;
  bob->anim_rate = rate;
  return true;
}

bool bob_set_sequence(Bob* bob, int32_t index) {
  if (!bob || index < 0 || index >= BOB_SEQUENCE_SLOTS) return false;
  bob->sequence = index;
  bob->anim_step = 0;
  return true;
}

bool bob_set_velocity(Bob* bob, int32_t vx, int32_t vy) {
  if (!bob) return false;
  bob->vel_x = vx;
  bob->vel_y = vy;
  return true;
}

bool bob_hide(Bob* bob) {
  if (!bob) return false;
  bob->flags &= ~BOB_FLAG_SHOWN;
  return true;
}

bool bob_show(Bob* bob) {
  if (!bob) return false;
  bob->flags |= BOB_FLAG_SHOWN;
  return true;
}

bool bob_move(Bob* bob) {
  if (!bob) return false;
  // Unsigned sums wrap instead of overflowing for positions nobody keeps in range.
  bob->x = static_cast<int32_t>(static_cast<uint32_t>(bob->x) + static_cast<uint32_t>(bob->vel_x));
  bob->y = static_cast<int32_t>(static_cast<uint32_t>(bob->y) + static_cast<uint32_t>(bob->vel_y));
  settle_axis(&bob->x, &bob->vel_x, bob->width, MOVE_MIN_X, MOVE_MAX_X, bob->flags);
  settle_axis(&bob->y, &bob->vel_y, bob->height, MOVE_MIN_Y, MOVE_MAX_Y, bob->flags);
  return true;
}

// Boxes anchored at the top-left corners, their half-extents cut by an eighth so that sprites
// must really touch, not just their transparent margins.
bool bob_overlap(const Bob* a, const Bob* b) {
  if (!a || !b) return false;
  const int32_t half_wa = (a->width >> 1) - (a->width >> 3), half_ha = (a->height >> 1) - (a->height >> 3);
  const int32_t half_wb = (b->width >> 1) - (b->width >> 3), half_hb = (b->height >> 1) - (b->height >> 3);
  const int64_t dx = static_cast<int64_t>(b->x) + half_wb - (static_cast<int64_t>(a->x) + half_wa);
  const int64_t dy = static_cast<int64_t>(b->y) + half_hb - (static_cast<int64_t>(a->y) + half_ha);
  return (dx < 0 ? -dx : dx) < half_wa + half_wb && (dy < 0 ? -dy : dy) < half_ha + half_hb;
}
