// The sixteen sounds as the game reads them: valid 16-bit mono PCM through its own WAVE
// reader, of a fitting length, with headroom and without clicks at either end.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "asset_files.h"
#include "sound/sound.h"
#include "sound/wave.h"

namespace {

struct Samples {
  std::vector<int16_t> values;
  WaveFormat format{};
};

bool read_sound(const std::string& path, Samples* out) {
  uint32_t size = 0;
  WaveFormat* format = nullptr;
  uint8_t* bytes = nullptr;
  if (wav_load_whole(path.c_str(), &size, &format, &bytes) != 0) return false;
  out->format = *format;
  out->values.resize(size / 2);
  for (size_t i = 0; i < out->values.size(); ++i)
    out->values[i] = static_cast<int16_t>(static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
  std::free(format);
  std::free(bytes);
  return true;
}

// Zero crossings per second over a stretch: a rough measure of pitch.
float crossings_per_second(const std::vector<int16_t>& v, size_t from, size_t to) {
  int32_t n = 0;
  for (size_t i = from + 1; i < to; ++i) n += (v[i - 1] < 0) != (v[i] < 0);
  return static_cast<float>(n) * 22050.0f / static_cast<float>(to - from);
}

TEST(Sounds, OneFileForEachGameSoundInIdOrder) {
  for (int32_t id = 1; id <= 16; ++id) EXPECT_STREQ(SOUNDS[id - 1].file_name, sound_file_name(id)) << id;
}

TEST(Sounds, EveryFileIsQuietAtItsEndsWithHeadroomAndAFittingLength) {
  for (const SoundSpec& spec : SOUNDS) {
    Samples s;
    ASSERT_TRUE(read_sound(generated_dir() + "/" + spec.file_name, &s)) << spec.file_name;
    EXPECT_EQ(s.format.wFormatTag, WAVE_FORMAT_PCM) << spec.file_name;
    EXPECT_EQ(s.format.nChannels, 1) << spec.file_name;
    EXPECT_EQ(s.format.wBitsPerSample, 16) << spec.file_name;
    EXPECT_EQ(s.format.nSamplesPerSec, 22050u) << spec.file_name;
    EXPECT_EQ(s.format.nBlockAlign, 2) << spec.file_name;
    EXPECT_EQ(s.format.nAvgBytesPerSec, 44100u) << spec.file_name;
    const float seconds = static_cast<float>(s.values.size()) / 22050.0f;
    EXPECT_GE(seconds, 0.05f) << spec.file_name;
    EXPECT_LE(seconds, 2.5f) << spec.file_name;
    int32_t peak = 0;
    for (int16_t v : s.values) peak = std::max(peak, std::abs(static_cast<int32_t>(v)));
    EXPECT_LE(peak, 23197) << spec.file_name;  // -3 dBFS
    EXPECT_GE(peak, 10000) << spec.file_name;  // and not nearly silent
    // No click: silence at both ends and a gentle first and last few milliseconds.
    EXPECT_EQ(s.values.front(), 0) << spec.file_name;
    EXPECT_EQ(s.values.back(), 0) << spec.file_name;
    // No faster than from silence to full scale over 2 ms.
    for (size_t i = 0; i < 44; ++i) {
      const int32_t bound = static_cast<int32_t>(32767 * i / 44);
      EXPECT_LE(std::abs(s.values[i]), bound) << spec.file_name << " sample " << i;
      EXPECT_LE(std::abs(s.values[s.values.size() - 1 - i]), bound) << spec.file_name << " sample from the end " << i;
    }
    // The file holds what the synthesiser made.
    EXPECT_EQ(s.values, spec.make()) << spec.file_name;
  }
}

TEST(Sounds, TheSameBytesEveryTimeAndInTheBuildsDataFolder) {
  const std::string again = asset_temp_dir("sounds-again");
  ASSERT_EQ(assetgen_write_sounds(again.c_str()), 1);
  for (const SoundSpec& spec : SOUNDS) {
    const std::vector<uint8_t> a = file_bytes(generated_dir() + "/" + spec.file_name);
    ASSERT_FALSE(a.empty()) << spec.file_name;
    EXPECT_EQ(a, file_bytes(again + "/" + spec.file_name)) << spec.file_name;
    EXPECT_EQ(a, file_bytes(std::string(ZORVANE_DATA_DIR) + "/" + spec.file_name)) << spec.file_name;
  }
  std::filesystem::remove_all(again);
}

TEST(Sounds, SweepsGoTheWayTheirEventsDo) {
  const auto pitch_fall = [](const char* name) {
    Samples s;
    EXPECT_TRUE(read_sound(generated_dir() + "/" + name, &s));
    const size_t n = s.values.size();
    return crossings_per_second(s.values, 0, n / 4) / crossings_per_second(s.values, n / 2, 3 * n / 4);
  };
  // Falling: a life lost, the machine powering down, the link dropping.
  EXPECT_GT(pitch_fall("dying.wav"), 1.5f);
  EXPECT_GT(pitch_fall("shutdown.wav"), 1.5f);
  EXPECT_GT(pitch_fall("disconnect.wav"), 1.5f);
  // Rising: the link made.
  EXPECT_LT(pitch_fall("connect.wav"), 0.9f);
  // The menu tick is the shortest sound, the fuse's sizzle mostly hiss (many crossings).
  Samples tick, fuse;
  ASSERT_TRUE(read_sound(generated_dir() + "/menubrowse.wav", &tick));
  ASSERT_TRUE(read_sound(generated_dir() + "/fusehit.wav", &fuse));
  for (const SoundSpec& spec : SOUNDS) EXPECT_LE(tick.values.size(), spec.make().size());
  EXPECT_GT(crossings_per_second(fuse.values, 0, fuse.values.size()), 4000.0f);
}

}  // namespace
