// Looking at the artwork: pictures rendered through the palette into PPM files, a contact
// sheet of all of them. (The screens themselves are real frames: scripts/docs-screenshots.sh.)
#pragma once
#include <cstdint>
#include <vector>

#include "canvas.h"

// A true-colour image, 3 bytes a pixel, rows top first.
struct RgbImage {
  int32_t width, height;
  std::vector<uint8_t> bytes;
};

RgbImage rgbimage_make(int32_t width, int32_t height, uint8_t r, uint8_t g, uint8_t b);
// Draws the picture's pixels through the palette, scaled up by a whole factor; with
// transparent set, index 0 is skipped. Only width x height of the source is drawn.
void rgbimage_draw(RgbImage* image, const Picture& picture, int32_t src_x, int32_t src_y, int32_t width,
                   int32_t height, int32_t dest_x, int32_t dest_y, int32_t scale, bool transparent);
int32_t rgbimage_save_ppm(const char* path, const RgbImage& image);

// All ten pictures at twice their size, each labelled by its pixel box; 1 or 0.
int32_t preview_contact_sheet(const char* path);
