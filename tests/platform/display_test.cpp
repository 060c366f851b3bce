// The SDL window and presentation, run under SDL's dummy video driver (its software renderer).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/common/frame_changes.h"
#include "platform/common/glyphs.h"
#include "platform/common/notice.h"
#include "platform/common/storage.h"
#include "platform/platform.h"
#include "platform/sdl/present_sdl.h"

// SDL opens a D-Bus connection while it tries a display that then refuses it, and keeps it until
// SDL_Quit; the leak check of the sanitizer build is not about the system's D-Bus library.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace {

// Never open a real full-screen window when the suite is started by hand.
const int dummy_video = setenv("SDL_VIDEODRIVER", "dummy", 0);

// Index 1 everywhere except a 2x2 block of index 2 in the top left corner and index 3 at the
// bottom right pixel; the palette gives each index a distinct colour.
struct Picture {
  explicit Picture(int32_t pitch) : pitch(pitch), pixels(static_cast<size_t>(pitch) * 480, 1) {
    pixels[0] = pixels[1] = pixels[pitch] = pixels[pitch + 1] = 2;
    pixels[static_cast<size_t>(479) * pitch + 639] = 3;
    for (int i = 0; i < 256; ++i)
      palette[i][0] = uint8_t(i), palette[i][1] = uint8_t(255 - i), palette[i][2] = uint8_t(i * 7);
    palette[2][0] = 200, palette[2][1] = 10, palette[2][2] = 30;
  }
  void present() { platform_present(pixels.data(), pitch, palette); }
  int32_t pitch;
  std::vector<uint8_t> pixels;
  uint8_t palette[256][3] = {};
};

std::vector<int> shown_at(int32_t x, int32_t y) {
  uint8_t got[3] = {};
  EXPECT_EQ(present_read_pixel(x, y, got), 1) << x << "," << y;
  return {got[0], got[1], got[2]};
}
std::vector<int> colour(const uint8_t rgb[3]) { return {rgb[0], rgb[1], rgb[2]}; }
const std::vector<int> BLACK{0, 0, 0};

// Each channel of c between (or at) those of a and b.
bool between(const std::vector<int>& c, const std::vector<int>& a, const std::vector<int>& b) {
  for (int i = 0; i < 3; ++i)
    if (c[i] < std::min(a[i], b[i]) || c[i] > std::max(a[i], b[i])) return false;
  return true;
}

class Display : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(platform_window_create("Marrowin"), 0);
    ASSERT_EQ(platform_display_open(640, 480, 8), 1);
  }
  void TearDown() override {
    present_set_filter(PRESENT_FILTER_AUTO);
    platform_configure_video(-1, 0);
    platform_window_destroy();
  }
};

TEST(DisplayOpen, RefusesAnythingButEightBitsAndPositiveSizes) {
  ASSERT_NE(platform_window_create("Marrowin"), 0);
  EXPECT_EQ(platform_display_open(640, 480, 16) + platform_display_open(640, 480, 32), 0);
  EXPECT_EQ(platform_display_open(0, 480, 8) + platform_display_open(640, -1, 8), 0);
  EXPECT_EQ(platform_display_open(640, 480, 8), 1);
  platform_window_destroy();
  EXPECT_EQ(platform_display_open(640, 480, 8), 0);  // without a window there is nothing to present into
}

