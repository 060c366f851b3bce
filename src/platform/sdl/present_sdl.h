// Inside the SDL presentation: what tests and benchmarks reach beyond the platform interface.
#pragma once
#include <cstdint>

#include "platform/common/scale.h"

// How frames are filtered. AUTO: two passes (nearest to a whole multiple, then smooth) on an
// accelerated renderer, one nearest pass on the software renderer, where the smooth pass costs
// too much at full-HD sizes (docs/performance.md). The others force one way, for measurements.
enum : int32_t { PRESENT_FILTER_AUTO = 0, PRESENT_FILTER_NEAREST = 1, PRESENT_FILTER_SHARP = 2 };
void present_set_filter(int32_t filter);

// The plan the next frame is drawn with, for the window's current size; false without a window
// or picture.
bool present_current_plan(ScalePlan* plan);

// Converts and shows one frame at once, without waiting for the 60 Hz clock, even when it is
// unchanged. 1 on success.
int32_t present_frame_now(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3]);

// 1 when platform_present would draw this frame: it differs from the one on screen, or the
// window changed since.
int32_t present_would_draw(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3]);

struct PresentCounts {
  uint64_t shown;      // frames drawn and presented
  uint64_t unchanged;  // frames not drawn again because the screen already showed them
};
PresentCounts present_counts();
// 1 when presents are paced by the display's vertical blank (measured, see pace_vsync_trusted).
int32_t present_vsync_trusted();

// The size of the window's drawable area in pixels; 0 without a window.
int32_t present_output_size(int32_t* width, int32_t* height);
// Resizes the (non-full-screen) window; for tests and benchmarks under the dummy driver.
int32_t present_set_window_size(int32_t width, int32_t height);
// Reads one pixel of what was shown last (r, g, b); 0 when it cannot be read.
int32_t present_read_pixel(int32_t x, int32_t y, uint8_t rgb[3]);
