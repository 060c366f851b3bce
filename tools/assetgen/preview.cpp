// Contact sheet and composed game screen, for looking at the artwork with one's own eyes.
#include "preview.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "pictures.h"
#include "platform/platform.h"

RgbImage rgbimage_make(int32_t width, int32_t height, uint8_t r, uint8_t g, uint8_t b) {
  RgbImage image{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 3)};
  for (size_t i = 0; i < image.bytes.size(); i += 3) {
    image.bytes[i] = r;
    image.bytes[i + 1] = g;
    image.bytes[i + 2] = b;
  }
  return image;
}

namespace {

void put(RgbImage* image, int32_t x, int32_t y, PALETTEENTRY e) {
  if (x < 0 || y < 0 || x >= image->width || y >= image->height) return;
  uint8_t* p = &image->bytes[(static_cast<size_t>(y) * image->width + x) * 3];
  p[0] = e.peRed;
  p[1] = e.peGreen;
  p[2] = e.peBlue;
}

void put_rgb(RgbImage* image, int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) {
  put(image, x, y, PALETTEENTRY{r, g, b, 0});
}

// Text through the game's own glyphs (the platform's glyph table), in a plain RGB colour.
void text(RgbImage* image, const char* s, int32_t x, int32_t y, PALETTEENTRY colour, int32_t scale) {
  int32_t pen = 0;
  for (const char* c = s; *c; ++c) {
    const PlatformGlyph* g = platform_glyph(static_cast<unsigned char>(*c));
    if (!g) return;
    for (int32_t j = 0; j < g->height; ++j)
      for (int32_t i = 0; i < g->width; ++i)
        if (g->mask && g->mask[j * g->width + i])
          for (int32_t sy = 0; sy < scale; ++sy)
            for (int32_t sx = 0; sx < scale; ++sx)
              put(image, (x + pen + g->bearing_x + i) * scale + sx, (y + g->top + j) * scale + sy, colour);
    pen += g->advance;
  }
}

void checker(RgbImage* image) {
  for (int32_t y = 0; y < image->height; ++y)
    for (int32_t x = 0; x < image->width; ++x) {
      const bool dark = ((x / 8) + (y / 8)) % 2 == 0;
      put_rgb(image, x, y, dark ? 26 : 34, dark ? 26 : 34, dark ? 32 : 42);
    }
}

void label(RgbImage* image, const char* s, int32_t x, int32_t y) {
  // Coordinates in sheet pixels: draw at scale 1 by placing the pen there.
  text(image, s, x, y, PALETTEENTRY{210, 210, 220, 0}, 1);
}

}  // namespace

void rgbimage_draw(RgbImage* image, const Picture& picture, int32_t src_x, int32_t src_y, int32_t width,
                   int32_t height, int32_t dest_x, int32_t dest_y, int32_t scale, bool transparent) {
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const int32_t sx = src_x + x, sy = src_y + y;
      if (sx < 0 || sy < 0 || sx >= picture.width || sy >= picture.height) continue;
      const uint8_t index = picture.pixels[static_cast<size_t>(sy) * picture.width + sx];
      if (transparent && index == 0) continue;
      const PALETTEENTRY e = palette_entry(index);
      for (int32_t j = 0; j < scale; ++j)
        for (int32_t i = 0; i < scale; ++i) put(image, dest_x + x * scale + i, dest_y + y * scale + j, e);
    }
  }
}

int32_t rgbimage_save_ppm(const char* path, const RgbImage& image) {
  FILE* f = std::fopen(path, "wb");
  if (!f) return 0;
  std::fprintf(f, "P6\n%d %d\n255\n", image.width, image.height);
  const size_t written = std::fwrite(image.bytes.data(), 1, image.bytes.size(), f);
  return std::fclose(f) == 0 && written == image.bytes.size() ? 1 : 0;
}

