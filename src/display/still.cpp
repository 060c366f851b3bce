// The frames drawn on the still layer and their records of what changed.
#include "display/still.h"

bool still_is_ours(const StillFrame& frame) {
  return frame.epoch != 0 && frame.epoch == display.display_still_epoch;
}

void still_take(StillFrame* frame) {
  if (++display.display_still_epoch == 0) ++display.display_still_epoch;  // 0 means never
  frame->epoch = display.display_still_epoch;
}

namespace {

// The layer into the back buffer: the box of the rows in stale, or all of it.
void copy_layer(Surface* back, const FrameChanges& stale) {
  if (stale.whole || stale.width != back->width || stale.height != back->height) {
    surface_blit(back, nullptr, display.display_still, nullptr, 0);
    return;
  }
  if (stale.last < stale.first) return;
  Rect box{back->width, stale.first, 0, stale.last + 1};
  for (int32_t y = stale.first; y <= stale.last; ++y) {
    int32_t left, right;
    if (!frame_changes_row(stale, y, &left, &right)) continue;
    if (left < box.left) box.left = left;
    if (right > box.right) box.right = right;
  }
  if (box.left < box.right) surface_blit(back, &box, display.display_still, &box, 0);
}

}  // namespace

void still_begin(StillFrame* frame, const FrameChanges& layer_changes) {
  Surface* back = display.display_back;
  FrameChanges& changes = display.display_changes;
  const bool last_ours = frame->moving_known && frame->flips_after == display.display_flips;
  // The back buffer holds the frame before last; the layer is copied only where that frame
  // drew over it and where the layer changed since.
  FrameChanges stale;
  frame_changes_reset(&stale, back->width, back->height);
  if (last_ours && frame->behind_known) {
    frame_changes_merge(&stale, frame->behind);
    frame_changes_merge(&stale, layer_changes);
  } else {
    frame_changes_set_whole(&stale);
  }
  copy_layer(back, stale);
  // What the next frame's back buffer (this frame's front) holds beyond the layer.
  frame_changes_reset(&frame->behind, back->width, back->height);
  frame_changes_merge(&frame->behind, layer_changes);
  frame_changes_merge(&frame->behind, frame->moving);
  frame->behind_known = last_ours;
  frame_changes_reset(&changes, back->width, back->height);
  if (!last_ours) frame_changes_set_whole(&changes);
  frame_changes_merge(&changes, layer_changes);
  frame_changes_merge(&changes, frame->moving);
  frame_changes_reset(&frame->moving, back->width, back->height);
  back->changes = &frame->moving;
}

void still_end(StillFrame* frame) {
  display.display_back->changes = nullptr;
  frame_changes_merge(&display.display_changes, frame->moving);
  // Known from the next frame on if this one is flipped next.
  frame->flips_after = display.display_flips + 1;
  frame->moving_known = !frame->moving.whole;
}
