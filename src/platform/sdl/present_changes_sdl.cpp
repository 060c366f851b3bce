// The desktop presenter with the frame's own record of its changes. Until the presenter reads
// the record it finds the changed rows itself, so the record only spares work, never shows less.
#include "platform/common/frame_changes.h"
#include "platform/platform.h"

void platform_present_changes(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3],
                              const FrameChanges* /*changes*/) {
  platform_present(pixels, pitch, palette_rgb);
}
