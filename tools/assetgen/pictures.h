// The game's ten pictures, each painted by code and stored as an 8-bit BMP in the game palette.
#pragma once
#include "common/art.h"
#include <cstdint>

#include "canvas.h"

Picture picture_star();      // STAR.BMP, the deep-space scene under the playfield
Picture picture_title();     // TITLE.BMP, ZORVANE in bevelled metal
Picture picture_menupic();   // MENUPIC.BMP, the backdrop of the menu screens
Picture picture_menurect();  // MENURECT.BMP, a menu button
Picture picture_qix();       // QIX.BMP, a small QIX
Picture picture_square();    // SQUARE.BMP, the icon tile of the about screen
Picture picture_objects();   // OBJECTS2.BMP, the sprite sheet (and the palette's home)
Picture picture_logo();      // LOGO.BMP, the Quarrel Forge badge
Picture picture_arrows();    // ARROWS.BMP, four arrow keycaps
Picture picture_skull();     // SKULL.BMP, a lost life

struct PictureSpec {
  const char* file_name;
  Picture (*make)();
  int32_t used_width, used_height;  // the largest rectangle the game copies out of it
};
constexpr int32_t PICTURE_COUNT = 10;
extern const PictureSpec PICTURES[PICTURE_COUNT];

// Sprite sheet frames of OBJECTS2.BMP: 16 x 16 at these top-left pixels.

// Every BMP row is read as width bytes with no padding, so each picture is stored at least as
// wide as the game needs and a multiple of 4 wide.
int32_t picture_save(const char* path, const Picture& picture);
// Writes the ten pictures into the directory; 1, or 0 when a file could not be written.
int32_t assetgen_write_pictures(const char* directory);
