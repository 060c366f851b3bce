// The browser's conversion of the game's PCM to the mixer's format: length (pitch), sample
// scaling, channels, and refusal of formats it cannot take.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/common/pcm_convert.h"

namespace {

constexpr int32_t DEVICE = 44100;

// Rising zero crossings of the left channel: the pitch survives conversion if their count does.
int32_t rising_crossings(const std::vector<int16_t>& stereo) {
  int32_t n = 0;
  for (size_t i = 2; i < stereo.size(); i += 2)
    if (stereo[i - 2] < 0 && stereo[i] >= 0) ++n;
  return n;
}

TEST(PcmConvert, OneSecondAtAnyRateLastsOneSecondAtThePitchItHad) {
  for (int32_t rate : {8000, 11025, 22050, 44100, 48000, 96000}) {
    SCOPED_TRACE(rate);
    // One second of a 441 Hz tone, 16-bit mono.
    std::vector<uint8_t> bytes;
    for (int32_t i = 0; i < rate; ++i) {
      const int16_t s = static_cast<int16_t>(12000 * std::sin(2 * M_PI * 441.0 * (i + 0.5) / rate));
      bytes.push_back(static_cast<uint8_t>(s & 0xff));
      bytes.push_back(static_cast<uint8_t>((s >> 8) & 0xff));
    }
    std::vector<int16_t> out;
    ASSERT_TRUE(pcm_convert_stereo16(bytes.data(), static_cast<uint32_t>(rate), PcmFormat{1, rate, 16}, DEVICE, &out));
    EXPECT_EQ(out.size(), static_cast<size_t>(DEVICE) * 2);
    EXPECT_NEAR(rising_crossings(out), 441, 1);
    for (size_t i = 0; i < out.size(); i += 2) ASSERT_EQ(out[i], out[i + 1]);  // mono on both sides
  }
}

TEST(PcmConvert, SamplesKeepTheirLevelsAndChannels) {
  // 8-bit: 0x80 is silence, 0 the lowest, 255 the highest; 16-bit stereo keeps left and right.
  const uint8_t eight[] = {0x80, 0x00, 0xff};
  std::vector<int16_t> out;
  ASSERT_TRUE(pcm_convert_stereo16(eight, 3, PcmFormat{1, DEVICE, 8}, DEVICE, &out));
  EXPECT_EQ(out, (std::vector<int16_t>{0, 0, -32768, -32768, 32512, 32512}));
  const uint8_t stereo[] = {0x00, 0x80, 0xff, 0x7f, 0x34, 0x12, 0xcc, 0xed};  // (-32768, 32767), (0x1234, -0x1234)
  ASSERT_TRUE(pcm_convert_stereo16(stereo, 2, PcmFormat{2, DEVICE, 16}, DEVICE, &out));
  EXPECT_EQ(out, (std::vector<int16_t>{-32768, 32767, 0x1234, -0x1234}));
  // A single frame at a low rate still gives sound, and never reads past its one frame.
  ASSERT_TRUE(pcm_convert_stereo16(stereo, 1, PcmFormat{2, 8000, 16}, DEVICE, &out));
  EXPECT_EQ(out.size(), 5u * 2);
  EXPECT_EQ(out[8], -32768);
}

TEST(PcmConvert, FormatsItCannotTakeAreRefused) {
  const uint8_t bytes[4] = {};
  std::vector<int16_t> out{1, 2};
  EXPECT_FALSE(pcm_convert_stereo16(bytes, 1, PcmFormat{3, DEVICE, 16}, DEVICE, &out));
  EXPECT_FALSE(pcm_convert_stereo16(bytes, 1, PcmFormat{1, DEVICE, 24}, DEVICE, &out));
  EXPECT_FALSE(pcm_convert_stereo16(bytes, 1, PcmFormat{1, 0, 16}, DEVICE, &out));
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(pcm_converted_frames(0, 8000, DEVICE), 0u);
}

}  // namespace
