// Start-up and shut-down: the fixed sequences that bring the program up and take it down.
#include "app/app.h"
#include "app/sprites.h"
#include "display/display.h"
#include "enemies/fuse.h"
#include "enemies/qix.h"
#include "enemies/sparx.h"
#include "enemies/random.h"
#include "game/game.h"
#include "game/hiscore.h"
#include "sound/sound.h"

namespace {

constexpr int32_t SPRITE_FLAGS = BOB_FLAG_ONE_FRAME | BOB_FLAG_SHOWN;

struct SpriteSource {
  Bob* bob;
  const char* file;
  int32_t create_x, create_y;
  int32_t width, height;
  int32_t frame_x, frame_y;
  int32_t placed;  // whether it is moved to place_x, place_y after loading
  int32_t place_x, place_y;
};

// The three marker sprites, cut from the sprite sheet that also gives the palette.
const SpriteSource MARKER_SPRITES[] = {
    {&spare_marker_sprite, "OBJECTS2.BMP", 320, 240, 16, 16, 1, 1, 0, 0, 0},
    {&marker_sprite_b, "OBJECTS2.BMP", 320, 240, 16, 16, 1, 1, 0, 0, 0},
    {&marker_sprite_a, "OBJECTS2.BMP", 320, 240, 16, 16, 18, 1, 0, 0, 0},
};

// The remaining pictures, one sprite each, in the order they are read.
const SpriteSource PICTURE_SPRITES[] = {
    {&playfield_sprite, "STAR.BMP", 0, 0, 469, 469, 0, 0, 1, 5, 5},
    {&title_sprite, "TITLE.BMP", 520, 0, 120, 13, 0, 0, 1, 515, 0},
    {&menu_picture_sprite, "MENUPIC.BMP", 0, 0, 640, 480, 0, 0, 0, 0, 0},
    {&menu_button_sprite, "MENURECT.BMP", 0, 0, 100, 24, 0, 0, 0, 0, 0},
    {&qix_picture_sprite, "QIX.BMP", 0, 0, 32, 32, 0, 0, 0, 0, 0},
    {&icon_frame_sprite, "SQUARE.BMP", 0, 0, 32, 32, 0, 0, 0, 0, 0},
    {&menu_pointer_sprite, "OBJECTS2.BMP", 320, 0, 16, 16, 54, 1, 0, 0, 0},
    {&logo_sprite, "LOGO.BMP", 0, 0, 150, 72, 0, 0, 1, 489, 406},
    {&arrows_sprite, "ARROWS.BMP", 526, 300, 76, 76, 0, 0, 1, 526, 230},
    {&skull_sprite, "SKULL.BMP", 0, 0, 14, 16, 0, 0, 1, 568, 157},
};

// Creates the sprite; its frame is copied only from a picture that really loaded, so a
// missing picture leaves the sprite empty rather than copying a stale or freed buffer.
void sprite_make(const SpriteSource& s, int32_t picture_loaded) {
  bob_create(s.bob, s.create_x, s.create_y, s.width, s.height, 1, SPRITE_FLAGS, DDSCAPS_SYSTEMMEMORY);
  if (picture_loaded) bob_load_frame(s.bob, &startup_bitmap, 0, s.frame_x, s.frame_y, FRAME_AT_PIXEL);
  if (s.placed) bob_set_position(s.bob, s.place_x, s.place_y);
}

}  // namespace

int32_t app_startup(uint32_t seed, bool with_sound) {
  if (!display_init(640, 480, 8)) return 0;

  PALETTEENTRY saved_palette[256];
  int32_t loaded = bitmap_load(&startup_bitmap, "OBJECTS2.BMP");
  // Without the sprite sheet the display keeps the palette it opened with.
  if (loaded) palette_set_all(startup_bitmap.palette);
  palette_save(saved_palette);

  sprite_make(MARKER_SPRITES[0], loaded);
  spare_marker_sprite.state = 2;
  sprite_make(MARKER_SPRITES[1], loaded);
  sprite_make(MARKER_SPRITES[2], loaded);
  if (loaded) bitmap_unload(&startup_bitmap);

  sparx_create();
  sparx_reset();
  fuse_create();
  qix_reset();
  hiscore_init();

  const Rect whole_screen = {0, 0, 640, 480};
  display_clipper = display_attach_clipper(display_back, 1, &whole_screen);

  clock_start();
  random_seed(seed);
  platform_show_cursor(0);
  display_fill(display_primary, 0);

  game_new_level();
  game_new();

  // No sound device means a silent game, nothing worse.
  if (with_sound) sound_init(app_window, app_instance, nullptr);

  for (const SpriteSource& s : PICTURE_SPRITES) {
    loaded = bitmap_load(&startup_bitmap, s.file);
    sprite_make(s, loaded);
    if (loaded) bitmap_unload(&startup_bitmap);
  }

  palette_set_all(saved_palette);
  return 1;
}

int32_t app_shutdown() {
  sound_shutdown();
  hiscore_free();
  sparx_destroy();
  fuse_destroy();
  bob_destroy(&spare_marker_sprite);
  bob_destroy(&marker_sprite_a);
  bob_destroy(&marker_sprite_b);
  bob_destroy(&playfield_sprite);
  // The other sprites go too, so that nothing made at start-up outlives the display.
  for (const SpriteSource& s : PICTURE_SPRITES)
    if (s.bob != &playfield_sprite) bob_destroy(s.bob);
  display_shutdown();
  return 1;
}
