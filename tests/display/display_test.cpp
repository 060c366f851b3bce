// The screen: set-up, palette ramps, clipper, locks and device contexts, flips and the clock.
#include "display_fixture.h"

#include "display/draw.h"
#include "display/gdi.h"

#include <vector>

namespace {

void expect_entry(const PALETTEENTRY& e, int r, int g, int b) {
  EXPECT_EQ(e.peRed, r);
  EXPECT_EQ(e.peGreen, g);
  EXPECT_EQ(e.peBlue, b);
  EXPECT_EQ(e.peFlags, PC_NOCOLLAPSE);
}

}  // namespace

TEST_F(DisplayTest, InitGivesStartRampsAndClearedSurfaces) {
  PALETTEENTRY saved[256];
  ASSERT_EQ(palette_save(saved), 1);
  expect_entry(saved[0], 0, 0, 0);
  expect_entry(saved[63], 252, 0, 0);
  expect_entry(saved[64], 0, 0, 0);
  expect_entry(saved[127], 0, 252, 0);
  expect_entry(saved[191], 0, 0, 252);
  expect_entry(saved[192], 0, 0, 0);
  expect_entry(saved[255], 252, 252, 252);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(saved[i].peFlags, PC_NOCOLLAPSE) << i;
  EXPECT_EQ(std::memcmp(display_palette->entries, saved, sizeof(saved)), 0);
  EXPECT_EQ(display_back->pitch, 640);
  EXPECT_EQ(count_back_not(0), 0);
  for (int32_t i = 0; i < 640 * 480; ++i) ASSERT_EQ(display_primary->pixels[i], 0);
}

TEST(DisplayInit, RefusedModeKeepsScreenGlobals) {
  fake_reset();
  fake_fail_display(true);
  EXPECT_EQ(display_init(800, 600, 8), 0);
  EXPECT_EQ(screen_width, 640);
  EXPECT_EQ(screen_height, 480);
  EXPECT_EQ(screen_bpp, 8);
  fake_fail_display(false);
  EXPECT_EQ(display_init(640, 480, 16), 0);  // only 8 bits per pixel are offered
  EXPECT_EQ(screen_bpp, 8);
  display_shutdown();
  EXPECT_EQ(display_back, nullptr);
  EXPECT_EQ(display_primary, nullptr);
}

TEST_F(DisplayTest, ClipperBoundCoversItsRectangles) {
  const Rect screen{0, 0, 640, 480};
  Clipper* one = display_attach_clipper(display_back, 1, &screen);
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(display_back->clipper, one);
  EXPECT_EQ(one->bound.left, 0);
  EXPECT_EQ(one->bound.bottom, 480);
  EXPECT_EQ(one->bound.right, 640);

  Clipper* none = display_attach_clipper(display_back, 0, nullptr);
  ASSERT_NE(none, nullptr);
  EXPECT_EQ((std::vector<int32_t>{none->count, none->bound.left, none->bound.top, none->bound.right, none->bound.bottom}),
            (std::vector<int32_t>{0, 64000, 64000, -64000, -64000}));

  const Rect several[3] = {{10, 20, 30, 40}, {-5, 100, 8, 120}, {200, 7, 210, 9}};
  Clipper* many = display_attach_clipper(display_back, 3, several);
  ASSERT_NE(many, nullptr);
  EXPECT_EQ((std::vector<int32_t>{many->bound.left, many->bound.top, many->bound.right, many->bound.bottom}),
            (std::vector<int32_t>{-5, 7, 210, 120}));
  EXPECT_EQ(display_attach_clipper(nullptr, 1, &screen), nullptr);
  display_back->clipper = nullptr;
  clipper_release(one);
  clipper_release(none);
  clipper_release(many);
}

