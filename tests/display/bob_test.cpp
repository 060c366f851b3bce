// BOB sprites: creation, the one-short keyed blit, clipping, frame loading, animation and moves.
#include "display/bob.h"

#include <vector>

#include "display_fixture.h"

namespace {

class BobTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    picture.info_header.biWidth = PIC_W;
    picture.info_header.biHeight = PIC_H;
    picture.info_header.biBitCount = 8;
    for (int32_t y = 0; y < PIC_H; ++y)
      for (int32_t x = 0; x < PIC_W; ++x) store[y * PIC_W + x] = pic_value(x, y);
    picture.pixels = store.data();
  }
  void TearDown() override {
    bob_destroy(&bob);
    DisplayTest::TearDown();
  }
  // Never 0, so that every copied pixel shows.
  static uint8_t pic_value(int32_t x, int32_t y) { return static_cast<uint8_t>((x * 7 + y * 13) % 250 + 1); }
  uint8_t frame_at(int32_t x, int32_t y) const { return bob.frames[0]->pixels[y * bob.frames[0]->pitch + x]; }

  // Draws a 16 x 16 BOB whose frame is all 5 at (x, y) onto a cleared back buffer; returns how
  // many pixels changed.
  int32_t draw_solid_at(int32_t x, int32_t y) {
    bob_create(&bob, x, y, 16, 16, 1, BOB_FLAG_ONE_FRAME | BOB_FLAG_SHOWN, DDSCAPS_SYSTEMMEMORY);
    display_fill(bob.frames[0], 5);
    display_fill(display_back, 0);
    EXPECT_EQ(bob_draw(&bob, display_back), 1);
    bob_destroy(&bob);
    return count_back_not(0);
  }

  static constexpr int32_t PIC_W = 80, PIC_H = 40;
  std::vector<uint8_t> store = std::vector<uint8_t>(PIC_W * PIC_H);
  BitmapFile picture{};
  Bob bob{};
};

}  // namespace

TEST_F(BobTest, CreatePadsFramesToEightBytes) {
  const int32_t widths[][2] = {{16, 0}, {469, 3}, {120, 0}, {14, 2}};
  for (const auto& w : widths) {
    ASSERT_EQ(bob_create(&bob, 0, 0, w[0], 4, 1, 0x11, DDSCAPS_SYSTEMMEMORY), 1);
    EXPECT_EQ(bob.width_pad, w[1]) << w[0];
    EXPECT_EQ(bob.frames[0]->pitch, w[0] + w[1]);
    EXPECT_EQ(bob.frames[0]->has_color_key, 1);
    EXPECT_EQ(bob.state, 1);
    bob_destroy(&bob);
  }
  ASSERT_EQ(bob_create(&bob, 0, 0, 16, 16, 0, 0x11, 0), 1);
  EXPECT_EQ(bob.frames[0], nullptr);
  EXPECT_EQ(bob_create(&bob, 0, 0, 16, 16, 65, 0x11, 0), 0);  // more frames than slots
  EXPECT_EQ(bob_destroy(nullptr), 0);
  EXPECT_EQ(bob_set_position(nullptr, 1, 2), 0);
  EXPECT_EQ(bob_draw(nullptr, display_back), 0);
}

TEST_F(BobTest, DrawIsOneShortAndKeyed) {
  ASSERT_EQ(bob_create(&bob, 100, 50, 16, 16, 1, 0x11, DDSCAPS_SYSTEMMEMORY), 1);
  uint8_t* frame = display_lock(bob.frames[0], nullptr);
  for (int32_t i = 0; i < 16 * 16; ++i) frame[i] = (i % 3 == 0) ? 0 : 9;
  display_unlock(bob.frames[0], frame);
  display_fill(display_back, 200);
  ASSERT_EQ(bob_draw(&bob, display_back), 1);
  for (int32_t y = 40; y < 80; ++y)
    for (int32_t x = 90; x < 130; ++x) {
      const bool inside = x >= 100 && x <= 114 && y >= 50 && y <= 64;
      const bool key = ((y - 50) * 16 + (x - 100)) % 3 == 0;
      ASSERT_EQ(back_at(x, y), inside && !key ? 9 : 200) << x << "," << y;
    }
  bob_hide(&bob);
  display_fill(display_back, 200);
  EXPECT_EQ(bob_draw(&bob, display_back), 1);
  EXPECT_EQ(count_back_not(200), 0);
}

