// Start-up: what stands ready after it, and how missing pictures or sound are borne.
#include <gtest/gtest.h>

#include "app/app.h"
#include "app/game_data_dir.h"
#include "app/sprites.h"
#include "display/bitmap.h"
#include "display/display.h"
#include "frontend/menu.h"
#include "game/game.h"
#include "game/hiscore.h"
#include "platform/fake/fake_platform.h"
#include "sound/sound.h"

namespace {

Bob* const ALL_SPRITES[] = {
    &spare_marker_sprite, &marker_sprite_a,     &marker_sprite_b,    &playfield_sprite, &title_sprite,
    &menu_picture_sprite, &menu_button_sprite,  &qix_picture_sprite, &icon_frame_sprite,
    &menu_pointer_sprite, &logo_sprite,         &arrows_sprite,      &skull_sprite,
};

bool frames_loaded(const Bob* bob) { return (bob->flags & BOB_FLAG_FRAMES_LOADED) != 0; }

class Startup : public GameDataDir {
 protected:
  void TearDown() override {
    if (started_) app_shutdown();
    GameDataDir::TearDown();
  }
  void start() {
    ASSERT_EQ(app_startup(), 1);
    started_ = true;
  }
  // A few menu frames with "New Game" chosen, then game frames: the program runs on.
  void play_a_little() {
    fake_set_key(VK_RETURN, true);
    menu_run_frame();
    fake_set_key(VK_RETURN, false);
    EXPECT_EQ(screen_state, SCREEN_GAME);
    for (int i = 0; i < 5; ++i) game_run_frame();
    EXPECT_GE(fake_frame_count(), 6u);
  }
  bool started_ = false;
};

TEST_F(Startup, LeavesABlackScreenTheSheetsPaletteEverySpriteAndAFreshGame) {
  BitmapFile sheet{};
  ASSERT_EQ(bitmap_load(&sheet, "OBJECTS2.BMP"), 1);
  start();
  for (int32_t y = 0; y < 480; ++y)
    for (int32_t x = 0; x < 640; ++x) ASSERT_EQ(display_primary->pixels[y * display_primary->pitch + x], 0);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(current_palette[i].peRed, sheet.palette[i].peRed) << i;
    EXPECT_EQ(current_palette[i].peGreen, sheet.palette[i].peGreen) << i;
    EXPECT_EQ(current_palette[i].peBlue, sheet.palette[i].peBlue) << i;
  }
  bitmap_unload(&sheet);
  EXPECT_FALSE(fake_cursor_shown());
  for (Bob* bob : ALL_SPRITES) EXPECT_TRUE(frames_loaded(bob)) << bob - ALL_SPRITES[0];
  EXPECT_EQ(spare_marker_sprite.state, 2);
  EXPECT_EQ(title_sprite.x, 515);
  EXPECT_EQ(logo_sprite.y, 406);
  EXPECT_EQ(arrows_sprite.y, 230);
  EXPECT_EQ(screen_state, SCREEN_MENU);
  EXPECT_EQ(menu_selection, 1);
  EXPECT_EQ(game_phase, PHASE_PLAYING);
  EXPECT_EQ(game_level, 1);
  EXPECT_EQ(game_lives, LIVES_AT_START);
  for (const HiscoreRow& row : hiscore_table.rows) EXPECT_LE(row.score, 0) << "no scores.dat: empty rows";
}

TEST_F(Startup, AMissingPictureLeavesOnlyItsSpritesEmpty) {
  remove_file("LOGO.BMP");
  remove_file("OBJECTS2.BMP");
  start();
  for (Bob* bob : ALL_SPRITES) {
    bool from_missing = bob == &logo_sprite || bob == &menu_pointer_sprite || bob == &spare_marker_sprite ||
                        bob == &marker_sprite_a || bob == &marker_sprite_b;
    EXPECT_EQ(frames_loaded(bob), !from_missing) << bob - ALL_SPRITES[0];
  }
  play_a_little();
}

TEST_F(Startup, NoSoundDeviceMeansASilentGame) {
  fake_fail_audio(true);
  start();
  EXPECT_EQ(sound_device, 0);
  play_a_little();
  EXPECT_TRUE(fake_sound_plays().empty());
}

}  // namespace
