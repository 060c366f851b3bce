// BOB sprites: creation, the one-short keyed blit, clipping, frame loading and animation.
#include "display/bob.h"
#include "display/bob_extras.h"

#include "display_fixture.h"

namespace {

class BobTest : public DisplayTest {
 protected:
  void TearDown() override {
    bob_destroy(&bob);
    DisplayTest::TearDown();
  }
  // Never 0, so that every copied pixel shows.
  static uint8_t pic_value(int32_t x, int32_t y) { return static_cast<uint8_t>((x * 7 + y * 13) % 250 + 1); }
  uint8_t frame_at(int32_t x, int32_t y) const { return bob.frames[0]->pixels[y * bob.frames[0]->pitch + x]; }
  bool create(int32_t x, int32_t y, int32_t w, int32_t h) {
    bob_destroy(&bob);
    return bob_create(&bob, x, y, w, h, 1, BOB_FLAG_ONE_FRAME | BOB_FLAG_SHOWN);
  }
  // Draws a 16 x 16 BOB whose frame is all 5 at (x, y) onto a cleared back buffer; returns how
  // many pixels changed.
  int32_t draw_solid_at(int32_t x, int32_t y) {
    create(x, y, 16, 16);
    display_fill(bob.frames[0], 5);
    display_fill(display.display_back, 0);
    EXPECT_TRUE(bob_draw(&bob, display.display_back));
    return count_back_not(0);
  }

  Bob bob{};
};

}  // namespace

TEST_F(BobTest, CreatePadsFramesToEightBytes) {
  for (const auto& [width, pad] : {std::pair{16, 0}, {469, 3}, {120, 0}, {14, 2}}) {
    ASSERT_EQ(create(0, 0, width, 4), 1);
    EXPECT_EQ(bob.width_pad, pad) << width;
    EXPECT_EQ(bob.frames[0]->pitch, width + pad);
  }
  bob_destroy(&bob);
  ASSERT_TRUE(bob_create(&bob, 0, 0, 16, 16, 0, 0x11));
  EXPECT_EQ(bob.frames[0], nullptr);
  EXPECT_FALSE(bob_create(&bob, 0, 0, 16, 16, 65, 0x11));  // more frames than slots
  EXPECT_FALSE(bob_destroy(nullptr) || bob_set_position(nullptr, 1, 2) || bob_draw(nullptr, display.display_back));
}

TEST_F(BobTest, DrawIsOneShortAndKeyed) {
  ASSERT_EQ(create(100, 50, 16, 16), 1);
  for (int32_t i = 0; i < 16 * 16; ++i) bob.frames[0]->pixels[i] = (i % 3 == 0) ? 0 : 9;
  display_fill(display.display_back, 200);
  ASSERT_TRUE(bob_draw(&bob, display.display_back));
  for (int32_t y = 40; y < 80; ++y)
    for (int32_t x = 90; x < 130; ++x) {
      const bool inside = x >= 100 && x <= 114 && y >= 50 && y <= 64;
      const bool key = ((y - 50) * 16 + (x - 100)) % 3 == 0;
      ASSERT_EQ(back_at(x, y), inside && !key ? 9 : 200) << x << "," << y;
    }
  bob_hide(&bob);
  display_fill(display.display_back, 200);
  EXPECT_TRUE(bob_draw(&bob, display.display_back));
  EXPECT_EQ(count_back_not(200), 0);
}

TEST_F(BobTest, SpritesAreCutAtEveryScreenEdge) {
  const Rect screen{0, 0, 640, 480}, narrow{0, 0, 105, 480};
  Clipper* clippers[] = {display_attach_clipper(display.display_back, 1, &screen), nullptr};
  for (Clipper* clipper : clippers) {  // with the clipper, then with the surface bounds alone
    display.display_back->clipper = clipper;
    EXPECT_EQ(draw_solid_at(630, 470), 10 * 10);
    EXPECT_EQ(back_at(630, 470) + back_at(639, 479), 10);
    EXPECT_EQ(draw_solid_at(-5, -7), 10 * 8);
    EXPECT_EQ(back_at(0, 0) + back_at(9, 7), 10);
    EXPECT_EQ(draw_solid_at(-20, 200), 0);
  }
  Clipper* window = display_attach_clipper(display.display_back, 1, &narrow);  // narrower than the screen
  EXPECT_EQ(draw_solid_at(100, 100), 5 * 15);
  display.display_back->clipper = nullptr;
  clipper_release(clippers[0]);
  clipper_release(window);
}