int32_t preview_contact_sheet(const char* path) {
  Picture pictures[PICTURE_COUNT];
  for (int32_t i = 0; i < PICTURE_COUNT; ++i) pictures[i] = PICTURES[i].make();
  const auto find = [&](const char* name) -> const Picture& {
    for (int32_t i = 0; i < PICTURE_COUNT; ++i)
      if (std::string_view(PICTURES[i].file_name) == name) return pictures[i];
    return pictures[0];
  };
  RgbImage sheet = rgbimage_make(2300, 1420, 0, 0, 0);
  checker(&sheet);
  char buffer[96];
  int32_t x = 20;
  // The two big pictures side by side, then the small ones along a row, then close-ups.
  const char* big[] = {"MENUPIC.BMP", "STAR.BMP"};
  for (const char* name : big) {
    const Picture& p = find(name);
    const PictureSpec* spec = nullptr;
    for (const PictureSpec& s : PICTURES)
      if (std::string_view(s.file_name) == name) spec = &s;
    std::snprintf(buffer, sizeof buffer, "%s  %dx%d (stored %dx%d)", name, spec->used_width, spec->used_height, p.width, p.height);
    label(&sheet, buffer, x, 4);
    rgbimage_draw(&sheet, p, 0, 0, spec->used_width, spec->used_height, x, 22, 2, false);
    x += spec->used_width * 2 + 40;
  }
  const char* small[] = {"TITLE.BMP", "MENURECT.BMP", "QIX.BMP", "SQUARE.BMP", "OBJECTS2.BMP", "LOGO.BMP", "ARROWS.BMP", "SKULL.BMP"};
  x = 20;
  for (const char* name : small) {
    const Picture& p = find(name);
    label(&sheet, name, x, 1010);
    rgbimage_draw(&sheet, p, 0, 0, p.width, p.height, x, 1030, 2, true);
    x += p.width * 2 + 36;
  }
  // Close-ups at 6x: the sprite sheet and the skull, and the about screen's icon tiles.
  label(&sheet, "OBJECTS2.BMP x6", 20, 1200);
  rgbimage_draw(&sheet, find("OBJECTS2.BMP"), 0, 0, 96, 18, 20, 1218, 6, true);
  label(&sheet, "SKULL x6", 620, 1200);
  rgbimage_draw(&sheet, find("SKULL.BMP"), 0, 0, 16, 16, 620, 1218, 6, true);
  label(&sheet, "about-screen tiles x4", 740, 1200);
  const Picture& square = find("SQUARE.BMP");
  const Picture& objects = find("OBJECTS2.BMP");
  rgbimage_draw(&sheet, square, 0, 0, 31, 31, 740, 1218, 4, true);
  rgbimage_draw(&sheet, find("QIX.BMP"), 0, 0, 31, 31, 740, 1218, 4, true);
  rgbimage_draw(&sheet, square, 0, 0, 31, 31, 880, 1218, 4, true);
  rgbimage_draw(&sheet, objects, FRAME_SPARX_X, FRAME_Y, 15, 15, 880 + 9 * 4, 1218 + 9 * 4, 4, true);
  rgbimage_draw(&sheet, square, 0, 0, 31, 31, 1020, 1218, 4, true);
  rgbimage_draw(&sheet, objects, FRAME_FUSE_X, FRAME_Y, 15, 15, 1020 + 10 * 4, 1218 + 10 * 4, 4, true);
  label(&sheet, "TITLE x4", 1180, 1200);
  rgbimage_draw(&sheet, find("TITLE.BMP"), 0, 0, 120, 13, 1180, 1218, 4, true);
  label(&sheet, "palette", 1700, 1200);
  for (int32_t i = 0; i < 256; ++i)
    for (int32_t j = 0; j < 10; ++j)
      for (int32_t k = 0; k < 10; ++k) put(&sheet, 1700 + (i % 32) * 11 + k, 1218 + (i / 32) * 11 + j, palette_entry(static_cast<uint8_t>(i)));
  return rgbimage_save_ppm(path, sheet);
}
