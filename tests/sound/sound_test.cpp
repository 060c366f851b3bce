// The game sounds through the fake device: what plays, what stays silent, and that buffers of
// finished sounds are given back.
#include <algorithm>

#include "sound/sound_stream.h"
#include "sound_support.h"

namespace {

using SoundEffects = SoundTest;

TEST_F(SoundEffects, EachPlayLoadsItsFileIntoANewBufferAndSoundsOverlap) {
  start_device();
  const Bytes connect = make_sound("connect.wav", 300, 16, 22050, 1);
  make_sound("startup.wav", 300, 8, 11025, 2);
  for (SoundId id : {SND_CONNECT, SND_STARTUP, SND_CONNECT}) sound_effect(id);
  EXPECT_EQ(fake_sound_labels(), (std::vector<std::string>{"connect.wav", "startup.wav", "connect.wav"}));
  const auto& plays = fake_sound_plays();
  ASSERT_EQ(plays.size(), 3u);
  EXPECT_NE(plays[0].buffer, plays[2].buffer);
  EXPECT_EQ(fake_audio_buffer_bytes(plays[2].buffer), connect);
  PcmFormat format{};  // the buffer plays at the file's own rate and width
  ASSERT_EQ(platform_audio_buffer_format(plays[1].buffer, &format), 1);
  EXPECT_EQ(std::tuple(format.channels, format.sample_rate, format.bits_per_sample), std::tuple(1, 11025, 8));
  for (const FakeSoundPlay& p : plays)  // playing once from the top
    EXPECT_EQ(std::tuple(platform_audio_buffer_playing(p.buffer), p.from_offset, p.looping), std::tuple(1, 0u, 0));
}

TEST_F(SoundEffects, MissingBrokenAndUnplayableFilesAreSilent) {
  start_device();
  auto wave = [](const Bytes& fmt, const Bytes& data, int64_t claimed = -1) {
    return riff_form("WAVE", {chunk("fmt ", fmt), chunk("data", data, claimed)});
  };
  const std::pair<SoundId, Bytes> files[] = {
      {SND_DEAD, {}},  // missing
      {SND_DYING, wave(fmt16(1, 1, 8000, 24), pattern(300))},
      {SND_QUIT, wave(fmt16(1, 3, 8000, 16), pattern(300))},
      {SND_SUCCESS, wave(fmt16(2, 1, 8000, 16), pattern(300))},
      {SND_RECORD, pattern(500)},
      {SND_SHUTDOWN, riff_form("WAVE", {chunk("fmt ", fmt16(1, 1, 8000, 8))})},
      {SND_DISCONNECT, wave(fmt16(1, 1, 8000, 8), {})},
  };
  const auto files_before = open_file_count();
  for (const auto& [id, bytes] : files) {
    if (!bytes.empty()) write_file(sound_file_name(id), bytes);
    EXPECT_FALSE(sound_load(sound_engine.sound_device, sound_file_name(id))) << sound_file_name(id);
    sound_effect(id);
  }
  EXPECT_TRUE(fake_sound_plays().empty());
  EXPECT_EQ(fake_audio_live_buffers(), 0u);
  EXPECT_EQ(open_file_count(), files_before);
}

// Files from writers that streamed (sizes 0xFFFFFFFF) or counted the RIFF header in its size
// play what they hold, as effects and as the looping stream; no buffer is sized by the claim.
TEST_F(SoundEffects, SizesPastTheEndOfTheFilePlayWhatIsThere) {
  start_device();
  const Bytes samples = pattern(3000, 5);
  const Bytes good = pcm_wave(1, 8000, 8, samples);
  const size_t data_size_at = good.size() - samples.size() - 4;
  auto patched = [&](uint32_t riff_size, uint32_t data_size) {
    Bytes b = good;
    for (int i = 0; i < 4; ++i) {
      b[4 + i] = static_cast<uint8_t>(riff_size >> (8 * i));
      b[data_size_at + i] = static_cast<uint8_t>(data_size >> (8 * i));
    }
    return b;
  };
  const uint32_t whole = static_cast<uint32_t>(good.size());
  const Bytes files[] = {patched(whole, 3000), patched(0xFFFFFFFF, 0xFFFFFFFF), patched(whole - 8, 0x7FFFFFFF)};
  for (const Bytes& file : files) {
    SCOPED_TRACE(&file - files);
    sound_shutdown();  // each file's stream starts from a fresh play position
    start_device();
    fake_clear_sound_plays();
    write_file(sound_file_name(SND_NEWSPARX), file);
    sound_effect(SND_NEWSPARX);
    ASSERT_EQ(fake_sound_plays().size(), 1u);
    EXPECT_EQ(fake_audio_buffer_bytes(fake_sound_plays()[0].buffer), samples);

    write_file("music.wav", file);
    ASSERT_EQ(sound_stream_open("music.wav"), 1);
    fake_advance_ms(1000);  // into the second half: the first is refilled, rewinding once
    ASSERT_EQ(sound_stream_service(), 1);
    EXPECT_EQ(slice(fake_audio_buffer_bytes(sound_stream.buffer), 0, 8000),
              join({samples, samples, Bytes(2000, 0x80)}));
  }
}

TEST_F(SoundEffects, WithoutADeviceNothingPlaysUntilOneOpensLater) {
  fake_fail_audio(true);
  EXPECT_FALSE(sound_init());
  make_sound("beep_arcade.wav", 100);
  EXPECT_FALSE(sound_load(sound_engine.sound_device, "beep_arcade.wav"));
  sound_effect(SND_BEEP_ARCADE);
  sound_play(SND_BEEP_ARCADE, 0);
  EXPECT_FALSE(sound_stream_open("beep_arcade.wav"));
  EXPECT_FALSE(sound_stream_service());
  sound_stream_pan(100);
  EXPECT_TRUE(fake_sound_plays().empty());

  // The device appears later: asked for again only once the wait since the last try is over,
  // then sounds play. Sound switched off (never initialised) never opens it.
  fake_fail_audio(false);
  fake_advance_ms(SOUND_REOPEN_MS - 10);
  sound_effect(SND_BEEP_ARCADE);
  EXPECT_TRUE(fake_sound_plays().empty());
  fake_advance_ms(10);
  sound_effect(SND_BEEP_ARCADE);
  ASSERT_EQ(fake_sound_plays().size(), 1u);
  EXPECT_EQ(fake_sound_labels(), std::vector<std::string>{"beep_arcade.wav"});
  sound_shutdown();
  fake_advance_ms(SOUND_REOPEN_MS);
  sound_effect(SND_BEEP_ARCADE);
  EXPECT_EQ(fake_sound_plays().size(), 1u);
  EXPECT_EQ(sound_engine.sound_device, 0);
}

TEST_F(SoundEffects, TenThousandPlaysKeepTheBufferCountFlatAndShutdownReleasesAll) {
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
  EXPECT_LE(most, early);  // finished ones are released

  ASSERT_TRUE(sound_stream_open("fusehit.wav"));
  sound_shutdown();
  EXPECT_EQ(fake_audio_live_buffers(), 0u);
  EXPECT_EQ(sound_engine.current_effect_buffer, 0);
}

}  // namespace