TEST_F(BobTest, ScaledDrawStretchesTheShownPart) {
  ASSERT_EQ(bob_create(&bob, 2, 3, 4, 4, 1, 0x11, DDSCAPS_SYSTEMMEMORY), 1);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 4; ++x) bob.frames[0]->pixels[y * bob.frames[0]->pitch + x] = static_cast<uint8_t>(10 * y + x + 1);
  ASSERT_EQ(bob_draw_scaled(&bob, 8, 8, display_back), 1);
  // 3 x 3 shown pixels spread over 7 x 7.
  const uint8_t row0[] = {1, 1, 1, 2, 2, 3, 3};
  for (int32_t x = 0; x < 7; ++x) EXPECT_EQ(back_at(2 + x, 3), row0[x]) << x;
  EXPECT_EQ(back_at(2, 3 + 6), 21);
  EXPECT_EQ(back_at(2 + 7, 3), 0);
  EXPECT_EQ(back_at(2, 3 + 7), 0);
  EXPECT_EQ(count_back_not(0), 49);
}

TEST_F(BobTest, SpritesAreCutAtEveryScreenEdge) {
  const Rect screen{0, 0, 640, 480};
  display_clipper = display_attach_clipper(display_back, 1, &screen);
  for (int pass = 0; pass < 2; ++pass) {  // with the clipper, then with the surface bounds alone
    EXPECT_EQ(draw_solid_at(630, 470), 10 * 10);
    EXPECT_EQ(back_at(630, 470) + back_at(639, 479), 10);
    EXPECT_EQ(draw_solid_at(-5, -7), 10 * 8);
    EXPECT_EQ(back_at(0, 0) + back_at(9, 7), 10);
    EXPECT_EQ(draw_solid_at(-20, 200), 0);
    display_back->clipper = nullptr;
  }
  // A clip list narrower than the screen cuts too.
  const Rect window{0, 0, 105, 480};
  Clipper* narrow = display_attach_clipper(display_back, 1, &window);
  EXPECT_EQ(draw_solid_at(100, 100), 5 * 15);
  display_back->clipper = nullptr;
  clipper_release(narrow);
}

TEST_F(BobTest, FramesComeFromCellsOrPixels) {
  int64_t column = 0, row = 0;
  bob_frame_corner(FRAME_AT_CELL, 2, 1, 16, 16, &column, &row);
  EXPECT_EQ(column, 35);
  EXPECT_EQ(row, 18);
  bob_frame_corner(FRAME_AT_PIXEL, 36, 1, 16, 16, &column, &row);
  EXPECT_EQ(column, 36);
  EXPECT_EQ(row, 1);

  ASSERT_EQ(bob_create(&bob, 0, 0, 14, 16, 1, 0x11, DDSCAPS_SYSTEMMEMORY), 1);
  ASSERT_EQ(bob_load_frame(&bob, &picture, 0, 2, 1, FRAME_AT_CELL), 1);
  EXPECT_NE(bob.flags & BOB_FLAG_FRAMES_LOADED, 0);
  EXPECT_EQ(frame_at(0, 0), pic_value(31, 18));  // cells of 14 + 1 pixels: 2 * 15 + 1
  EXPECT_EQ(frame_at(13, 15), pic_value(44, 33));
  EXPECT_EQ(frame_at(14, 0), 0);  // the padding stays empty
}

TEST_F(BobTest, OnlyThePartInsideThePictureIsCopied) {
  ASSERT_EQ(bob_create(&bob, 0, 0, 16, 16, 1, 0x11, DDSCAPS_SYSTEMMEMORY), 1);
  ASSERT_EQ(bob_load_frame(&bob, &picture, 0, 0, 0, FRAME_AT_PIXEL), 1);
  ASSERT_EQ(bob_load_frame(&bob, &picture, 0, 70, 30, FRAME_AT_PIXEL), 1);
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 16; ++x)
      ASSERT_EQ(frame_at(x, y), x < 10 && y < 10 ? pic_value(70 + x, 30 + y) : 0) << x << "," << y;
  ASSERT_EQ(bob_load_frame(&bob, &picture, 0, -4, -2, FRAME_AT_PIXEL), 1);
  EXPECT_EQ(frame_at(3, 15), 0);
  EXPECT_EQ(frame_at(4, 2), pic_value(0, 0));

  EXPECT_EQ(bob_load_frame(&bob, &picture, 1, 0, 0, FRAME_AT_PIXEL), 0);  // no such frame
  EXPECT_EQ(bob_load_frame(&bob, &picture, -1, 0, 0, FRAME_AT_PIXEL), 0);
  picture.info_header.biBitCount = 16;
  EXPECT_EQ(bob_load_frame(&bob, &picture, 0, 0, 0, FRAME_AT_PIXEL), 0);
  picture.info_header.biBitCount = 8;
  picture.pixels = nullptr;
  EXPECT_EQ(bob_load_frame(&bob, &picture, 0, 0, 0, FRAME_AT_PIXEL), 0);
}

