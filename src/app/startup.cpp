// Start-up and shut-down: the fixed sequences that bring the program up and take it down.
#include "app/app.h"
#include "common/art.h"
#include "common/random.h"
#include "display/display.h"
#include "sound/sound.h"

namespace {

constexpr int32_t SPRITE_FLAGS = BOB_FLAG_ONE_FRAME | BOB_FLAG_SHOWN;

struct SpriteSource {
  Bob Assets::*bob;
  const char* file;
  int32_t create_x, create_y;
  int32_t width, height;
  int32_t frame_x, frame_y;
  int32_t placed;  // whether it is moved to place_x, place_y after loading
  int32_t place_x, place_y;
};

// The sprites cut from the sprite sheet, which also gives the palette.
const SpriteSource SHEET_SPRITES[] = {
    {&Assets::spare_marker_sprite, SPRITE_SHEET_FILE, 320, 240, 16, 16, FRAME_MARKER_B_X, FRAME_Y, 0, 0, 0},
    {&Assets::marker_sprite_b, SPRITE_SHEET_FILE, 320, 240, 16, 16, FRAME_MARKER_B_X, FRAME_Y, 0, 0, 0},
    {&Assets::marker_sprite_a, SPRITE_SHEET_FILE, 320, 240, 16, 16, FRAME_MARKER_A_X, FRAME_Y, 0, 0, 0},
    {&Assets::sparx_sprite, SPRITE_SHEET_FILE, 320, 0, FRAME_SIZE, FRAME_SIZE, FRAME_SPARX_X, FRAME_Y, 0, 0, 0},
    {&Assets::fuse_sprite, SPRITE_SHEET_FILE, 320, 0, FRAME_SIZE, FRAME_SIZE, FRAME_FUSE_X, FRAME_Y, 0, 0, 0},
};

// The remaining pictures, one sprite each, in the order they are read.
const SpriteSource PICTURE_SPRITES[] = {
    {&Assets::playfield_sprite, "STAR.BMP", 0, 0, 469, 469, 0, 0, 1, 5, 5},
    {&Assets::title_sprite, "TITLE.BMP", 520, 0, 120, 13, 0, 0, 1, 515, 0},
    {&Assets::menu_picture_sprite, "MENUPIC.BMP", 0, 0, 640, 480, 0, 0, 0, 0, 0},
    {&Assets::menu_button_sprite, "MENURECT.BMP", 0, 0, 100, 24, 0, 0, 0, 0, 0},
    {&Assets::qix_picture_sprite, "QIX.BMP", 0, 0, 32, 32, 0, 0, 0, 0, 0},
    {&Assets::icon_frame_sprite, "SQUARE.BMP", 0, 0, 32, 32, 0, 0, 0, 0, 0},
    {&Assets::menu_pointer_sprite, SPRITE_SHEET_FILE, 320, 0, FRAME_SIZE, FRAME_SIZE, FRAME_POINTER_X, FRAME_Y, 0, 0, 0},
    {&Assets::logo_sprite, "LOGO.BMP", 0, 0, 150, 72, 0, 0, 1, 489, 406},
    {&Assets::arrows_sprite, "ARROWS.BMP", 526, 300, 76, 76, 0, 0, 1, 526, 230},
    {&Assets::skull_sprite, "SKULL.BMP", 0, 0, 14, 16, 0, 0, 1, 568, 157},
};

// Creates the sprite; its frame is copied only from a picture that really loaded, so a
// missing picture leaves the sprite empty rather than copying a stale or freed buffer.
void sprite_make(Assets& assets, const SpriteSource& s, const BitmapFile* picture) {
  Bob* bob = &(assets.*s.bob);
  bob_create(bob, s.create_x, s.create_y, s.width, s.height, 1, SPRITE_FLAGS);
  if (picture) bob_load_frame(bob, picture, 0, s.frame_x, s.frame_y, FRAME_AT_PIXEL);
  if (s.placed) bob_set_position(bob, s.place_x, s.place_y);
}

}  // namespace

bool app_startup(Program& program, uint32_t seed, bool with_sound) {
  if (!display_init(640, 480, 8)) return false;
  Assets& assets = program.assets;

  BitmapFile picture{};
  PALETTEENTRY saved_palette[256];
  bool loaded = bitmap_load(&picture, SPRITE_SHEET_FILE) != 0;
  // Without the sprite sheet the display keeps the palette it opened with.
  if (loaded) palette_set_all(picture.palette);
  palette_save(saved_palette);
  for (const SpriteSource& s : SHEET_SPRITES) sprite_make(assets, s, loaded ? &picture : nullptr);
  if (loaded) bitmap_unload(&picture);

  hiscore_init(program.hiscores);
  const Rect whole_screen = {0, 0, 640, 480};
  display.display_clipper = display_attach_clipper(display.display_back, 1, &whole_screen);

  clock_start();
  random_seed(seed);
  platform_show_cursor(0);
  display_fill(display.display_primary, 0);

  game_new_level(program.game, program.round);
  game_new(program.game, program.hiscores);
  menu_on_new_game(program.frontend.menu);

  // No sound device means a silent game, nothing worse.
  if (with_sound) sound_init();

  for (const SpriteSource& s : PICTURE_SPRITES) {
    loaded = bitmap_load(&picture, s.file) != 0;
    sprite_make(assets, s, loaded ? &picture : nullptr);
    if (loaded) bitmap_unload(&picture);
  }

  palette_set_all(saved_palette);
  return true;
}

void app_shutdown(Program& program) {
  sound_shutdown();
  for (const SpriteSource& s : SHEET_SPRITES) bob_destroy(&(program.assets.*s.bob));
  for (const SpriteSource& s : PICTURE_SPRITES) bob_destroy(&(program.assets.*s.bob));
  display_shutdown();
}
