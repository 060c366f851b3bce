// Engine operations the game itself never calls: the line clipper, palette entries and
// rotation, the dedicated locks, the scaled draw, BOB moves and overlap, and the software image
// record.
#include <vector>

#include "display/bob_extras.h"
#include "display/display_locks.h"
#include "display/image.h"
#include "display/line_clip.h"
#include "display/palette_entries.h"
#include "display_fixture.h"

TEST(ClipLine, CutsToTheScreenRoundingByAHalf) {
  struct Case {
    std::vector<int32_t> in, out;  // out empty: nothing visible
  };
  const Case cases[] = {
      {{-10, 240, 700, 240}, {0, 240, 639, 240}},
      {{100, -100, 300, 100}, {200, 0, 300, 100}},  // 45 degrees through the top edge
      {{-20, -20, 10, 10}, {0, 0, 10, 10}},         // through the corner from its region
      {{0, 1, 3, -1}, {0, 1, 2, 0}},                // intersection 1.5 rounds up
      {{-5, -5, -1, 600}, {}},                      // wholly left
      {{-50, 40, 40, -50}, {}},                     // passes the corner outside
  };
  for (const Case& c : cases) {
    int32_t x0 = c.in[0], y0 = c.in[1], x1 = c.in[2], y1 = c.in[3];
    const bool visible = clip_line(&x0, &y0, &x1, &y1);
    EXPECT_EQ(visible, !c.out.empty());
    if (visible) {
      EXPECT_EQ((std::vector<int32_t>{x0, y0, x1, y1}), c.out);
    }
  }
  std::vector<uint8_t> screen(640 * 480, 0);
  EXPECT_TRUE(draw_clip_line(-100, 479, 1000, 479, 3, screen.data(), 640));
  EXPECT_EQ(screen[479 * 640] + screen[479 * 640 + 639], 6);
  EXPECT_FALSE(draw_clip_line(-100, 500, 1000, 500, 3, screen.data(), 640));
}

TEST_F(DisplayTest, RotationAndDedicatedLocks) {
  PALETTEENTRY in[256];
  for (int i = 0; i < 256; ++i) in[i] = PALETTEENTRY{static_cast<uint8_t>(i), 0, 0, PC_NOCOLLAPSE};
  palette_set_all(in);
  ASSERT_TRUE(palette_rotate(10, 4));  // each moves up one place, the last to the first
  EXPECT_EQ((std::vector<int>{current_palette[9].peRed, current_palette[10].peRed, current_palette[11].peRed,
                              current_palette[13].peRed, current_palette[14].peRed}),
            (std::vector<int>{9, 13, 10, 12, 14}));
  EXPECT_FALSE(palette_rotate(250, 7));  // would run past entry 255

  uint8_t* back = display_lock_back();
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(display_locks.back_pitch, 640);
  EXPECT_FALSE(display_flip());  // no flip while a dedicated lock is held
  EXPECT_TRUE(display_unlock_back());
  ASSERT_NE(display_lock_primary(), nullptr);
  EXPECT_FALSE(display_flip());
  EXPECT_TRUE(display_unlock_primary());
  EXPECT_TRUE(display_flip());
  EXPECT_EQ(fake_frame_count(), 1u);
}

TEST_F(DisplayTest, DedicatedLocksForgetLocksEndedBehindTheirBack) {
  uint8_t* back = display_lock_back();
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(display_lock_back(), back);  // still held: the same memory again
  display_unlock(display.display_back, back);
  EXPECT_TRUE(display_flip());  // the surface's own flag decides, and it is free
  EXPECT_FALSE(display_unlock_back());
  EXPECT_EQ(display_locks.back_buffer, nullptr);
  ASSERT_NE(display_lock_back(), nullptr);  // a real lock of the new back buffer
  EXPECT_EQ(display.display_back->locked, 1);
  EXPECT_TRUE(display_unlock_back());

  ASSERT_NE(display_lock_primary(), nullptr);
  display_shutdown();
  ASSERT_TRUE(display_init(640, 480, 8));  // fresh surfaces, possibly at the same addresses
  EXPECT_FALSE(display_unlock_primary());
  ASSERT_EQ(display_lock_primary(), display.display_primary->pixels);
  EXPECT_EQ(display.display_primary->locked, 1);
  EXPECT_TRUE(display_unlock_primary());
  EXPECT_EQ(display.display_primary->locked, 0);
}

