// The notices the platform draws over the presented picture (volume, mute, full screen...),
// outside the game's 8-bit frame, so the frames the game hands over never hold them.
#pragma once
#include <cstdint>

// The step of every present where they are drawn: after the frame is in the renderer's buffer
// (direct false) or in the window's own image (direct true, the software renderer's path), and
// before it goes to the display. True when something was drawn: the direct path then sends the
// whole window and draws the next frame whole.
bool present_overlay(bool direct, int32_t out_w, int32_t out_h);
// Before a frame is prepared: takes a screenshot asked for, and makes a notice that comes or
// goes redraw the whole picture.
void present_overlay_begin(const uint8_t* pixels, int32_t pitch, const uint8_t palette_rgb[256][3]);
// Frees its texture before the renderer goes.
void present_overlay_release();
