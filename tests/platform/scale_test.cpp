// Fitting the 640x480 picture to screens and windows: the rectangle and the filter.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/common/scale.h"

namespace {

struct Case {
  int32_t out_w, out_h, mode;
  bool nearest_only;
  int32_t max_side;
  ScalePlan plan;  // x, y, w, h, factor, smooth
};

std::vector<int32_t> fields(const ScalePlan& p) { return {p.x, p.y, p.w, p.h, p.factor, p.smooth ? 1 : 0}; }

TEST(ScalePlan, ScreenSizesTable) {
  const Case cases[] = {
      // Fit: as large as fits at 4:3, sharp; whole factors need no filter.
      {640, 480, SCALE_FIT, false, 0, {0, 0, 640, 480, 1, false}},
      {1280, 960, SCALE_FIT, false, 0, {0, 0, 1280, 960, 2, false}},
      {1366, 768, SCALE_FIT, false, 0, {171, 0, 1024, 768, 2, true}},
      {1600, 900, SCALE_FIT, false, 0, {200, 0, 1200, 900, 2, true}},
      {1920, 1080, SCALE_FIT, false, 0, {240, 0, 1440, 1080, 3, true}},
      {2560, 1440, SCALE_FIT, false, 0, {320, 0, 1920, 1440, 3, false}},
      {3840, 2160, SCALE_FIT, false, 0, {480, 0, 2880, 2160, 5, true}},
      {1280, 1024, SCALE_FIT, false, 0, {0, 32, 1280, 960, 2, false}},   // taller: fills the width
      {1366, 767, SCALE_FIT, false, 0, {171, 0, 1023, 767, 2, true}},    // 1022.67 wide, rounded
      {800, 600, SCALE_FIT, false, 0, {0, 0, 800, 600, 2, true}},
      {320, 240, SCALE_FIT, false, 0, {0, 0, 320, 240, 1, true}},       // a small window: shrunk smoothly
      // Whole factors only.
      {1366, 768, SCALE_INTEGER, false, 0, {363, 144, 640, 480, 1, false}},
      {1920, 1080, SCALE_INTEGER, false, 0, {320, 60, 1280, 960, 2, false}},
      {3840, 2160, SCALE_INTEGER, false, 0, {640, 120, 2560, 1920, 4, false}},
      {600, 400, SCALE_INTEGER, false, 0, {33, 0, 533, 400, 1, true}},  // even 1x does not fit
      // The software renderer's single nearest pass: same rectangle, no filter.
      {1920, 1080, SCALE_FIT, true, 0, {240, 0, 1440, 1080, 3, false}},
      {1366, 768, SCALE_FIT, true, 0, {171, 0, 1024, 768, 2, false}},
      // The multiple stays within the renderer's largest texture.
      {3840, 2160, SCALE_FIT, false, 2048, {480, 0, 2880, 2160, 3, true}},
      {1280, 960, SCALE_FIT, false, 1024, {0, 0, 1280, 960, 1, true}},
      // Nothing to draw into.
      {0, 768, SCALE_FIT, false, 0, {0, 0, 0, 0, 1, false}},
      {1366, -1, SCALE_INTEGER, false, 0, {0, 0, 0, 0, 1, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.out_w << "x" << c.out_h << " mode " << c.mode << " nearest " << c.nearest_only
                                    << " max " << c.max_side);
    EXPECT_EQ(fields(scale_plan(c.out_w, c.out_h, 640, 480, c.mode, c.nearest_only, c.max_side)), fields(c.plan));
  }
}

// Over every output size in a wide range: inside the output, centred, 4:3 to the pixel,
// filling the height or the width, and the multiple never smaller than the picture it feeds.
TEST(ScalePlan, EverySizeFitsCentredAtItsShape) {
  for (int32_t out_h = 100; out_h <= 2400; out_h += 7) {
    for (int32_t out_w = 100; out_w <= 4400; out_w += 13) {
      for (int32_t mode : {SCALE_FIT, SCALE_INTEGER}) {
        const ScalePlan p = scale_plan(out_w, out_h, 640, 480, mode, false, 0);
        SCOPED_TRACE(testing::Message() << out_w << "x" << out_h << " mode " << mode);
        ASSERT_GE(p.x, 0);
        ASSERT_GE(p.y, 0);
        ASSERT_LE(p.x + p.w, out_w);
        ASSERT_LE(p.y + p.h, out_h);
        ASSERT_LE(std::abs((out_w - p.w - p.x) - p.x), 1);  // bars equal to a pixel
        ASSERT_LE(std::abs((out_h - p.h - p.y) - p.y), 1);
        ASSERT_LE(std::abs(p.w * 3 - p.h * 4), 4);  // 4:3 within the rounding of one side
        if (mode == SCALE_FIT) {
          ASSERT_TRUE(p.h == out_h || p.w == out_w);
        }
        ASSERT_GE(p.factor * 640, p.w);
        ASSERT_LT((p.factor - 1) * 640, p.w);  // the next whole multiple, not a larger one
        ASSERT_EQ(p.smooth, p.w != 640 * p.factor);
      }
    }
  }
}

// The runs of one nearest pass: each picture pixel becomes the whole factor below or above the
// scale (never a stray wider or narrower pixel), the runs fill the output exactly, and rows
// expand to those runs.
TEST(ScaleRuns, EvenRunsThatAddUpAndRowsThatFollowThem) {
  struct Case {
    int32_t pic, out;
    std::vector<int32_t> runs;
  };
  const Case exact[] = {{2, 5, {2, 3}}, {4, 2, {0, 1, 0, 1}}, {3, 6, {2, 2, 2}}, {4, 9, {2, 2, 3, 2}}};
  for (const Case& c : exact) {
    std::vector<int32_t> runs(static_cast<size_t>(c.pic));
    scale_runs(c.pic, c.out, runs.data());
    EXPECT_EQ(runs, c.runs) << c.pic << " -> " << c.out;
  }
  for (int32_t out : {480, 640, 767, 768, 900, 1024, 1080, 1440, 2160, 2880}) {
    for (int32_t pic : {480, 640}) {
      if (out < pic) continue;
      SCOPED_TRACE(testing::Message() << pic << " -> " << out);
      std::vector<int32_t> runs(static_cast<size_t>(pic));
      scale_runs(pic, out, runs.data());
      int32_t sum = 0;
      for (int32_t r : runs) {
        ASSERT_GE(r, out / pic);
        ASSERT_LE(r, (out + pic - 1) / pic);
        sum += r;
      }
      EXPECT_EQ(sum, out);
    }
  }
  const uint8_t src[3] = {7, 0, 255};
  uint32_t table[256];
  for (int i = 0; i < 256; ++i) table[i] = 0xFF000000u | static_cast<uint32_t>(i * 3);
  const int32_t runs[3] = {1, 3, 2};
  std::vector<uint32_t> out(7, 0xDEADBEEF);
  scale_row_nearest(src, 3, runs, table, out.data());
  EXPECT_EQ(out, (std::vector<uint32_t>{table[7], table[0], table[0], table[0], table[255], table[255], 0xDEADBEEF}));
}

}  // namespace