TEST_F(DisplayTest, SingleEntriesReachBothPalettesAndStayInRange) {
  const PALETTEENTRY e{1, 2, 3, PC_NOCOLLAPSE};
  ASSERT_TRUE(palette_set_entry(255, &e));
  PALETTEENTRY got{};
  ASSERT_TRUE(palette_get_entry(255, &got));
  EXPECT_EQ(entry(got), entry(e));
  EXPECT_EQ(entry(display.display_palette->entries[255]), entry(e));  // what the next flip shows
  for (int32_t index : {-1, 256}) {
    EXPECT_FALSE(palette_set_entry(index, &e)) << index;
    EXPECT_FALSE(palette_get_entry(index, &got)) << index;
  }
}

TEST_F(DisplayTest, ScaledDrawMovesAndOverlap) {
  Bob bob{};
  ASSERT_TRUE(bob_create(&bob, 2, 3, 4, 4, 1, BOB_FLAG_ONE_FRAME | BOB_FLAG_SHOWN));
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 4; ++x) bob.frames[0]->pixels[y * bob.frames[0]->pitch + x] = static_cast<uint8_t>(10 * y + x + 1);
  ASSERT_TRUE(bob_draw_scaled(&bob, 8, 8, display.display_back));
  // The 3 x 3 shown pixels (one short, as every blit) spread over 7 x 7.
  const uint8_t row0[] = {1, 1, 1, 2, 2, 3, 3};
  for (int32_t x = 0; x < 7; ++x) EXPECT_EQ(back_at(2 + x, 3), row0[x]) << x;
  EXPECT_EQ(count_back_not(0), 49);

  bob_destroy(&bob);

  Bob mover{};
  ASSERT_TRUE(bob_create(&mover, 630, 10, 16, 16, 0, BOB_FLAG_BOUNCE));
  bob_set_velocity(&mover, 5, -20);
  bob_move(&mover);  // back on the edge, velocity turned inwards
  EXPECT_EQ((std::vector<int32_t>{mover.x, mover.y, mover.vel_x, mover.vel_y}), (std::vector<int32_t>{624, 0, -5, 20}));
  mover.flags = BOB_FLAG_WRAP;
  bob_set_position(&mover, 636, 100);
  bob_set_velocity(&mover, 5, 0);
  bob_move(&mover);
  EXPECT_EQ(mover.x, -15);  // gone off the right: coming in at the left
  Bob other{};
  ASSERT_TRUE(bob_create(&other, 0, 0, 16, 16, 0, 0));
  Bob near{};
  ASSERT_TRUE(bob_create(&near, 11, 0, 16, 16, 0, 0));
  EXPECT_TRUE(bob_overlap(&other, &near));  // 11 apart, half-extents 6 + 6
  near.x = 12;
  EXPECT_FALSE(bob_overlap(&other, &near));
}

TEST(Image, LoadsTheInsidePartAndDrawsKeyed) {
  BitmapFile pic{};
  pic.info_header.biWidth = 4;
  pic.info_header.biHeight = 3;
  pic.info_header.biBitCount = 8;
  std::vector<uint8_t> pixels(12);
  for (int i = 0; i < 12; ++i) pixels[i] = static_cast<uint8_t>(i + 1);
  pic.pixels = pixels.data();
  Image image{};
  ASSERT_TRUE(image_create(&image, 1, 1, 3, 2));
  // From pixel (2, 2) only one row of two columns lies inside the picture.
  ASSERT_TRUE(image_load(&image, &pic, 2, 2, FRAME_AT_PIXEL));
  EXPECT_EQ(std::vector<uint8_t>(image.pixels, image.pixels + 6), (std::vector<uint8_t>{11, 12, 0, 0, 0, 0}));
  std::vector<uint8_t> memory(8 * 4, 99);
  ASSERT_TRUE(image_draw(&image, memory.data(), 8, 1));
  EXPECT_EQ(memory[8 + 1], 11);
  EXPECT_EQ(memory[8 + 3], 99);  // index 0 skipped
  ASSERT_TRUE(image_draw(&image, memory.data(), 8, 0));
  EXPECT_EQ(memory[8 + 3], 0);
  EXPECT_TRUE(image_destroy(&image));
}
