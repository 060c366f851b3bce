// The frames drawn on the still layer and their records of what changed.
#include "display/still.h"

bool still_is_ours(const StillFrame& frame) {
  return frame.epoch != 0 && frame.epoch == display.display_still_epoch;
}

void still_take(StillFrame* frame) {
  if (++display.display_still_epoch == 0) ++display.display_still_epoch;  // 0 means never
  frame->epoch = display.display_still_epoch;
}

void still_begin(StillFrame* frame, const FrameChanges& layer_changes) {
  Surface* back = display.display_back;
  FrameChanges& changes = display.display_changes;
  surface_blit(back, nullptr, display.display_still, nullptr, 0);
  frame_changes_reset(&changes, back->width, back->height);
  if (!frame->moving_known || frame->flips_after != display.display_flips) frame_changes_set_whole(&changes);
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