TEST_F(BobTest, FramesComeFromCellsOrPixelsAndOnlyFromInsideThePicture) {
  std::vector<uint8_t> store(80 * 40);  // an 80 x 40 picture
  for (int32_t i = 0; i < 80 * 40; ++i) store[i] = pic_value(i % 80, i / 80);
  BitmapFile picture{};
  picture.info_header.biWidth = 80;
  picture.info_header.biHeight = 40;
  picture.info_header.biBitCount = 8;
  picture.pixels = store.data();
  int64_t column = 0, row = 0;
  bob_frame_corner(FRAME_AT_CELL, 2, 1, 16, 16, &column, &row);
  EXPECT_EQ((std::vector<int64_t>{column, row}), (std::vector<int64_t>{35, 18}));
  ASSERT_EQ(create(0, 0, 14, 16), 1);
  ASSERT_TRUE(bob_load_frame(&bob, &picture, 0, 2, 1, FRAME_AT_CELL));
  EXPECT_EQ(frame_at(0, 0), pic_value(31, 18));  // cells of 14 + 1 pixels: 2 * 15 + 1
  EXPECT_EQ(frame_at(13, 15), pic_value(44, 33));
  EXPECT_EQ(frame_at(14, 0), 0);  // the padding stays empty

  // A frame filled first, then loaded from a corner: what lies outside the picture becomes 0.
  ASSERT_EQ(create(0, 0, 16, 16), 1);
  ASSERT_TRUE(bob_load_frame(&bob, &picture, 0, 0, 0, FRAME_AT_PIXEL));
  ASSERT_TRUE(bob_load_frame(&bob, &picture, 0, 70, 30, FRAME_AT_PIXEL));
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 16; ++x)
      ASSERT_EQ(frame_at(x, y), x < 10 && y < 10 ? pic_value(70 + x, 30 + y) : 0) << x << "," << y;
  ASSERT_TRUE(bob_load_frame(&bob, &picture, 0, -4, -2, FRAME_AT_PIXEL));
  EXPECT_EQ(frame_at(3, 15), 0);
  EXPECT_EQ(frame_at(4, 2), pic_value(0, 0));
  EXPECT_FALSE(bob_load_frame(&bob, &picture, 1, 0, 0, FRAME_AT_PIXEL));  // no such frame
  picture.info_header.biBitCount = 16;
  EXPECT_FALSE(bob_load_frame(&bob, &picture, 0, 0, 0, FRAME_AT_PIXEL));
}

TEST_F(BobTest, AnimationCyclesFollowsSequencesAndPlaysOnce) {
  ASSERT_TRUE(bob_create(&bob, 0, 0, 8, 8, 3, BOB_FLAG_FRAME_CYCLE | BOB_FLAG_SHOWN));
  auto frames_seen = [&](int n) {
    std::vector<int32_t> seen;
    for (int i = 0; i < n; ++i) seen.push_back((bob_animate(&bob), bob.frame));
    return seen;
  };
  bob_set_anim_rate(&bob, 2);
  EXPECT_EQ(frames_seen(6), (std::vector<int32_t>{0, 1, 1, 2, 2, 0}));

  bob.flags = BOB_FLAG_SEQUENCES | BOB_FLAG_SHOWN;
  const int32_t loop[] = {2, 0, 1}, once[] = {1, 2}, bad[] = {64};
  ASSERT_TRUE(bob_load_sequence(&bob, 4, 3, loop));
  bob_set_sequence(&bob, 4);
  bob_set_anim_rate(&bob, 0);
  EXPECT_EQ(frames_seen(4), (std::vector<int32_t>{0, 1, 2, 0}));
  EXPECT_EQ(bob.anim_finished, 0);

  bob.flags |= BOB_FLAG_ONE_SHOT;
  ASSERT_TRUE(bob_load_sequence(&bob, 5, 2, once));
  bob_set_sequence(&bob, 5);
  EXPECT_EQ(frames_seen(4), (std::vector<int32_t>{2, 2, 2, 2}));  // stays on its last frame
  EXPECT_EQ(bob.anim_finished, 1);
  // No such frame slot, no such sequence slot, a sequence never loaded.
  EXPECT_FALSE(bob_load_sequence(&bob, 0, 1, bad) || bob_load_sequence(&bob, 16, 2, once));
  bob_set_sequence(&bob, 7);
  EXPECT_FALSE(bob_animate(&bob));
}