// Each window size and filter: the picture lands where the plan says, its corner pixels keep
// their colours, whole factors are exact squares, the smooth pass blends at most one pixel
// between two picture pixels, and the bars are black.
TEST_F(Display, FramesShowThroughThePaletteFittedCentredAndSharp) {
  struct Case {
    int32_t w, h, filter, integer;
  };
  const Case cases[] = {
      {640, 480, PRESENT_FILTER_AUTO, 0},     {1280, 960, PRESENT_FILTER_SHARP, 0},
      {1366, 768, PRESENT_FILTER_SHARP, 0},   {1920, 1080, PRESENT_FILTER_SHARP, 0},
      {1920, 1080, PRESENT_FILTER_AUTO, 0},   {1920, 1080, PRESENT_FILTER_AUTO, 1},
      {500, 400, PRESENT_FILTER_SHARP, 0},
  };
  const int32_t pitch = 704;  // wider than the picture: rows must be read at the pitch
  Picture p(pitch);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " filter " << c.filter << " integer " << c.integer);
    platform_configure_video(1, c.integer);
    present_set_filter(c.filter);
    ASSERT_EQ(present_set_window_size(c.w, c.h), 1);
    p.present();
    ScalePlan plan;
    ASSERT_TRUE(present_current_plan(&plan));
    const ScalePlan expected = scale_plan(c.w, c.h, 640, 480, c.integer ? SCALE_INTEGER : SCALE_FIT,
                                          c.filter == PRESENT_FILTER_AUTO, 0);
    EXPECT_EQ((std::vector<int32_t>{plan.x, plan.y, plan.w, plan.h}),
              (std::vector<int32_t>{expected.x, expected.y, expected.w, expected.h}));
    EXPECT_EQ(plan.smooth, expected.smooth);
    const int32_t x0 = plan.x, y0 = plan.y, x1 = plan.x + plan.w - 1, y1 = plan.y + plan.h - 1;
    EXPECT_EQ(shown_at(x0, y0), colour(p.palette[2]));
    if (plan.w >= 640) {
      EXPECT_EQ(shown_at(x1, y1), colour(p.palette[3]));
    } else {  // shrunk: a lone pixel is blended into its neighbours
      EXPECT_TRUE(between(shown_at(x1, y1), colour(p.palette[3]), colour(p.palette[1])));
    }
    EXPECT_EQ(shown_at(x0 + plan.w / 2, y0 + plan.h / 2), colour(p.palette[1]));
    if (x0 > 0) {
      EXPECT_EQ(shown_at(x0 - 1, y0 + plan.h / 2), BLACK);
    }
    if (y0 > 0) {
      EXPECT_EQ(shown_at(x0 + plan.w / 2, y0 - 1), BLACK);
    }
    if (x1 + 1 < c.w) {
      EXPECT_EQ(shown_at(x1 + 1, y0 + plan.h / 2), BLACK);
    }
    if (y1 + 1 < c.h) {
      EXPECT_EQ(shown_at(x0 + plan.w / 2, y1 + 1), BLACK);
    }
    // Along the top row, from the 2-pixel block into the rest: which columns are neither.
    const int32_t block_end = 2 * plan.w / 640;  // where the block's edge falls
    int32_t mixed = 0;
    for (int32_t x = x0; x <= x0 + block_end + 2; ++x) {
      const std::vector<int> c2 = colour(p.palette[2]), c1 = colour(p.palette[1]), got = shown_at(x, y0);
      if (got == c2 || got == c1) continue;
      EXPECT_TRUE(between(got, c2, c1)) << "column " << x - x0 << " is not a blend of its neighbours";
      ++mixed;
    }
    EXPECT_LE(mixed, plan.smooth ? 1 : 0);
    if (!plan.smooth && plan.w % 640 == 0) {
      const int32_t k = plan.w / 640;  // exact squares of k x k
      EXPECT_EQ(shown_at(x0 + 2 * k - 1, y0 + 2 * k - 1), colour(p.palette[2]));
      EXPECT_EQ(shown_at(x0 + 2 * k, y0), colour(p.palette[1]));
    }
  }
}

