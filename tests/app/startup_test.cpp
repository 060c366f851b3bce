// Start-up: what stands ready after it, and how missing pictures or sound are borne.
#include <gtest/gtest.h>

#include "live_input.h"
#include "app/game_data_dir.h"
#include "display/display.h"
#include "game/game.h"
#include "sound/sound.h"

namespace {

Bob* const ALL_SPRITES[] = {&assets.spare_marker_sprite, &assets.marker_sprite_a,    &assets.marker_sprite_b,
                            &assets.sparx_sprite,        &assets.fuse_sprite,        &assets.playfield_sprite,
                            &assets.title_sprite,        &assets.menu_picture_sprite, &assets.menu_button_sprite,
                            &assets.qix_picture_sprite,  &assets.icon_frame_sprite,  &assets.menu_pointer_sprite,
                            &assets.logo_sprite,         &assets.arrows_sprite,      &assets.skull_sprite};

bool frames_loaded(const Bob* bob) { return (bob->flags & BOB_FLAG_FRAMES_LOADED) != 0; }

using Startup = GameDataDir;

TEST_F(Startup, LeavesABlackScreenTheSheetsPaletteAndEverySprite) {
  BitmapFile sheet{};
  ASSERT_EQ(bitmap_load(&sheet, "OBJECTS2.BMP"), 1);
  start();
  for (int32_t y = 0; y < 480; ++y)
    for (int32_t x = 0; x < 640; ++x) ASSERT_EQ(display.display_primary->pixels[y * display.display_primary->pitch + x], 0);
  for (int i = 0; i < 256; ++i) {
    const PALETTEENTRY &got = current_palette[i], &want = sheet.palette[i];
    EXPECT_TRUE(got.peRed == want.peRed && got.peGreen == want.peGreen && got.peBlue == want.peBlue) << i;
  }
  bitmap_unload(&sheet);
  EXPECT_FALSE(fake_cursor_shown());
  for (Bob* bob : ALL_SPRITES) EXPECT_TRUE(frames_loaded(bob)) << bob - ALL_SPRITES[0];
}

TEST_F(Startup, MissingPicturesAndNoSoundDeviceAreBorne) {
  std::filesystem::remove(dir_ / "LOGO.BMP");
  std::filesystem::remove(dir_ / "OBJECTS2.BMP");
  fake_fail_audio(true);
  start();
  // Only the sprites cut from the missing pictures stay without a frame.
  for (Bob* bob : ALL_SPRITES) {
    bool from_missing = bob == &assets.logo_sprite || bob == &assets.menu_pointer_sprite ||
                        bob == &assets.spare_marker_sprite || bob == &assets.marker_sprite_a ||
                        bob == &assets.marker_sprite_b || bob == &assets.sparx_sprite || bob == &assets.fuse_sprite;
    EXPECT_EQ(frames_loaded(bob), !from_missing) << bob - ALL_SPRITES[0];
  }
  EXPECT_EQ(sound_engine.sound_device, 0);
  // "New Game" from the menu, then game frames: the program runs on, silent.
  fake_set_key(VK_RETURN, true);
  menu_run_frame(live_input());
  fake_set_key(VK_RETURN, false);
  EXPECT_EQ(screen_state, SCREEN_GAME);
  for (int i = 0; i < 5; ++i) game_run_frame(live_input());
  EXPECT_GE(fake_frame_count(), 6u);
  EXPECT_TRUE(fake_sound_plays().empty());
}

}  // namespace
