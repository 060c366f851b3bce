// Shared set-up of the enemy tests: an empty level in play, in a temporary working folder that
// holds tiny sound files, so that the sounds the enemies play reach the fake platform's log.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>

#include "enemies/fuse.h"
#include "enemies/qix.h"
#include "common/random.h"
#include "enemies/sparx.h"
#include "game/game.h"
#include "platform/fake/fake_platform.h"
#include "world.h"
#include "playfield/player.h"
#include "playfield/playfield.h"
#include "sound/sound.h"
#include "sound/wave.h"

// The generator written out from its formula, so that the tests do not check the game against itself.
struct ReferenceRandom {
  uint32_t state;
  int32_t next() { return static_cast<int32_t>(((state = state * 214013u + 2531011u) >> 16) & 0x7FFF); }
  int32_t below(int32_t n) { return static_cast<int32_t>(next() * n / 32768.0); }
};

// x, y and direction of a Sparx or the Fuse.
using At = std::array<int32_t, 3>;

class EnemiesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_reset();
    home_ = std::filesystem::current_path();
    dir_ = std::filesystem::temp_directory_path() / ("zorvane_enemies_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
    const WaveFormat format = {WAVE_FORMAT_PCM, 1, 11025, 11025, 1, 8, 0};
    const uint8_t samples[4] = {128, 150, 128, 106};
    for (int32_t id = SND_BEEP_ARCADE; id <= SND_MENUSELECT; ++id)
      ASSERT_EQ(wav_save_whole(sound_file_name(id), 4, 4, &format, samples), 0);
    sound_init();
    playfield_reset();
    game_phase = PHASE_PLAYING;
    player_x = 100, player_y = 468;  // on the bottom border, out of everyone's way
    player_drawing = 0;
    stix_start_x = PLAYER_START_X, stix_start_y = PLAYER_START_Y;
    qix_captured = 0;
    fuse.state = 0;
  }
  void TearDown() override {
    sound_shutdown();
    std::filesystem::current_path(home_);
    std::filesystem::remove_all(dir_);
  }
  static int32_t plays_of(const char* file) {
    const auto labels = fake_sound_labels();
    return static_cast<int32_t>(std::count(labels.begin(), labels.end(), std::string(file)));
  }
  // Every cell of the rectangle from (x0, y0) to (x1, y1) inclusive.
  static void paint(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t code) {
    for (int32_t y = y0; y <= y1; ++y)
      for (int32_t x = x0; x <= x1; ++x) playfield_cell(x, y) = code;
  }

  std::filesystem::path home_, dir_;
};
