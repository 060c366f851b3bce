// The list of pictures and their writing into BMP files, all with the one game palette.
#include "pictures.h"

#include <string>

#include "display/bitmap.h"

const PictureSpec PICTURES[PICTURE_COUNT] = {
    {"OBJECTS2.BMP", picture_objects, 88, 17}, {"STAR.BMP", picture_star, 469, 469},
    {"TITLE.BMP", picture_title, 120, 13},     {"MENUPIC.BMP", picture_menupic, 640, 480},
    {"MENURECT.BMP", picture_menurect, 100, 24}, {"QIX.BMP", picture_qix, 32, 32},
    {"SQUARE.BMP", picture_square, 32, 32},    {"LOGO.BMP", picture_logo, 150, 72},
    {"ARROWS.BMP", picture_arrows, 76, 76},    {"SKULL.BMP", picture_skull, 14, 16},
};

int32_t picture_save(const char* path, const Picture& picture) {
  PALETTEENTRY palette[256];
  assetgen_palette(palette);
  return bitmap_save(path, picture.pixels.data(), picture.width, picture.height, palette);
}

int32_t assetgen_write_pictures(const char* directory) {
  for (const PictureSpec& spec : PICTURES) {
    const Picture picture = spec.make();
    const std::string path = std::string(directory) + "/" + spec.file_name;
    if (!picture_save(path.c_str(), picture)) return 0;
  }
  return 1;
}
