// A sound engine on the fake platform, working in a folder of its own where the tests put the
// game's sound files.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/fake/fake_platform.h"
#include "sound/sound.h"
#include "wav_bytes.h"

class SoundEngineTest : public testing::Test {
 protected:
  void SetUp() override {
    sound_shutdown();
    fake_reset();
    home_ = std::filesystem::current_path();
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    const auto dir = std::filesystem::path(scratch_dir()) / (std::string(info->test_suite_name()) + "." + info->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
  }
  void TearDown() override {
    sound_shutdown();
    std::filesystem::current_path(home_);
  }
  void start_device() { ASSERT_EQ(sound_init(1, 0, nullptr), 1); }

  // A mono sound file of the given length, its samples a pattern; returns the samples.
  static Bytes make_sound(const char* name, uint32_t ms, uint16_t bits = 8, uint32_t rate = 8000, uint32_t seed = 1) {
    const Bytes samples = pattern(static_cast<size_t>(rate) * (bits / 8) * ms / 1000, seed);
    write_file(name, pcm_wave(1, rate, bits, samples));
    return samples;
  }

 private:
  std::filesystem::path home_;
};
