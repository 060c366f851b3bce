// The game's sprites, named by role, and the one picture record they are loaded through.
#pragma once
#include "display/bitmap.h"
#include "display/bob.h"

extern BitmapFile startup_bitmap;

extern Bob spare_marker_sprite;
extern Bob marker_sprite_a;
extern Bob marker_sprite_b;
extern Bob playfield_sprite;
extern Bob title_sprite;
extern Bob menu_picture_sprite;
extern Bob menu_button_sprite;
extern Bob qix_picture_sprite;
extern Bob icon_frame_sprite;
extern Bob menu_pointer_sprite;
extern Bob logo_sprite;
extern Bob arrows_sprite;
extern Bob skull_sprite;
