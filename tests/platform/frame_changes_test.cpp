// The record of what a frame changes, and the presenter's conversions of the changed spans.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/common/frame_changes.h"
#include "platform/common/scale.h"

namespace {

std::vector<int32_t> row(const FrameChanges& c, int32_t y) {
  int32_t l = -1, r = -1;
  if (!frame_changes_row(c, y, &l, &r)) return {};
  return {l, r};
}

std::vector<int32_t> bounds(const FrameChanges& c) {
  int32_t l, t, r, b;
  if (!frame_changes_bounds(c, &l, &t, &r, &b)) return {};
  return {l, t, r, b};
}

TEST(FrameChanges, SpansGrowCutToThePictureAndMergeIntoOneRecord) {
  auto c = std::make_unique<FrameChanges>();
  frame_changes_reset(c.get(), 640, 480);
  EXPECT_FALSE(c->whole);
  EXPECT_EQ(bounds(*c), std::vector<int32_t>{});
  EXPECT_EQ(row(*c, 10), std::vector<int32_t>{});
  frame_changes_add(c.get(), 100, 10, 120, 12);
  frame_changes_add(c.get(), 300, 11, 310, 13);  // one span per row covers both
  EXPECT_EQ(row(*c, 10), (std::vector<int32_t>{100, 120}));
  EXPECT_EQ(row(*c, 11), (std::vector<int32_t>{100, 310}));
  EXPECT_EQ(row(*c, 12), (std::vector<int32_t>{300, 310}));
  EXPECT_EQ(row(*c, 13), std::vector<int32_t>{});
  // Beyond the picture on every side: cut, and an empty rectangle adds nothing.
  frame_changes_add(c.get(), -50, 470, 9999, 9999);
  frame_changes_add(c.get(), 5, 5, 5, 50);
  EXPECT_EQ(row(*c, 479), (std::vector<int32_t>{0, 640}));
  EXPECT_EQ(row(*c, 5), std::vector<int32_t>{});
  EXPECT_EQ(bounds(*c), (std::vector<int32_t>{0, 10, 640, 480}));

  auto other = std::make_unique<FrameChanges>();
  frame_changes_reset(other.get(), 640, 480);
  frame_changes_add(other.get(), 0, 0, 1, 1);
  frame_changes_merge(other.get(), *c);
  EXPECT_EQ(row(*other, 0), (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(row(*other, 11), (std::vector<int32_t>{100, 310}));
  EXPECT_EQ(bounds(*other), (std::vector<int32_t>{0, 0, 640, 480}));

  // A record of another size, or a whole one, makes the merge whole; a whole record gives
  // every row whole and ignores what is added.
  auto small = std::make_unique<FrameChanges>();
  frame_changes_reset(small.get(), 320, 240);
  frame_changes_merge(small.get(), *c);
  EXPECT_TRUE(small->whole);
  EXPECT_EQ(row(*small, 200), (std::vector<int32_t>{0, 320}));
  frame_changes_add(small.get(), 1, 1, 2, 2);
  EXPECT_EQ(bounds(*small), (std::vector<int32_t>{0, 0, 320, 240}));
  // Taller than the record holds: whole from the start.
  frame_changes_reset(small.get(), 640, FRAME_CHANGES_ROWS + 1);
  EXPECT_TRUE(small->whole);
}

TEST(FrameChanges, TheCheckFindsAChangedPixelOutsideItsRowsSpanAndOnlyThat) {
  constexpr int32_t W = 64, H = 8, PITCH = 80;
  std::vector<uint8_t> before(PITCH * H, 7), after(PITCH * H, 7);
  auto c = std::make_unique<FrameChanges>();
  frame_changes_reset(c.get(), W, H);
  EXPECT_EQ(frame_changes_first_missed(*c, before.data(), after.data(), PITCH), -1);
  after[3 * PITCH + 20] = 1;
  EXPECT_EQ(frame_changes_first_missed(*c, before.data(), after.data(), PITCH), 3);
  frame_changes_add(c.get(), 20, 3, 21, 4);
  EXPECT_EQ(frame_changes_first_missed(*c, before.data(), after.data(), PITCH), -1);
  // Just right of the span, and beyond the picture's width (padding that is never shown).
  after[3 * PITCH + 21] = 1;
  EXPECT_EQ(frame_changes_first_missed(*c, before.data(), after.data(), PITCH), 3);
  after[3 * PITCH + 21] = 7;
  after[5 * PITCH + W + 3] = 9;
  after[6 * PITCH] = 9;
  EXPECT_EQ(frame_changes_first_missed(*c, before.data(), after.data(), PITCH), 6);
  frame_changes_set_whole(c.get());
  EXPECT_EQ(frame_changes_first_missed(*c, before.data(), after.data(), PITCH), -1);
}

// A changed span converted at 1:1 and by runs lands where converting the whole row puts it,
// and writes nothing outside it.
TEST(ScaleSpans, ASpanConvertsToTheSamePixelsAsItsPartOfTheWholeRow) {
  uint32_t table[256];
  for (int i = 0; i < 256; ++i) table[i] = 0xFF000000u | static_cast<uint32_t>(i * 65793);
  std::vector<uint8_t> src(640);
  for (int x = 0; x < 640; ++x) src[x] = static_cast<uint8_t>((x * 37) ^ (x >> 3));
  for (int32_t out_w : {640, 1024, 1440, 2880}) {
    std::vector<int32_t> runs(640), firsts(640);
    scale_runs(640, out_w, runs.data());
    scale_firsts(640, runs.data(), firsts.data());
    std::vector<uint32_t> whole(out_w, 0), part(out_w, 0);
    scale_row_nearest(src.data(), 640, runs.data(), table, whole.data());
    scale_span_nearest(src.data(), 101, 333, runs.data(), firsts.data(), table, part.data());
    const int32_t from = firsts[101], to = firsts[332] + runs[332];
    for (int32_t x = 0; x < out_w; ++x)
      ASSERT_EQ(part[x], x >= from && x < to ? whole[x] : 0u) << out_w << " at " << x;
    if (out_w == 640) {
      std::vector<uint32_t> exact(640, 0);
      scale_row_exact(src.data() + 101, 232, table, exact.data() + 101);
      EXPECT_EQ(exact, part);
    }
  }
  const ScalePlan one = scale_plan(640, 480, 640, 480, SCALE_FIT, true, 0);
  const ScalePlan two = scale_plan(1280, 960, 640, 480, SCALE_FIT, true, 0);
  EXPECT_TRUE(scale_plan_exact(one, 640, 480));
  EXPECT_FALSE(scale_plan_exact(two, 640, 480));
}

}  // namespace
