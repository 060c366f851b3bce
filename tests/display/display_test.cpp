// The screen: set-up, palette ramps, clipper, locks and device contexts, flips and the clock.
#include "display_fixture.h"

#include "display/draw.h"
#include "display/gdi.h"

TEST_F(DisplayTest, InitGivesStartRampsAndClearedSurfaces) {
  PALETTEENTRY saved[256];
  ASSERT_TRUE(palette_save(saved));
  const int spots[][4] = {{63, 252, 0, 0}, {64, 0, 0, 0},   {127, 0, 252, 0},
                          {130, 0, 0, 8},  {191, 0, 0, 252}, {192, 0, 0, 0}, {255, 252, 252, 252}};
  for (const auto& e : spots) EXPECT_EQ(entry(saved[e[0]]), (std::vector<int>{e[1], e[2], e[3], 4})) << e[0];
  for (int i = 0; i < 256; ++i) EXPECT_EQ(saved[i].peFlags, PC_NOCOLLAPSE) << i;
  EXPECT_EQ(std::memcmp(display.display_palette->entries, saved, sizeof(saved)), 0);
  EXPECT_EQ(display.display_back->pitch, 640);
  EXPECT_EQ(count_back_not(0), 0);
  for (int32_t i = 0; i < 640 * 480; ++i) ASSERT_EQ(display.display_primary->pixels[i], 0);
}

TEST(DisplayInit, RefusedModeKeepsScreenGlobals) {
  fake_reset();
  fake_fail_display(true);
  EXPECT_FALSE(display_init(800, 600, 8));
  EXPECT_EQ((std::vector<int32_t>{display.screen_width, display.screen_height, display.screen_bpp}), (std::vector<int32_t>{640, 480, 8}));
  fake_fail_display(false);
  EXPECT_FALSE(display_init(640, 480, 16));  // only 8 bits per pixel are offered
  EXPECT_EQ(display.screen_bpp, 8);
  display_shutdown();
}

TEST_F(DisplayTest, ClipperBoundCoversItsRectangles) {
  auto bound = [](const Clipper* c) {
    return std::vector<int32_t>{c->bound.left, c->bound.top, c->bound.right, c->bound.bottom};
  };
  const Rect screen{0, 0, 640, 480};
  const Rect several[3] = {{10, 20, 30, 40}, {-5, 100, 8, 120}, {200, 7, 210, 9}};
  Clipper* one = display_attach_clipper(display.display_back, 1, &screen);
  Clipper* none = display_attach_clipper(display.display_back, 0, nullptr);
  Clipper* many = display_attach_clipper(display.display_back, 3, several);
  ASSERT_TRUE(one && none && many);
  EXPECT_EQ(bound(one), (std::vector<int32_t>{0, 0, 640, 480}));
  EXPECT_EQ(bound(none), (std::vector<int32_t>{64000, 64000, -64000, -64000}));
  EXPECT_EQ(bound(many), (std::vector<int32_t>{-5, 7, 210, 120}));
  EXPECT_EQ(display_attach_clipper(nullptr, 1, &screen), nullptr);
  display.display_back->clipper = nullptr;
  for (Clipper* c : {one, none, many}) clipper_release(c);
}

TEST_F(DisplayTest, LocksAndDeviceContextsExcludeEachOtherAndHoldOffTheFlip) {
  int32_t pitch = -1;
  EXPECT_EQ(display_lock(nullptr, &pitch), nullptr);
  EXPECT_FALSE(display_unlock(nullptr, nullptr));
  uint8_t* memory = display_lock(display.display_back, &pitch);
  ASSERT_EQ(memory, display.display_back->pixels);
  EXPECT_EQ(pitch, 640);
  EXPECT_EQ(display_lock(display.display_back, &pitch), nullptr);  // already locked
  EXPECT_EQ(pitch, 0);
  EXPECT_FALSE(draw_text("A", 10, 10, 0xFFFFFF, display.display_back));  // a locked surface gives no context
  EXPECT_FALSE(display_flip());
  EXPECT_TRUE(display_unlock(display.display_back, memory));

  DeviceContext dc, second;
  ASSERT_TRUE(surface_get_dc(display.display_back, &dc));
  EXPECT_EQ(display_lock(display.display_back, nullptr), nullptr);
  EXPECT_FALSE(surface_get_dc(display.display_back, &second));
  EXPECT_EQ(second.surface, nullptr);
  EXPECT_FALSE(draw_text("A", 10, 10, 0xFFFFFF, display.display_back));
  EXPECT_FALSE(display_flip());
  EXPECT_TRUE(surface_release_dc(display.display_back, &dc));
  EXPECT_FALSE(surface_release_dc(display.display_back, &dc));
}

TEST_F(DisplayTest, FlipPresentsTheBackBufferWithThePaletteAndSwaps) {
  display_fill(display.display_back, 0x1207);  // an 8-bit surface takes the low byte
  uint8_t* former_front = display.display_primary->pixels;
  PALETTEENTRY p[256] = {};
  p[7] = PALETTEENTRY{1, 2, 3, 4};
  palette_set_all(p);
  ASSERT_TRUE(display_flip());
  ASSERT_EQ(fake_frame_count(), 1u);
  EXPECT_EQ(fake_last_frame().at(0, 0), 7);
  EXPECT_EQ(fake_last_frame().at(639, 479), 7);
  EXPECT_EQ(fake_last_frame().palette[7][2], 3);
  EXPECT_EQ(display.display_back->pixels, former_front);
  EXPECT_EQ(count_back_not(0), 0);
}

TEST(Clock, WaitsSleepingForTheBulkAndRightAcrossTheWrap) {
  fake_reset();
  fake_set_ticks(1000);
  EXPECT_EQ(clock_start(), 1000u);
  uint32_t end = clock_wait(30);
  EXPECT_GE(end - 1000u, 30u);
  EXPECT_LE(end - 1000u, 31u);
  EXPECT_GE(fake_slept_ms(), 27u);  // only the last couple of milliseconds spin
  const uint64_t before = fake_elapsed_ms();
  EXPECT_EQ(clock_wait(0), clock_read());
  clock_start();
  fake_advance_ms(45);
  clock_wait(30);  // a frame that already took longer does not wait
  EXPECT_EQ(fake_elapsed_ms(), before + 45);

  fake_reset();
  fake_set_ticks(0xFFFFFFF0u);
  clock_start();
  end = clock_wait(30);
  EXPECT_LT(end, 0x100u);  // wrapped
  EXPECT_GE(static_cast<uint32_t>(end - 0xFFFFFFF0u), 30u);
  EXPECT_LE(fake_elapsed_ms(), 31u);
}
