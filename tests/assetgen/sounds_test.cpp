// The sixteen sounds as the game reads them: valid 16-bit mono PCM through its own WAVE
// reader, of a fitting length, with headroom and without clicks at either end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "asset_files.h"
#include "sound/sound.h"
#include "sound/wave.h"

namespace {

TEST(Sounds, EveryFileIsShortPcmWithHeadroomAndQuietEnds) {
  for (int32_t id = 1; id <= SOUND_COUNT; ++id) {
    const SoundSpec& snd = SOUNDS[id - 1];
    SCOPED_TRACE(snd.file_name);
    EXPECT_STREQ(snd.file_name, sound_file_name(id));  // the game asks for them by id
    uint32_t size = 0;
    WaveFormat* format = nullptr;
    uint8_t* bytes = nullptr;
    ASSERT_EQ(wav_load_whole((generated_dir() + "/" + snd.file_name).c_str(), &size, &format, &bytes), 0);
    const WaveFormat f = *format;
    std::vector<int16_t> v(size / 2);
    for (size_t i = 0; i < v.size(); ++i) v[i] = static_cast<int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    std::free(format);
    std::free(bytes);
    EXPECT_EQ(f.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(f.nChannels, 1);
    EXPECT_EQ(f.wBitsPerSample, 16);
    EXPECT_EQ(f.nSamplesPerSec, 22050u);
    EXPECT_EQ(f.nBlockAlign, 2);
    EXPECT_EQ(f.nAvgBytesPerSec, 44100u);
    ASSERT_GE(v.size(), static_cast<size_t>(0.05f * 22050));
    EXPECT_LE(v.size(), static_cast<size_t>(2.5f * 22050));
    int32_t peak = 0;
    for (int16_t s : v) peak = std::max(peak, std::abs(static_cast<int32_t>(s)));
    EXPECT_LE(peak, 23197);  // -3 dBFS
    EXPECT_GE(peak, 10000);  // and not nearly silent
    // No click: silent first and last samples, and no faster than silence to full scale in 2 ms.
    EXPECT_EQ(v.front(), 0);
    EXPECT_EQ(v.back(), 0);
    for (size_t i = 0; i < 44; ++i) {
      const int32_t bound = static_cast<int32_t>(32767 * i / 44);
      EXPECT_LE(std::abs(v[i]), bound) << "sample " << i;
      EXPECT_LE(std::abs(v[v.size() - 1 - i]), bound) << "sample from the end " << i;
    }
    EXPECT_EQ(v, snd.make());  // the file holds what the synthesiser made
  }
}

// Pictures and sounds alike: a second generation writes the same bytes, and the build's data
// folder holds exactly them.
TEST(Generation, TheSameBytesEveryTimeAndInTheBuildsDataFolder) {
  const std::string again = asset_temp_dir("again");
  ASSERT_EQ(assetgen_write_pictures(again.c_str()), 1);
  ASSERT_EQ(assetgen_write_sounds(again.c_str()), 1);
  std::vector<std::string> names;
  for (const PictureSpec& pic : PICTURES) names.push_back(pic.file_name);
  for (const SoundSpec& snd : SOUNDS) names.push_back(snd.file_name);
  for (const std::string& name : names) {
    const std::vector<uint8_t> a = file_bytes(generated_dir() + "/" + name);
    ASSERT_FALSE(a.empty()) << name;
    EXPECT_EQ(a, file_bytes(again + "/" + name)) << name;
    EXPECT_EQ(a, file_bytes(std::string(ZORVANE_DATA_DIR) + "/" + name)) << name;
  }
  std::filesystem::remove_all(again);
}

}  // namespace
