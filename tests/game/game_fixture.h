// A private working folder per test, so scores.dat of one test never meets another's; and a
// started program in it, to play the game screen frame by frame through the fake platform.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "live_input.h"
#include "app/app.h"
#include "display/display.h"
#include "display/draw.h"
#include "display/palette.h"
#include "game/game.h"
#include "display/text.h"
#include "game/hud.h"
#include "platform/fake/fake_platform.h"
#include "world.h"

using Values = std::vector<int32_t>;

// The scores file of a test: in its own working folder, where the platform keeps it.
constexpr const char* HISCORE_FILE = "scores.dat";

inline std::string repeat(const std::string& s, int n) {
  std::string out;
  while (n-- > 0) out += s;
  return out;
}

class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zorvane-game-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(dir_, ec);
  }
  static void write_file(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
  }
  static std::string read_file(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::filesystem::path dir_, previous_;
};

class GameScreen : public TempDirTest {
 protected:
  // The generated pictures, sounds and font linked in; one palette entry per text colour, so
  // that each colour can be counted; every other entry a dull blue no text colour is near.
  void SetUp() override {
    TempDirTest::SetUp();
    if (HasFatalFailure()) return;
    for (const auto& e : std::filesystem::directory_iterator(ZORVANE_DATA_DIR))
      if (e.path().filename() != "scores.dat") std::filesystem::create_symlink(e.path(), dir_ / e.path().filename());
    fake_reset();
    game_set_now(platform_time_seconds());
    ASSERT_EQ(app_startup(), 1);
    started_ = true;
    screen_state = SCREEN_GAME;
    fake_keep_frames(2);
    fake_clear_sound_plays();
    PALETTEENTRY p[256];
    std::fill(std::begin(p), std::end(p), PALETTEENTRY{20, 30, 90, PC_NOCOLLAPSE});
    const COLORREF exact[] = {COLOUR_BLACK, COLOUR_WHITE,       COLOUR_YELLOW,  COLOUR_RED,   COLOUR_GREY,
                              COLOUR_VIOLET, COLOUR_PALE_YELLOW, COLOUR_MAGENTA, COLOUR_ORANGE};
    for (int i = 0; i < 9; ++i)
      p[i] = PALETTEENTRY{uint8_t(exact[i]), uint8_t(exact[i] >> 8), uint8_t(exact[i] >> 16), PC_NOCOLLAPSE};
    palette_set_all(p);
  }
  enum : uint8_t { IX_WHITE = 1, IX_YELLOW, IX_RED };

  void TearDown() override {
    fake_on_present(nullptr);
    fake_on_key_query(nullptr);
    fake_release_all_keys();
    if (started_) app_shutdown();
    TempDirTest::TearDown();
  }

  static void run_frames(int n) {
    while (n-- > 0) game_run_frame(live_input());
  }
  // Holds exactly these keys through n frames.
  static void frames_with(std::initializer_list<int32_t> keys, int n = 1) {
    for (int32_t k : keys) fake_set_key(k, true);
    run_frames(n);
    fake_release_all_keys();
  }
  // The sounds played since the last call.
  static std::vector<std::string> take_sounds() {
    std::vector<std::string> labels = fake_sound_labels();
    fake_clear_sound_plays();
    return labels;
  }
  static int32_t count_index(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t index) {
    int32_t n = 0;
    for (int32_t y = y0; y < y1; ++y)
      for (int32_t x = x0; x < x1; ++x) n += fake_last_frame().at(x, y) == index;
    return n;
  }
  // Pixels around the ink of a text where the last frame and a drawing of that text alone
  // disagree about the text's colour: 0 when exactly that text is shown there (-1: no ink).
  static int32_t shown(const char* text, int32_t x, int32_t y, COLORREF colour) {
    display_fill(display.display_back, 0);
    draw_text(text, x, y, colour, display.display_back);
    const uint8_t index = palette_nearest(colour);
    auto ink = [&](int32_t xx, int32_t yy) { return display.display_back->pixels[yy * display.display_back->pitch + xx] == index; };
    int32_t left = 640, right = -1, top = 480, bottom = -1;
    for (int32_t yy = y; yy < std::min(y + 20, 480); ++yy)
      for (int32_t xx = x; xx < 640; ++xx)
        if (ink(xx, yy)) left = std::min(left, xx), right = std::max(right, xx), top = std::min(top, yy), bottom = yy;
    if (right < 0) return -1;
    int32_t wrong = 0;
    for (int32_t yy = top - 1; yy <= std::min(bottom + 1, 479); ++yy)
      for (int32_t xx = left - 1; xx <= std::min(right + 1, 639); ++xx)
        wrong += (fake_last_frame().at(xx, yy) == index) != ink(xx, yy);
    return wrong;
  }

  bool started_ = false;
};