TEST_F(Display, UnchangedFramesAreNotDrawnAgainUntilSomethingChanges) {
  platform_configure_video(1, 0);
  ASSERT_EQ(present_set_window_size(800, 600), 1);
  Picture p(640);
  p.present();
  const PresentCounts start = present_counts();
  auto shown_since = [&] { return present_counts().shown - start.shown; };
  p.present();
  p.present();
  EXPECT_EQ(shown_since(), 0u);
  EXPECT_EQ(present_counts().unchanged - start.unchanged, 2u);
  p.palette[1][0] = 1, p.palette[1][1] = 2, p.palette[1][2] = 3;  // a new palette alone changes the colours
  p.present();
  EXPECT_EQ(shown_since(), 1u);
  EXPECT_EQ(shown_at(400, 300), (std::vector<int>{1, 2, 3}));
  p.pixels[static_cast<size_t>(240) * 640 + 320] = 2;  // one pixel: only its rows are drawn again
  p.present();
  EXPECT_EQ(shown_since(), 2u);
  EXPECT_EQ(shown_at(400, 300), colour(p.palette[2]));  // 1.25x: picture (320, 240) under output (400, 300)
  EXPECT_EQ(shown_at(400, 310), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(shown_at(0, 0), colour(p.palette[2]));
  EXPECT_EQ(shown_at(799, 599), colour(p.palette[3]));
  ASSERT_EQ(present_set_window_size(1024, 768), 1);  // the window changed: drawn again, bigger
  p.present();
  EXPECT_EQ(shown_since(), 3u);
  EXPECT_EQ(shown_at(1023, 767), colour(p.palette[3]));
  p.present();
  EXPECT_EQ(shown_since(), 3u);
  EXPECT_EQ(present_vsync_trusted(), 0);  // the software renderer never waits for a blank
  EXPECT_EQ(platform_has_focus(), 1);      // the dummy driver has no focus to lose
}

// The frame on screen is known by its rows' hashes: any one changed pixel, and two pixels of a
// row swapped, count as a change; bytes past the picture's width in a row never do.
TEST_F(Display, AnyChangedPixelIsFoundAndPaddingIsNot) {
  platform_configure_video(1, 0);
  Picture p(704);
  p.present();
  p.present();  // the first frame's follow-ups (full screen) are over
  auto would_draw = [&] { return present_would_draw(p.pixels.data(), p.pitch, p.palette); };
  ASSERT_EQ(would_draw(), 0);
  for (int32_t y : {0, 1, 240, 479}) {
    for (int32_t x = 0; x < 640; ++x) {
      uint8_t& px = p.pixels[static_cast<size_t>(y) * p.pitch + x];
      const uint8_t was = px;
      for (uint8_t flip : {uint8_t{1}, uint8_t{0x80}}) {
        px = static_cast<uint8_t>(was ^ flip);
        ASSERT_EQ(would_draw(), 1) << x << "," << y << " ^" << int(flip);
      }
      px = was;
    }
    p.pixels[static_cast<size_t>(y) * p.pitch + 650] = 77;  // past the width: not shown
  }
  EXPECT_EQ(would_draw(), 0);
  std::swap(p.pixels[0], p.pixels[2]);  // a 2 and a 1 change places
  EXPECT_EQ(would_draw(), 1);
}

// A frame that says what it changed is taken at its word, at 1:1 and enlarged: its spans are
// drawn, a change it leaves out is not looked for, and an empty record shows nothing new.
TEST_F(Display, AFramesRecordOfItsChangesIsDrawnAndNothingElse) {
  platform_configure_video(1, 0);
  for (const auto& [w, h] : {std::pair{640, 480}, std::pair{800, 600}}) {
    ASSERT_EQ(present_set_window_size(w, h), 1);
    Picture p(640);
    p.present();
    const PresentCounts start = present_counts();
    FrameChanges record;
    frame_changes_reset(&record, 640, 480);
    frame_changes_add(&record, 100, 100, 101, 101);
    p.pixels[static_cast<size_t>(100) * 640 + 100] = 2;
    p.pixels[static_cast<size_t>(300) * 640 + 500] = 2;  // changed, but not in the record
    platform_present_changes(p.pixels.data(), p.pitch, p.palette, &record);
    const auto at = [&](int32_t x, int32_t y) { return shown_at(x * w / 640, y * h / 480); };
    EXPECT_EQ(at(100, 100), colour(p.palette[2])) << w;
    EXPECT_EQ(at(500, 300), colour(p.palette[1])) << w;
    EXPECT_EQ(at(0, 0), colour(p.palette[2])) << w;  // untouched parts stay as shown
    frame_changes_reset(&record, 640, 480);
    platform_present_changes(p.pixels.data(), p.pitch, p.palette, &record);
    EXPECT_EQ(present_counts().unchanged - start.unchanged, 1u) << w;
    frame_changes_add(&record, 480, 290, 520, 310);
    platform_present_changes(p.pixels.data(), p.pitch, p.palette, &record);
    EXPECT_EQ(at(500, 300), colour(p.palette[2])) << w;
    EXPECT_EQ(shown_at(w - 1, h - 1), colour(p.palette[3])) << w;
    EXPECT_EQ(present_counts().shown - start.shown, 2u) << w;
    // Without a record the rows are compared again, as for any frame.
    p.pixels[static_cast<size_t>(400) * 640 + 40] = 2;
    p.present();
    EXPECT_EQ(at(40, 400), colour(p.palette[2])) << w;
    // A row a record changed is not known by its old look: put back as it was before the
    // record, and presented without one, it is drawn again.
    p.pixels[static_cast<size_t>(100) * 640 + 100] = 1;
    p.present();
    EXPECT_EQ(at(100, 100), colour(p.palette[1])) << w;
    p.pixels[static_cast<size_t>(100) * 640 + 100] = 2;
    frame_changes_reset(&record, 640, 480);
    frame_changes_add(&record, 100, 100, 101, 101);
    platform_present_changes(p.pixels.data(), p.pitch, p.palette, &record);
    EXPECT_EQ(at(100, 100), colour(p.palette[2])) << w;
    p.pixels[static_cast<size_t>(100) * 640 + 100] = 1;
    p.present();
    EXPECT_EQ(at(100, 100), colour(p.palette[1])) << w;
  }
}

// A notice over frames whose records say nothing changed: drawn while it shows, and gone without
// a trace once it goes, at 1:1 and enlarged.
TEST_F(Display, ANoticeComesAndGoesOverRecordedFramesWithoutLeavingStalePixels) {
  platform_configure_video(1, 0);
  StorageEnvironment env;  // the notice's text needs the glyph table
  env.data_option = ZORVANE_DATA_DIR;
  storage_configure(env);
  glyphs_forget();
  for (const auto& [w, h] : {std::pair{640, 480}, std::pair{800, 600}}) {
    ASSERT_EQ(present_set_window_size(w, h), 1);
    Picture p(640);
    p.present();
    const std::vector<int> plain = colour(p.palette[1]);
    const int32_t x = (NOTICE_X + 3) * w / 640, y = (NOTICE_Y + 3) * h / 480;
    ASSERT_EQ(shown_at(x, y), plain) << w;
    FrameChanges nothing;
    frame_changes_reset(&nothing, 640, 480);
    const auto present_nothing_changed = [&] { platform_present_changes(p.pixels.data(), p.pitch, p.palette, &nothing); };
    notice_post("Sound off", platform_ticks() - NOTICE_MS + 150);  // goes within a few frames
    ASSERT_NE(notice_at(platform_ticks()), nullptr);
    const uint64_t shown_before = present_counts().shown;
    present_nothing_changed();
    EXPECT_NE(shown_at(x, y), plain) << w;  // the notice's box over the picture
    uint64_t presents = 1;
    while (notice_at(platform_ticks()) != nullptr && presents < 1000) present_nothing_changed(), ++presents;
    ASSERT_EQ(notice_at(platform_ticks()), nullptr) << w;
    EXPECT_GE(present_counts().shown - shown_before, presents) << w;  // each drawn whole while it showed
    present_nothing_changed();
    EXPECT_EQ(shown_at(x, y), plain) << w;
    const uint64_t unchanged_before = present_counts().unchanged;
    present_nothing_changed();
    EXPECT_EQ(present_counts().unchanged - unchanged_before, 1u) << w;
    EXPECT_EQ(shown_at(x, y), plain) << w;
  }
  notice_reset();
  storage_use_current_folder();
  glyphs_forget();
}

// Runs body with these environment variables set (null: unset), then restores them.
template <class Body>
void with_env(const std::vector<std::pair<const char*, const char*>>& vars, Body body) {
  std::vector<std::pair<std::string, std::string>> saved;
  std::vector<std::string> was_unset;
  for (const auto& [name, value] : vars) {
    if (const char* old = std::getenv(name)) saved.emplace_back(name, old); else was_unset.emplace_back(name);
    if (value) setenv(name, value, 1); else unsetenv(name);
  }
  body();
  for (const auto& [name, value] : saved) setenv(name.c_str(), value.c_str(), 1);
  for (const std::string& name : was_unset) unsetenv(name.c_str());
}

TEST(NoDisplay, NoWindowAndOneLineSayingWhatWasTriedAndWhatToDo) {
  struct Case {
    const char *videodriver, *display, *wayland;
    std::vector<const char*> said;
  };
  const Case cases[] = {
      // Never SDL's offscreen fallback: nothing to connect to is an error.
      {nullptr, nullptr, nullptr, {"DISPLAY", "WAYLAND_DISPLAY", "ssh -X"}},
      {nullptr, ":9917", nullptr, {"DISPLAY=:9917", "display server"}},
      {nullptr, nullptr, "wayland-zorvane-none", {"WAYLAND_DISPLAY=wayland-zorvane-none"}},
      {"no-such-driver", nullptr, nullptr, {"\"no-such-driver\"", "SDL_VIDEODRIVER"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.display ? c.display : "-") << " " << (c.wayland ? c.wayland : "-"));
    with_env({{"SDL_VIDEODRIVER", c.videodriver}, {"DISPLAY", c.display}, {"WAYLAND_DISPLAY", c.wayland}}, [&] {
      EXPECT_EQ(platform_window_create("Marrowin"), 0);
      const std::string error = platform_window_error();
      for (const char* s : c.said) EXPECT_NE(error.find(s), std::string::npos) << error;
      EXPECT_EQ(error.find('\n'), std::string::npos);
    });
  }
  ASSERT_NE(platform_window_create("Marrowin"), 0);  // the dummy driver, asked for, still works
  EXPECT_STREQ(platform_window_error(), "");
  platform_window_destroy();
}

}  // namespace
