// The streamed sound: silence first, then each half refilled from the file once the play
// position has left it, looping back to the file's first sample.
#include <climits>

#include "engine_fixture.h"
#include "platform/platform.h"
#include "sound/sound_stream.h"

namespace {

using SoundStreamTest = SoundEngineTest;

Bytes slice(const Bytes& b, size_t from, size_t to) { return Bytes(b.begin() + from, b.begin() + to); }
Bytes join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

TEST_F(SoundStreamTest, SilenceMatchesTheSampleWidth) {
  start_device();
  const PcmFormat eight{1, 8000, 8}, sixteen{2, 8000, 16};
  for (const PcmFormat& f : {eight, sixteen}) {
    const int32_t buffer = platform_audio_buffer_create(&f, 1000, "test");
    uint32_t n = 0;
    uint8_t* p = platform_audio_buffer_lock(buffer, 0, 0, &n);
    std::fill(p, p + n, 0x55);
    platform_audio_buffer_unlock(buffer);
    ASSERT_EQ(sound_stream_silence(buffer), 1);
    EXPECT_EQ(fake_audio_buffer_bytes(buffer), Bytes(1000, f.bits_per_sample == 8 ? 0x80 : 0x00));
  }
  EXPECT_EQ(sound_stream_silence(999), 0);

  make_sound("music.wav", 3000);
  ASSERT_EQ(sound_stream_open("music.wav"), 1);
  EXPECT_EQ(fake_audio_buffer_bytes(sound_stream.buffer), Bytes(16000, 0x80));
  ASSERT_EQ(fake_sound_plays().size(), 1u);
  EXPECT_EQ(fake_sound_plays()[0].label, "music.wav");
  EXPECT_EQ(fake_sound_plays()[0].looping, 1);
}

TEST_F(SoundStreamTest, RefillsTheHalfJustPlayedAndLoopsTheFile) {
  start_device();
  const Bytes f = make_sound("music.wav", 2500);  // 20000 bytes at 8000 bytes a second
  ASSERT_EQ(sound_stream_open("music.wav"), 1);
  ASSERT_EQ(sound_stream.half_size, 8000u);
  const int32_t b = sound_stream.buffer;
  const Bytes silent_half(8000, 0x80);

  EXPECT_EQ(sound_stream_service(), 1);
  fake_advance_ms(500);
  EXPECT_EQ(sound_stream_service(), 1);
  EXPECT_EQ(fake_audio_buffer_bytes(b), Bytes(16000, 0x80));

  fake_advance_ms(500);  // into the second half: the first is refilled
  sound_stream_service();
  EXPECT_EQ(fake_audio_buffer_bytes(b), join({slice(f, 0, 8000), silent_half}));

  fake_advance_ms(500);
  sound_stream_service();
  fake_advance_ms(500);  // wrapped to the first half: the second is refilled
  sound_stream_service();
  EXPECT_EQ(fake_audio_buffer_bytes(b), join({slice(f, 0, 8000), slice(f, 8000, 16000)}));

  fake_advance_ms(1000);  // the file ends inside this half and starts over
  sound_stream_service();
  EXPECT_EQ(fake_audio_buffer_bytes(b), join({slice(f, 16000, 20000), slice(f, 0, 4000), slice(f, 8000, 16000)}));
}

TEST_F(SoundStreamTest, AFileShorterThanTheHalfLeavesTheRestAsItWas) {
  start_device();
  const Bytes f = make_sound("short.wav", 375);  // 3000 bytes
  ASSERT_EQ(sound_stream_open("short.wav"), 1);
  fake_advance_ms(1000);
  sound_stream_service();
  EXPECT_EQ(fake_audio_buffer_bytes(sound_stream.buffer), join({f, f, Bytes(10000, 0x80)}));
}

TEST_F(SoundStreamTest, AFailedRewindIsReportedAndLeavesTheHalf) {
  start_device();
  const Bytes f = make_sound("music.wav", 625);  // 5000 bytes
  ASSERT_EQ(sound_stream_open("music.wav"), 1);
  sound_stream.riff.dwDataOffset = 10'000'000;
  fake_advance_ms(1000);
  testing::internal::CaptureStderr();
  EXPECT_EQ(sound_stream_service(), 1);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Can't reset file.\n"), std::string::npos);
  EXPECT_EQ(fake_audio_buffer_bytes(sound_stream.buffer), join({f, Bytes(11000, 0x80)}));
}

TEST_F(SoundStreamTest, PanStaysWithinTheDeviceRange) {
  start_device();
  sound_stream_pan(500);  // no stream: nothing to pan
  make_sound("music.wav", 1000);
  ASSERT_EQ(sound_stream_open("music.wav"), 1);
  const int32_t b = sound_stream.buffer;
  sound_stream_pan(15000);
  EXPECT_EQ(fake_audio_requested_pan(b), 10000);
  sound_stream_pan(-30000);
  EXPECT_EQ(fake_audio_requested_pan(b), -10000);
  sound_stream_pan(2500);
  EXPECT_EQ(fake_audio_requested_pan(b), -7500);
  sound_stream_pan(INT_MAX);
  EXPECT_EQ(fake_audio_requested_pan(b), 10000);
  sound_stream_pan(INT_MIN);
  EXPECT_EQ(fake_audio_requested_pan(b), -10000);
}

TEST_F(SoundStreamTest, OpeningAnotherStreamReplacesTheFirst) {
  start_device();
  make_sound("one.wav", 1000);
  make_sound("two.wav", 1000, 16, 22050);
  ASSERT_EQ(sound_stream_open("one.wav"), 1);
  ASSERT_EQ(sound_stream_open("two.wav"), 1);
  EXPECT_EQ(fake_audio_live_buffers(), 1u);
  EXPECT_EQ(sound_stream.half_size, 44100u);
  EXPECT_EQ(sound_stream_open("missing.wav"), 0);
  EXPECT_EQ(fake_audio_live_buffers(), 0u);
  EXPECT_EQ(sound_stream_service(), 0);
}

}  // namespace
