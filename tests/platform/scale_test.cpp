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

}  // namespace