TEST_F(DisplayTest, LocksAndDeviceContextsExcludeEachOther) {
  int32_t pitch = -1;
  EXPECT_EQ(display_lock(nullptr, &pitch), nullptr);
  EXPECT_EQ(display_unlock(nullptr, nullptr), 0);

  uint8_t* memory = display_lock(display_back, &pitch);
  ASSERT_EQ(memory, display_back->pixels);
  EXPECT_EQ(pitch, 640);
  EXPECT_EQ(display_desc.lpSurface, memory);
  EXPECT_EQ(display_lock(display_back, &pitch), nullptr);  // already locked
  EXPECT_EQ(pitch, 0);
  EXPECT_EQ(display_desc.lpSurface, nullptr);
  EXPECT_EQ(draw_text("A", 10, 10, 0xFFFFFF, display_back), 0);  // a locked surface gives no context
  EXPECT_EQ(display_flip(), 0);
  EXPECT_EQ(display_unlock(display_back, memory), 1);

  DeviceContext dc;
  ASSERT_EQ(surface_get_dc(display_back, &dc), 1);
  EXPECT_EQ(display_lock(display_back, nullptr), nullptr);
  DeviceContext second;
  EXPECT_EQ(surface_get_dc(display_back, &second), 0);
  EXPECT_EQ(second.surface, nullptr);
  EXPECT_EQ(draw_text("A", 10, 10, 0xFFFFFF, display_back), 0);
  EXPECT_EQ(display_flip(), 0);
  EXPECT_EQ(surface_release_dc(display_back, &dc), 1);
  EXPECT_EQ(surface_release_dc(display_back, &dc), 0);
  EXPECT_NE(display_lock(display_back, nullptr), nullptr);
  display_unlock(display_back, nullptr);
}

TEST_F(DisplayTest, FlipPresentsTheBackBufferAndSwaps) {
  display_fill(display_back, 0x1207);  // an 8-bit surface takes the low byte
  EXPECT_EQ(back_at(639, 479), 7);
  uint8_t* former_front = display_primary->pixels;
  ASSERT_EQ(display_flip(), 1);
  ASSERT_EQ(fake_frame_count(), 1u);
  const FakeFrame& frame = fake_last_frame();
  EXPECT_EQ(frame.at(0, 0), 7);
  EXPECT_EQ(frame.at(639, 479), 7);
  EXPECT_EQ(frame.palette[255][0], 252);
  EXPECT_EQ(frame.palette[63][1], 0);
  EXPECT_EQ(display_back->pixels, former_front);
  EXPECT_EQ(count_back_not(0), 0);
  EXPECT_EQ(display_primary->pixels[0], 7);

  // Palette changes reach the next frame.
  PALETTEENTRY p[256] = {};
  p[7] = PALETTEENTRY{1, 2, 3, 4};
  palette_set_all(p);
  display_fill(display_back, 7);
  display_flip();
  EXPECT_EQ(fake_last_frame().palette[7][2], 3);
  EXPECT_GE(fake_elapsed_ms(), 16u);  // presents are paced at 60 Hz
}

TEST_F(DisplayTest, DedicatedLocksHoldOffTheFlip) {
  uint8_t* back = display_lock_back();
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back_buffer, back);
  EXPECT_EQ(back_pitch, 640);
  EXPECT_EQ(display_lock_back(), back);  // already held: the same address
  EXPECT_EQ(display_flip(), 0);
  EXPECT_EQ(display_unlock_back(), 1);
  EXPECT_EQ(display_unlock_back(), 0);
  ASSERT_NE(display_lock_primary(), nullptr);
  EXPECT_EQ(display_flip(), 0);
  EXPECT_EQ(fake_frame_count(), 0u);
  EXPECT_EQ(display_unlock_primary(), 1);
  EXPECT_EQ(display_flip(), 1);
}

TEST(Clock, WaitsSleepingForTheBulk) {
  fake_reset();
  fake_set_ticks(1000);
  EXPECT_EQ(clock_start(), 1000u);
  const uint32_t end = clock_wait(30);
  EXPECT_GE(end - 1000u, 30u);
  EXPECT_LE(end - 1000u, 31u);
  EXPECT_GE(fake_slept_ms(), 27u);  // only the last couple of milliseconds spin

  const uint64_t before = fake_elapsed_ms();
  EXPECT_EQ(clock_wait(0), clock_read());
  EXPECT_EQ(fake_elapsed_ms(), before);
  // A frame that already took longer does not wait.
  clock_start();
  fake_advance_ms(45);
  clock_wait(30);
  EXPECT_EQ(fake_elapsed_ms(), before + 45);
}

TEST(Clock, WaitIsRightAcrossTheWrap) {
  fake_reset();
  fake_set_ticks(0xFFFFFFF0u);
  clock_start();
  const uint32_t end = clock_wait(30);
  EXPECT_LT(end, 0x100u);  // wrapped
  EXPECT_GE(static_cast<uint32_t>(end - 0xFFFFFFF0u), 30u);
  EXPECT_LE(fake_elapsed_ms(), 31u);
}
