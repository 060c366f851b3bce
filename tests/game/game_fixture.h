// A started program in a private folder, to play the game screen frame by frame through the
// fake platform. The generated pictures, sounds and font are linked in from the data folder when
// it has them; any game sound it lacks is written as a short silent WAV so sound assertions hold.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app.h"
#include "display/display.h"
#include "display/draw.h"
#include "display/palette.h"
#include "game/game.h"
#include "game/hud.h"
#include "game/temp_dir.h"
#include "platform/fake/fake_platform.h"
#include "sound/sound.h"
#include "sound/wave.h"

class GameScreen : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    if (HasFatalFailure()) return;
    namespace fs = std::filesystem;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(ZORVANE_DATA_DIR, ec))
      if (e.is_regular_file() && e.path().filename() != "scores.dat")
        fs::create_symlink(e.path(), dir_ / e.path().filename(), ec);
    const WaveFormat silence{WAVE_FORMAT_PCM, 1, 11025, 22050, 2, 16, 0};
    const std::vector<uint8_t> samples(220, 0);
    for (int32_t id = SND_BEEP_ARCADE; id <= SND_MENUSELECT; ++id)
      if (!fs::exists(sound_file_name(id), ec)) wav_save_whole(sound_file_name(id), 220, 110, &silence, samples.data());
    fake_reset();
    app_window = app_instance = 1;
    ASSERT_EQ(app_startup(), 1);
    started_ = true;
    screen_state = SCREEN_GAME;
    fake_keep_frames(2);
    fake_clear_sound_plays();
  }

  void TearDown() override {
    fake_on_present(nullptr);
    fake_on_key_query(nullptr);
    fake_release_all_keys();
    if (started_) app_shutdown();
    TempDirTest::TearDown();
  }

  static void run_frames(int n) {
    while (n-- > 0) game_run_frame();
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

  // One exact entry per text colour; every other entry a dull blue that no text colour is near.
  enum : uint8_t { IX_WHITE = 1, IX_YELLOW, IX_RED, IX_GREY, IX_VIOLET, IX_PALE_YELLOW, IX_MAGENTA, IX_ORANGE };
  static void set_counting_palette() {
    PALETTEENTRY p[256];
    for (PALETTEENTRY& e : p) e = PALETTEENTRY{20, 30, 90, PC_NOCOLLAPSE};
    const COLORREF exact[] = {COLOUR_BLACK, COLOUR_WHITE, COLOUR_YELLOW,      COLOUR_RED,    COLOUR_GREY,
                              COLOUR_VIOLET, COLOUR_PALE_YELLOW, COLOUR_MAGENTA, COLOUR_ORANGE};
    for (int i = 0; i < 9; ++i)
      p[i] = PALETTEENTRY{static_cast<uint8_t>(exact[i]), static_cast<uint8_t>(exact[i] >> 8),
                          static_cast<uint8_t>(exact[i] >> 16), PC_NOCOLLAPSE};
    palette_set_all(p);
  }

  static int32_t count_index(const FakeFrame& f, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t index) {
    int32_t n = 0;
    for (int32_t y = y0; y < y1; ++y)
      for (int32_t x = x0; x < x1; ++x) n += f.at(x, y) == index;
    return n;
  }

  // Pixels around the ink of a text where the frame and a drawing of that text alone disagree
  // about the text's colour: 0 when exactly that text is shown there (-1: no font).
  static int32_t text_mismatch(const FakeFrame& f, const char* text, int32_t x, int32_t y, COLORREF colour) {
    display_fill(display_back, 0);
    draw_text(text, x, y, colour, display_back);
    const uint8_t index = palette_nearest(colour);
    auto ref = [](int32_t xx, int32_t yy) { return display_back->pixels[yy * display_back->pitch + xx]; };
    int32_t left = 640, right = -1, top = 480, bottom = -1;
    for (int32_t yy = y; yy < y + 20 && yy < 480; ++yy)
      for (int32_t xx = x; xx < 640; ++xx)
        if (ref(xx, yy) == index) {
          left = std::min(left, xx), right = std::max(right, xx);
          top = std::min(top, yy), bottom = std::max(bottom, yy);
        }
    if (right < 0) return -1;
    int32_t wrong = 0;
    for (int32_t yy = top - 1; yy <= bottom + 1 && yy < 480; ++yy)
      for (int32_t xx = left - 1; xx <= right + 1 && xx < 640; ++xx) wrong += (f.at(xx, yy) == index) != (ref(xx, yy) == index);
    return wrong;
  }

  static bool have_font() { return platform_glyph('A') != nullptr && platform_glyph('A')->mask != nullptr; }

  // With ZORVANE_GAME_FRAMES set to a folder, the last frame goes there for a person to look at.
  static void keep_frame(const char* name) {
    const char* folder = std::getenv("ZORVANE_GAME_FRAMES");
    if (folder != nullptr && fake_frame_count() > 0)
      fake_save_frame(fake_last_frame(), std::string(folder) + "/" + name + ".ppm");
  }

  bool started_ = false;
};
