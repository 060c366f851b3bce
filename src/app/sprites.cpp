// Storage of the game's sprites and of the shared picture record.
#include "app/sprites.h"

BitmapFile startup_bitmap;

Bob spare_marker_sprite;
Bob marker_sprite_a;
Bob marker_sprite_b;
Bob playfield_sprite;
Bob title_sprite;
Bob menu_picture_sprite;
Bob menu_button_sprite;
Bob qix_picture_sprite;
Bob icon_frame_sprite;
Bob menu_pointer_sprite;
Bob logo_sprite;
Bob arrows_sprite;
Bob skull_sprite;
