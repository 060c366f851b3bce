// The pictures the screens draw, loaded once at start-up and only read after that.
#pragma once
#include "display/bob_at.h"

struct Assets {
  Bob marker_sprite_a;   // the marker's bright picture (and the life in play)
  Bob marker_sprite_b;   // the dim picture (and the lives to come)
  Bob spare_marker_sprite;
  Bob sparx_sprite;
  Bob fuse_sprite;
  Bob playfield_sprite;  // the picture every claim uncovers
  Bob title_sprite;
  Bob menu_picture_sprite;
  Bob menu_button_sprite;
  Bob qix_picture_sprite;
  Bob icon_frame_sprite;
  Bob menu_pointer_sprite;
  Bob logo_sprite;
  Bob arrows_sprite;
  Bob skull_sprite;
};
