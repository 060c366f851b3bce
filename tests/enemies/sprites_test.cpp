// The enemy sprites: cut from the sprite sheet, drawn where the game logic puts them; and one
// picture of the playfield with every enemy on it (set ENEMIES_PICTURE to a file name to keep
// it as a PPM).
#include <cstdlib>

#include "app/sprites.h"
#include "display/bitmap.h"
#include "display/display.h"
#include "enemies_support.h"

namespace {

constexpr uint8_t SPARX_INK = 100, FUSE_INK = 120, CLAIMED_FILL = 60;

class EnemySpritesTest : public EnemiesTest {
 protected:
  void SetUp() override {
    EnemiesTest::SetUp();
    ASSERT_EQ(display_init(640, 480, 8), 1);
  }
  void TearDown() override {
    sparx_destroy();
    fuse_destroy();
    display_shutdown();
    EnemiesTest::TearDown();
  }
  // A sheet with a diamond in the Sparx's frame at (36, 1) and a block in the Fuse's at (72, 1),
  // both round pixel (7, 7) of their frames.
  static void write_sheet() {
    std::vector<uint8_t> pixels(96 * 18, 0);
    for (int32_t y = 0; y < 15; ++y)
      for (int32_t x = 0; x < 15; ++x) {
        if (std::abs(x - 7) + std::abs(y - 7) <= 6) pixels[(1 + y) * 96 + 36 + x] = SPARX_INK;
        if (std::abs(x - 7) <= 3 && y >= 4) pixels[(1 + y) * 96 + 72 + x] = FUSE_INK;
      }
    PALETTEENTRY palette[256] = {};
    ASSERT_EQ(bitmap_save("OBJECTS2.BMP", pixels.data(), 96, 18, palette), 1);
  }
  static uint8_t frame_pixel(const Bob& bob, int32_t x, int32_t y) {
    return bob.frames[0]->pixels[y * bob.frames[0]->pitch + x];
  }
};

TEST_F(EnemySpritesTest, FramesAreCutFromTheSheetOrLeftEmptyWithoutIt) {
  sparx_create();
  fuse_create();
  for (const Bob* bob : {&sparx[0].sprite, &sparx[3].sprite, &fuse.sprite}) {
    ASSERT_NE(bob->frames[0], nullptr);
    EXPECT_EQ(bob->flags & 0x11, 0x11);
    EXPECT_EQ(frame_pixel(*bob, 7, 7), 0);
  }
  write_sheet();
  sparx_destroy();
  fuse_destroy();
  sparx_create();
  fuse_create();
  for (const Sparx& s : sparx) EXPECT_EQ(frame_pixel(s.sprite, 7, 7), SPARX_INK);
  EXPECT_EQ(frame_pixel(sparx[0].sprite, 0, 0), 0);
  EXPECT_EQ(frame_pixel(fuse.sprite, 7, 7), FUSE_INK);
  EXPECT_EQ(fuse.sprite.state, 0);
  EXPECT_EQ(fuse.sprite.counter_a, FUSE_IGNITE_DELAY);
  EXPECT_EQ(startup_bitmap.pixels, nullptr);
}

TEST_F(EnemySpritesTest, PictureOfTheEnemiesOnThePlayfield) {
  write_sheet();
  sparx_create();
  fuse_create();
  PALETTEENTRY palette[256] = {};
  for (int32_t k = 13; k <= 31; ++k) {  // the QIX ramp, newest brightest
    const int32_t t = (k - 13) * 255 / 18;
    palette[k] = {static_cast<uint8_t>(t), static_cast<uint8_t>(60 + t * 3 / 4), 255, 0};
  }
  palette[CLAIMED_FILL] = {20, 30, 90, 0};
  palette[SPARX_INK] = {255, 60, 40, 0};
  palette[FUSE_INK] = {255, 170, 0, 0};
  palette[COLOUR_INNER_BORDER] = {110, 110, 110, 0};
  palette[COLOUR_BORDER] = {240, 240, 240, 0};
  palette[COLOUR_STIX] = {250, 250, 60, 0};
  palette_set_all(palette);

  // The right part claimed, a stix with a bend up from the bottom border, the marker at its end.
  paint(300, 1, 467, 467, CELL_CLAIMED);
  paint(300, 0, 300, 468, CELL_BORDER);
  paint(301, 0, 468, 0, CELL_INNER_BORDER);
  paint(301, 468, 468, 468, CELL_INNER_BORDER);
  paint(468, 1, 468, 467, CELL_INNER_BORDER);
  paint(200, 300, 200, 467, CELL_STIX);
  paint(200, 300, 240, 300, CELL_STIX);
  player_x = 240, player_y = 300;
  // Two QIXes with their trails, moved while paused so the stix is safe.
  game_phase = PHASE_PAUSED;
  random_seed(4242);
  qix_reset();
  for (int32_t i = 0; i < 40; ++i) qix_move(3);
  sparx_reset();
  sparx_count = 4;
  const int32_t places[4][2] = {{100, 0}, {300, 200}, {0, 300}, {160, 468}};
  for (int32_t i = 0; i < 4; ++i) sparx[i].x = places[i][0], sparx[i].y = places[i][1];
  fuse.x = 200, fuse.y = 400;
  fuse.sprite.state = 1;

  display_fill(display_back, CLAIMED_FILL);
  int32_t pitch = 0;
  uint8_t* pixels = display_lock(display_back, &pitch);
  ASSERT_NE(pixels, nullptr);
  playfield_draw(pixels);
  qix_draw(3, pixels);
  display_unlock(display_back, pixels);
  sparx_draw();
  fuse_draw();
  ASSERT_EQ(display_flip(), 1);
  const FakeFrame& frame = fake_last_frame();

  // Each Sparx centred on its cell; the Fuse's frame corner at (x + 1, y) on the screen.
  for (const Sparx& s : sparx) EXPECT_EQ(frame.at(s.x + 5, s.y + 5), SPARX_INK) << s.x << "," << s.y;
  EXPECT_EQ(frame.at(fuse.x + 1 + 7, fuse.y + 7), FUSE_INK);
  EXPECT_EQ(frame.at(fuse.x + 5, fuse.y + 1), COLOUR_STIX);  // the stix through the clear part
  EXPECT_EQ(frame.at(qix_slots[0].x1[0] + 5, qix_slots[0].y1[0] + 5), 31);
  if (const char* path = std::getenv("ENEMIES_PICTURE")) {
    EXPECT_TRUE(fake_save_frame(frame, path));
  }
}

}  // namespace
