// Frames composed on the display's still layer: the layer copied into the back buffer, what
// moves drawn over it, and the display told what the frame changes from the one before. Each
// screen that keeps the layer keeps one of these records.
#pragma once
#include <cstdint>

#include "display/display.h"

struct StillFrame {
  // The layer's composition this screen made (display_still_epoch then): another screen's
  // since means it must be composed again.
  uint32_t epoch = 0;
  // What the last frame drew over the layer, and the flip count its flip made.
  FrameChanges moving;
  uint32_t flips_after = 0;
  bool moving_known = false;
  // Where the back buffer, which holds the frame before last, may differ from the layer: what
  // that frame drew over it and the layer's changes of the last frame. Known only while the
  // last two frames were this screen's, each flipped as it was made.
  FrameChanges behind;
  bool behind_known = false;
};

// True while the layer holds what this screen composed last.
bool still_is_ours(const StillFrame& frame);
// Marks the layer as this screen's, composed anew.
void still_take(StillFrame* frame);
// The layer into the back buffer (only where the back buffer may differ from it, when that is
// known); the display's record of changes starts as the layer's own
// changes (layer_changes) and what moved in the last frame, or whole when the last flip was not
// this screen's frame. Everything drawn onto the back buffer until still_end is recorded too.
void still_begin(StillFrame* frame, const FrameChanges& layer_changes);
void still_end(StillFrame* frame);
