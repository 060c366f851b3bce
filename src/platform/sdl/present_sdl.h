// Inside the SDL presentation: what tests and benchmarks reach beyond the platform interface.
#pragma once
#include <cstdint>

struct PresentRect {
  int32_t x, y, w, h;
};

// Where a width x height picture goes in an output of out_w x out_h pixels: scaled by the
// largest whole factor that fits and centred; an output smaller than the picture gets it
// shrunk to fit with its shape kept.
PresentRect present_fit_rect(int32_t out_w, int32_t out_h, int32_t width, int32_t height);

// Converts and shows one frame at once, without waiting for the 60 Hz clock. 1 on success.
int32_t present_frame_now(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3]);

// The size of the window's drawable area in pixels; 0 without a window.
int32_t present_output_size(int32_t* width, int32_t* height);
// Reads one pixel of what was shown last (r, g, b); 0 when it cannot be read.
int32_t present_read_pixel(int32_t x, int32_t y, uint8_t rgb[3]);
