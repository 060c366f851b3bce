// The game sounds through the fake device: what plays, what stays silent, and that buffers of
// finished sounds are given back.
#include <algorithm>

#include "engine_fixture.h"
#include "platform/platform.h"

namespace {

using SoundEffects = SoundEngineTest;

TEST_F(SoundEffects, EachPlayLoadsItsFileAndSoundsOverlap) {
  start_device();
  const Bytes connect = make_sound("connect.wav", 300, 16, 22050, 1);
  make_sound("startup.wav", 300, 8, 11025, 2);
  sound_effect(SND_CONNECT);
  sound_effect(SND_STARTUP);
  sound_effect(SND_CONNECT);
  EXPECT_EQ(fake_sound_labels(), (std::vector<std::string>{"connect.wav", "startup.wav", "connect.wav"}));
  const auto& plays = fake_sound_plays();
  ASSERT_EQ(plays.size(), 3u);
  EXPECT_NE(plays[0].buffer, plays[2].buffer);  // a new buffer every time
  EXPECT_EQ(plays[0].from_offset, 0u);
  EXPECT_EQ(plays[0].looping, 0);
  EXPECT_EQ(fake_audio_buffer_bytes(plays[2].buffer), connect);
  PcmFormat format{};
  ASSERT_EQ(platform_audio_buffer_format(plays[1].buffer, &format), 1);
  EXPECT_EQ(format.sample_rate, 11025);
  EXPECT_EQ(format.bits_per_sample, 8);
  for (const FakeSoundPlay& p : plays) EXPECT_EQ(platform_audio_buffer_playing(p.buffer), 1);
  EXPECT_EQ(current_effect_buffer, plays[2].buffer);
}

TEST_F(SoundEffects, MissingBrokenAndUnplayableFilesAreSilent) {
  start_device();
  auto wave = [](const Bytes& fmt, const Bytes& data) {
    return riff_form("WAVE", {chunk("fmt ", fmt), chunk("data", data)});
  };
  write_file("dying.wav", wave(fmt16(1, 1, 8000, 24), pattern(300)));
  write_file("quit.wav", wave(fmt16(1, 3, 8000, 16), pattern(300)));
  write_file("success.wav", wave(fmt16(2, 1, 8000, 16), pattern(300)));
  write_file("record.wav", pattern(500));
  write_file("shutdown.wav", riff_form("WAVE", {chunk("fmt ", fmt16(1, 1, 8000, 8))}));
  write_file("newsparx.wav", riff_form("WAVE", {chunk("fmt ", fmt16(1, 1, 8000, 8)),
                                                chunk("data", pattern(40), 0x7FFFFFFF)}));
  write_file("disconnect.wav", wave(fmt16(1, 1, 8000, 8), {}));
  const int files_before = open_file_count();
  for (SoundId id : {SND_DEAD, SND_DYING, SND_QUIT, SND_SUCCESS, SND_RECORD, SND_SHUTDOWN, SND_NEWSPARX,
                     SND_DISCONNECT}) {
    EXPECT_EQ(sound_load(sound_device, sound_file_name(id)), 0) << sound_file_name(id);
    sound_effect(id);
  }
  EXPECT_TRUE(fake_sound_plays().empty());
  EXPECT_EQ(fake_audio_live_buffers(), 0u);
  EXPECT_EQ(open_file_count(), files_before);
}

TEST_F(SoundEffects, WithoutADeviceNothingPlays) {
  fake_fail_audio(true);
  EXPECT_EQ(sound_init(1, 0, nullptr), 0);
  EXPECT_EQ(sound_device, 0);
  make_sound("beep_arcade.wav", 100);
  EXPECT_EQ(sound_load(sound_device, "beep_arcade.wav"), 0);
  sound_effect(SND_BEEP_ARCADE);
  sound_play(SND_BEEP_ARCADE, 0);
  EXPECT_EQ(sound_stream_open("beep_arcade.wav"), 0);
  EXPECT_EQ(sound_stream_service(), 0);
  sound_stream_pan(100);
  EXPECT_TRUE(fake_sound_plays().empty());
  sound_shutdown();
  sound_shutdown();
}

TEST_F(SoundEffects, ReplacedBuffersAreReleasedOnceFinished) {
  start_device();
  make_sound("enginebeat.wav", 1000);
  make_sound("beep_arcade.wav", 100);
  sound_effect(SND_ENGINEBEAT);
  const int32_t beat = current_effect_buffer;
  sound_effect(SND_BEEP_ARCADE);
  EXPECT_EQ(fake_audio_live_buffers(), 2u);
  EXPECT_EQ(platform_audio_buffer_playing(beat), 1);  // replaced, still heard

  fake_advance_ms(150);  // the beep is over, the beat is not
  sound_effect(SND_BEEP_ARCADE);
  EXPECT_EQ(fake_audio_live_buffers(), 2u);
  EXPECT_EQ(platform_audio_buffer_playing(beat), 1);

  fake_advance_ms(1000);
  sound_effect(SND_BEEP_ARCADE);
  EXPECT_EQ(fake_audio_live_buffers(), 1u);
  EXPECT_EQ(platform_audio_buffer_playing(current_effect_buffer), 1);
}

TEST_F(SoundEffects, TenThousandPlaysKeepTheBufferCountFlat) {
  start_device();
  make_sound("fusehit.wav", 70);
  size_t early = 0, most = 0;
  for (int i = 0; i < 10000; ++i) {
    sound_effect(SND_FUSEHIT);
    fake_advance_ms(30);  // about one game frame
    if (i == 9) early = fake_audio_live_buffers();
    if (i >= 9) most = std::max(most, fake_audio_live_buffers());
  }
  EXPECT_EQ(fake_sound_plays().size(), 10000u);
  EXPECT_GE(early, 2u);  // overlapping sounds are kept while they play
  EXPECT_LE(most, early);
}

TEST_F(SoundEffects, ShutdownReleasesEveryBuffer) {
  start_device();
  make_sound("success.wav", 2000);
  make_sound("menuselect.wav", 2000);
  sound_effect(SND_SUCCESS);
  sound_effect(SND_MENUSELECT);
  ASSERT_EQ(sound_stream_open("success.wav"), 1);
  EXPECT_EQ(fake_audio_live_buffers(), 3u);
  sound_shutdown();
  EXPECT_EQ(fake_audio_live_buffers(), 0u);
  EXPECT_EQ(sound_device, 0);
  EXPECT_EQ(current_effect_buffer, 0);
}

}  // namespace