TEST_F(BobTest, AnimationCyclesFollowsSequencesAndPlaysOnce) {
  ASSERT_EQ(bob_create(&bob, 0, 0, 8, 8, 3, BOB_FLAG_FRAME_CYCLE | BOB_FLAG_SHOWN, 0), 1);
  bob_set_anim_rate(&bob, 2);
  std::vector<int32_t> seen;
  for (int i = 0; i < 6; ++i) {
    bob_animate(&bob);
    seen.push_back(bob.frame);
  }
  EXPECT_EQ(seen, (std::vector<int32_t>{0, 1, 1, 2, 2, 0}));

  bob.flags = BOB_FLAG_SEQUENCES | BOB_FLAG_SHOWN;
  const int32_t loop[] = {2, 0, 1};
  ASSERT_EQ(bob_load_sequence(&bob, 4, 3, loop), 1);
  EXPECT_EQ(bob.sequences[4][3], SEQUENCE_END);
  bob_set_sequence(&bob, 4);
  bob_set_anim_rate(&bob, 0);
  seen.clear();
  for (int i = 0; i < 4; ++i) {
    bob_animate(&bob);
    seen.push_back(bob.frame);
  }
  EXPECT_EQ(seen, (std::vector<int32_t>{0, 1, 2, 0}));
  EXPECT_EQ(bob.anim_finished, 0);

  bob.flags |= BOB_FLAG_ONE_SHOT;
  const int32_t once[] = {1, 2};
  ASSERT_EQ(bob_load_sequence(&bob, 5, 2, once), 1);
  bob_set_sequence(&bob, 5);
  for (int i = 0; i < 4; ++i) bob_animate(&bob);
  EXPECT_EQ(bob.frame, 2);
  EXPECT_EQ(bob.anim_finished, 1);

  const int32_t bad[] = {64};
  EXPECT_EQ(bob_load_sequence(&bob, 0, 1, bad), 0);
  EXPECT_EQ(bob_load_sequence(&bob, 16, 2, once), 0);
  bob_set_sequence(&bob, 7);  // never loaded
  EXPECT_EQ(bob_animate(&bob), 0);
}

TEST_F(BobTest, MovesBounceOrWrapAndBoxesOverlap) {
  ASSERT_EQ(bob_create(&bob, 630, 10, 16, 16, 0, BOB_FLAG_BOUNCE, 0), 1);
  bob_set_velocity(&bob, 5, -20);
  bob_move(&bob);
  EXPECT_EQ(bob.x, 624);
  EXPECT_EQ(bob.vel_x, -5);
  EXPECT_EQ(bob.y, 0);
  EXPECT_EQ(bob.vel_y, 20);

  bob.flags = BOB_FLAG_WRAP;
  bob_set_position(&bob, 636, 100);
  bob_set_velocity(&bob, 5, 0);
  bob_move(&bob);
  EXPECT_EQ(bob.x, -15);  // gone off the right, coming in at the left
  bob_set_position(&bob, -14, 460);
  bob_set_velocity(&bob, -2, 12);
  bob_move(&bob);
  EXPECT_EQ(bob.x, 640);  // gone off the left, coming in at the right
  EXPECT_EQ(bob.y, 472);  // still partly on screen
  bob_move(&bob);
  EXPECT_EQ(bob.x, 638);
  EXPECT_EQ(bob.y, 484 - (480 + 16));

  Bob other{};
  ASSERT_EQ(bob_create(&other, 11, 0, 16, 16, 0, 0, 0), 1);
  bob_set_position(&bob, 0, 0);
  EXPECT_EQ(bob_overlap(&bob, &other), 1);  // centres 11 apart, half-extents 6 + 6
  other.x = 12;
  EXPECT_EQ(bob_overlap(&bob, &other), 0);
  other.x = 0;
  other.y = -11;
  EXPECT_EQ(bob_overlap(&other, &bob), 1);
  EXPECT_EQ(bob_overlap(&bob, nullptr), 0);
}
