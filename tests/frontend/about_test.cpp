// The about screen: its page with the enemies' own sprites, and the ways it hands back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/sprites.h"
#include "enemies/fuse.h"
#include "enemies/sparx.h"
#include "frontend/about.h"
#include "frontend/frontend_fixture.h"
#include "frontend/menu.h"
#include "game/hud.h"
#include "platform/fake/fake_platform.h"

namespace {

using Labels = std::vector<std::string>;

// Whether every opaque pixel of the sprite's frame (one column and row short) shows at x, y.
bool sprite_shown_at(const FakeFrame& f, const Bob& bob, int32_t x, int32_t y) {
  const Surface* s = bob.frames[0];
  int32_t opaque = 0, matches = 0;
  for (int32_t j = 0; s && j < bob.height - 1; ++j)
    for (int32_t i = 0; i < bob.width - 1; ++i) {
      uint8_t p = s->pixels[j * s->pitch + i];
      opaque += p != 0;
      matches += p != 0 && f.at(x + i, y + j) == p;
    }
  return opaque > 0 && matches == opaque;
}

class About : public StartedProgram {
 protected:
  void SetUp() override {
    StartedProgram::SetUp();
    screen_state = SCREEN_ABOUT;
    menu_frames = 37;
  }
};

TEST_F(About, EscHeldOnEntryHandsBackAtOnce) {
  fake_set_key(VK_ESCAPE, true);
  about_screen_run();
  EXPECT_EQ(fake_frame_count(), 0u);
  EXPECT_EQ(fake_sound_labels(), (Labels{"menuselect.wav"}));
  EXPECT_EQ(screen_state, SCREEN_MENU);
  EXPECT_EQ(menu_frames, 0);
}

TEST_F(About, ShowsItsPageWithTheEnemiesUntilEsc) {
  fake_on_present([](uint64_t frame) {
    if (frame == 4) fake_set_key(VK_ESCAPE, true);
  });
  about_screen_run();
  EXPECT_EQ(fake_frame_count(), 4u);
  EXPECT_EQ(fake_sound_labels(), (Labels{"menuselect.wav"}));
  EXPECT_EQ(screen_state, SCREEN_MENU);
  EXPECT_EQ(menu_frames, 0);

  const FakeFrame& page = fake_last_frame();
  EXPECT_GT(count_colour(page, 290, 70, 400, 86, COLOUR_ORANGE), 100);          // "About Zorvane"
  EXPECT_GT(count_colour(page, 100, 100, 600, 160, COLOUR_PALE_YELLOW), 2000);  // the goal
  EXPECT_GT(count_colour(page, 100, 360, 400, 450, COLOUR_PALE_YELLOW), 800);   // the controls
  EXPECT_GT(count_colour(page, 180, 460, 560, 476, COLOUR_WHITE), 300);         // "Press Esc ..."
  EXPECT_TRUE(sprite_shown_at(page, qix_picture_sprite, 100, 220));
  EXPECT_TRUE(sprite_shown_at(page, sparx[0].sprite, 109, 269));
  EXPECT_TRUE(sprite_shown_at(page, fuse.sprite, 110, 310));
  EXPECT_EQ(sparx[0].sprite.x, 109);
  EXPECT_EQ(fuse.sprite.y, 310);
}

TEST_F(About, ClosingTheWindowEndsItsLoop) {
  fake_on_present([](uint64_t frame) {
    if (frame == 3) fake_close_window();
  });
  about_screen_run();
  EXPECT_EQ(fake_frame_count(), 3u);
  about_screen_run();   // called again before the program ends, it returns at once
  EXPECT_EQ(fake_frame_count(), 3u);
}

}  // namespace
