// The WAVE reader on hand-built files: layouts it must accept and files it must refuse.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "sound/wave.h"
#include "wav_bytes.h"

namespace {

struct Reader {
  RiffFile* file = nullptr;
  WaveFormat* format = nullptr;
  RiffChunk riff, data;
  ~Reader() { wav_reader_close(&file, &format); }
  int32_t open(const Bytes& bytes, const char* name = "reader.wav") {
    write_file(scratch(name), bytes);
    return wav_reader_open(scratch(name).c_str(), &file, &format, &riff);
  }
  Bytes read(uint32_t n, int32_t* result = nullptr) {
    Bytes out(n);
    uint32_t got = 12345;
    int32_t r = wav_reader_read(file, n, out.data(), &data, &got);
    if (result) *result = r;
    out.resize(got);
    return out;
  }
};

TEST(WaveReader, ReadsFormatAndSamplesOfAPlainFile) {
  const Bytes samples = pattern(1000);
  Reader r;
  ASSERT_EQ(r.open(pcm_wave(2, 22050, 16, samples)), 0);
  EXPECT_EQ(r.format->wFormatTag, 1);
  EXPECT_EQ(r.format->nChannels, 2);
  EXPECT_EQ(r.format->nSamplesPerSec, 22050u);
  EXPECT_EQ(r.format->wBitsPerSample, 16);
  EXPECT_EQ(r.format->cbSize, 0);
  EXPECT_EQ(r.riff.dwDataOffset, 8u);
  ASSERT_EQ(wav_reader_rewind_data(r.file, &r.data, &r.riff), 0);
  EXPECT_EQ(r.data.cksize, 1000u);
  EXPECT_EQ(r.read(1000), samples);
}

TEST(WaveReader, PcmFormatKeepsSixteenBytesWhateverTheChunkHolds) {
  Bytes fmt = fmt16(1, 1, 8000, 8);
  put16(fmt, 0x4444);  // a count behind the 16 bytes: ignored for PCM
  const Bytes samples = pattern(9);
  Reader r;
  ASSERT_EQ(r.open(riff_form("WAVE", {chunk("fmt ", fmt), chunk("data", samples)})), 0);
  EXPECT_EQ(r.format->cbSize, 0);
  EXPECT_EQ(r.format->wBitsPerSample, 8);
  ASSERT_EQ(wav_reader_rewind_data(r.file, &r.data, &r.riff), 0);
  EXPECT_EQ(r.read(100), samples);
}

TEST(WaveReader, OtherFormatsCarryTheirExtraBytes) {
  Bytes none = fmt16(2, 1, 8000, 4);
  put16(none, 0);
  Reader a;
  ASSERT_EQ(a.open(riff_form("WAVE", {chunk("fmt ", none), chunk("data", pattern(4))})), 0);
  EXPECT_EQ(a.format->wFormatTag, 2);
  EXPECT_EQ(a.format->cbSize, 0);

  Bytes extra = fmt16(0x11, 2, 44100, 4);
  put16(extra, 3);
  for (uint8_t v : {0xA1, 0xB2, 0xC3}) extra.push_back(v);
  Reader b;
  ASSERT_EQ(b.open(riff_form("WAVE", {chunk("fmt ", extra), chunk("data", pattern(4))})), 0);
  ASSERT_EQ(b.format->cbSize, 3);
  EXPECT_EQ(wav_format_extra(b.format)[0], 0xA1);
  EXPECT_EQ(wav_format_extra(b.format)[2], 0xC3);

  // A 16-byte block of a non-PCM format has no count; the next chunk is not taken for one.
  Reader c;
  ASSERT_EQ(c.open(riff_form("WAVE", {chunk("fmt ", fmt16(3, 1, 8000, 32)), chunk("data", pattern(8))})), 0);
  EXPECT_EQ(c.format->cbSize, 0);
}

TEST(WaveReader, SkipsOtherChunksAndFindsDataBeforeFmt) {
  const Bytes samples = pattern(33, 5);
  Reader around;
  ASSERT_EQ(around.open(riff_form("WAVE", {chunk("JUNK", pattern(3)),
                                           chunk("fmt ", fmt16(1, 1, 11025, 8)),
                                           riff_form("INFO", {chunk("INAM", pattern(5))}, "LIST"),
                                           chunk("cue ", pattern(24)), chunk("data", samples)})),
            0);
  EXPECT_EQ(around.format->nSamplesPerSec, 11025u);
  ASSERT_EQ(wav_reader_rewind_data(around.file, &around.data, &around.riff), 0);
  EXPECT_EQ(around.read(33), samples);

  Reader before;
  ASSERT_EQ(before.open(riff_form("WAVE", {chunk("data", samples), chunk("fmt ", fmt16(1, 2, 8000, 16))})), 0);
  EXPECT_EQ(before.format->nChannels, 2);
  ASSERT_EQ(wav_reader_rewind_data(before.file, &before.data, &before.riff), 0);
  EXPECT_EQ(before.read(33), samples);
}

TEST(WaveReader, ReadsStopAtTheEndOfTheDataAndRewindLoops) {
  const Bytes samples = pattern(10);
  Reader r;
  ASSERT_EQ(r.open(riff_form("WAVE", {chunk("fmt ", fmt16(1, 1, 8000, 8)), chunk("data", samples),
                                      chunk("JUNK", pattern(64, 9))})),
            0);
  ASSERT_EQ(wav_reader_rewind_data(r.file, &r.data, &r.riff), 0);
  int32_t result = -1;
  EXPECT_EQ(r.read(4, &result), Bytes(samples.begin(), samples.begin() + 4));
  EXPECT_EQ(result, 0);
  EXPECT_EQ(r.read(100, &result), Bytes(samples.begin() + 4, samples.end()));
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(r.read(5, &result).empty());
  EXPECT_EQ(result, 0);
  ASSERT_EQ(wav_reader_rewind_data(r.file, &r.data, &r.riff), 0);
  EXPECT_EQ(r.data.cksize, 10u);
  EXPECT_EQ(r.read(3), Bytes(samples.begin(), samples.begin() + 3));
}

TEST(WaveReader, RefusesFilesThatAreNotWaveForms) {
  const Bytes list_first = riff_form("WAVE", {chunk("fmt ", fmt16(1, 1, 8000, 8))}, "LIST");
  const Bytes avi = riff_form("AVI ", {chunk("fmt ", fmt16(1, 1, 8000, 8)), chunk("data", pattern(4))});
  for (const Bytes& bytes : {list_first, avi}) {
    Reader r;
    EXPECT_EQ(r.open(bytes), WAV_ERR_BAD_FORMAT);
    EXPECT_EQ(r.file, nullptr);
    EXPECT_EQ(r.format, nullptr);
  }
  RiffFile* file = reinterpret_cast<RiffFile*>(1);
  WaveFormat* format = reinterpret_cast<WaveFormat*>(1);
  RiffChunk riff;
  EXPECT_EQ(wav_reader_open(scratch("no-such-file.wav").c_str(), &file, &format, &riff), WAV_ERR_OPEN_FAILED);
  EXPECT_EQ(file, nullptr);
  EXPECT_EQ(format, nullptr);
}

// Broken files are refused at open with nothing left open or allocated.
TEST(WaveReader, RefusesBrokenHeadersWithoutLeaks) {
  const Bytes good = pcm_wave(1, 8000, 8, pattern(100));
  Bytes huge_count = fmt16(2, 1, 8000, 4);
  put16(huge_count, 0xFFFF);
  Bytes riff_too_big = good;
  riff_too_big[4] = 0xF0;  // claims far more than the file
  struct Case {
    const char* name;
    Bytes bytes;
    int32_t want;  // 0: any failure
  } cases[] = {
      {"empty", {}, 0},
      {"cut in the header", Bytes(good.begin(), good.begin() + 6), 0},
      {"only the form type", Bytes(good.begin(), good.begin() + 12), 0},
      {"cut in the format", Bytes(good.begin(), good.begin() + 30), 0},
      {"riff size beyond the file", riff_too_big, 0},
      {"fmt shorter than 16", riff_form("WAVE", {chunk("fmt ", pattern(14))}), WAV_ERR_BAD_FORMAT},
      {"fmt size beyond the file", riff_form("WAVE", {chunk("fmt ", fmt16(1, 1, 8000, 8), 5000)}), 0},
      {"a chunk before fmt beyond the riff",
       riff_form("WAVE", {chunk("JUNK", pattern(4), 0x7FFFFFF0), chunk("fmt ", fmt16(1, 1, 8000, 8))}), 0},
      {"extra count beyond the chunk", riff_form("WAVE", {chunk("fmt ", huge_count), chunk("data", pattern(9))}),
       WAV_ERR_BAD_FORMAT},
  };
  const int files_before = open_file_count();
  for (const Case& c : cases) {
    Reader r;
    const int32_t result = r.open(c.bytes);
    if (c.want != 0) {
      EXPECT_EQ(result, c.want) << c.name;
    } else {
      EXPECT_NE(result, 0) << c.name;
    }
    EXPECT_EQ(r.file, nullptr) << c.name;
    EXPECT_EQ(r.format, nullptr) << c.name;
    EXPECT_EQ(open_file_count(), files_before) << c.name;
  }
}

TEST(WaveReader, DataClaimingMoreThanTheFileIsRefused) {
  Bytes lying = riff_form("WAVE", {chunk("fmt ", fmt16(1, 1, 8000, 8)), chunk("data", pattern(50), 0x40000000)});
  Reader r;
  ASSERT_EQ(r.open(lying), 0);
  EXPECT_NE(wav_reader_rewind_data(r.file, &r.data, &r.riff), 0);

  uint32_t size = 7;
  WaveFormat* format = reinterpret_cast<WaveFormat*>(1);
  uint8_t* samples = reinterpret_cast<uint8_t*>(1);
  EXPECT_NE(wav_load_whole(scratch("reader.wav").c_str(), &size, &format, &samples), 0);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(format, nullptr);
  EXPECT_EQ(samples, nullptr);
}

TEST(WaveReader, AFileShrinkingUnderTheReaderEndsTheData) {
  const Bytes samples = pattern(40000);
  Reader r;
  ASSERT_EQ(r.open(pcm_wave(1, 8000, 8, samples), "shrink.wav"), 0);
  ASSERT_EQ(wav_reader_rewind_data(r.file, &r.data, &r.riff), 0);
  std::filesystem::resize_file(scratch("shrink.wav"), 20000);
  int32_t result = 0;
  Bytes got = r.read(40000, &result);
  EXPECT_EQ(result, WAV_ERR_DATA_EXHAUSTED);
  EXPECT_TRUE(got.empty());
}

TEST(WaveReader, AFailedSeekToTheFirstChunkFailsTheRewind) {
  Reader r;
  ASSERT_EQ(r.open(pcm_wave(1, 8000, 8, pattern(10))), 0);
  RiffChunk beyond = r.riff;
  beyond.dwDataOffset = 1'000'000;
  testing::internal::CaptureStderr();
  EXPECT_NE(wav_reader_rewind_data(r.file, &r.data, &beyond), 0);
  EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
  // The reader still works from its true record.
  ASSERT_EQ(wav_reader_rewind_data(r.file, &r.data, &r.riff), 0);
  EXPECT_EQ(r.read(10), pattern(10));
}

}  // namespace
