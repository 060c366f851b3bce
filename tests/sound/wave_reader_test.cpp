// The WAVE reader on hand-built files: layouts it must accept and files it must refuse.
#include <cstdlib>

#include "sound_support.h"

namespace {

using WaveReader = SoundTest;

struct Reader {
  RiffFile* file = nullptr;
  WaveFormat* format = nullptr;
  RiffChunk riff, data;
  int32_t result = -1;  // of the last read
  ~Reader() { wav_reader_close(&file, &format); }
  int32_t open(const Bytes& bytes) {
    write_file("reader.wav", bytes);
    return wav_reader_open("reader.wav", &file, &format, &riff);
  }
  Bytes read(uint32_t n) {
    Bytes out(n);
    uint32_t got = 12345;
    result = wav_reader_read(file, n, out.data(), &data, &got);
    out.resize(got);
    return out;
  }
  // Rewinds to the samples and reads them all.
  Bytes samples() { return wav_reader_rewind_data(file, &data, &riff) == 0 ? read(data.cksize) : Bytes{}; }
};

TEST_F(WaveReader, ReadsFormatBlocksFindsTheDataAmongOtherChunksAndStopsAtItsEnd) {
  const Bytes pcm8 = fmt16(1, 1, 8000, 8);
  const Bytes samples = pattern(33, 5);
  auto wave = [&](const Bytes& fmt) { return riff_form("WAVE", {chunk("fmt ", fmt), chunk("data", samples)}); };
  const struct { Bytes file; uint16_t tag; Bytes extra; } cases[] = {
      {wave(join({pcm8, {0x44, 0x44}})), 1, {}},  // a count behind the 16 bytes: PCM keeps none
      {wave(join({fmt16(2, 1, 8000, 4), {0, 0}})), 2, {}},
      {wave(join({fmt16(0x11, 2, 44100, 4), {3, 0, 0xA1, 0xB2, 0xC3}})), 0x11, {0xA1, 0xB2, 0xC3}},
      // A 16-byte block of a non-PCM format has no count; the next chunk is not taken for one.
      {wave(fmt16(3, 1, 8000, 32)), 3, {}},
      {riff_form("WAVE", {chunk("JUNK", pattern(3)), chunk("fmt ", pcm8),
                          riff_form("INFO", {chunk("INAM", pattern(5))}, "LIST"), chunk("cue ", pattern(24)),
                          chunk("data", samples)}),
       1, {}},
      {riff_form("WAVE", {chunk("data", samples), chunk("fmt ", pcm8)}), 1, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    Reader r;
    ASSERT_EQ(r.open(c.file), 0);
    EXPECT_EQ(r.format->wFormatTag, c.tag);
    EXPECT_EQ(Bytes(wav_format_extra(r.format), wav_format_extra(r.format) + r.format->cbSize), c.extra);
    ASSERT_EQ(wav_reader_rewind_data(r.file, &r.data, &r.riff), 0);
    EXPECT_EQ(r.read(4), slice(samples, 0, 4));
    EXPECT_EQ(r.read(100), slice(samples, 4, 33));  // no further than the data
    EXPECT_TRUE(r.read(5).empty());
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.samples(), samples);  // a rewind starts over
  }
}

// Sizes that reach past the RIFF or the file are cut to what is there, so the writers' slips
// load and a stream can rewind: a RIFF size counting its own header, the 0xFFFFFFFF of writers
// that streamed, a data chunk claiming more than the file holds.
TEST_F(WaveReader, SizesPastTheEndAreCutToWhatTheFileHolds) {
  const Bytes samples = pattern(40, 3);
  const Bytes good = pcm_wave(1, 8000, 8, samples);
  const size_t data_size_at = good.size() - samples.size() - 4;
  auto patched = [&](std::initializer_list<std::pair<size_t, uint32_t>> fields) {
    Bytes b = good;
    for (const auto& [at, v] : fields)
      for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    return b;
  };
  const uint32_t file_size = static_cast<uint32_t>(good.size());
  const struct { const char* what; Bytes file; } cases[] = {
      {"riff size is the file size", patched({{4, file_size}})},
      {"riff size 0xFFFFFFFF", patched({{4, 0xFFFFFFFFu}})},
      {"data size 0xFFFFFFFF", patched({{data_size_at, 0xFFFFFFFFu}})},
      {"both 0xFFFFFFFF", patched({{4, 0xFFFFFFFFu}, {data_size_at, 0xFFFFFFFFu}})},
      {"data size beyond the file", patched({{data_size_at, 5000}})},
      {"data size beyond the riff", join({patched({{data_size_at, 1000}}), pattern(6)})},  // bytes after the riff
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Reader r;
    ASSERT_EQ(r.open(c.file), 0);
    EXPECT_EQ(r.riff.cksize, good.size() - 8);
    for (int pass = 0; pass < 2; ++pass) {  // the second pass proves the rewind
      ASSERT_EQ(wav_reader_rewind_data(r.file, &r.data, &r.riff), 0);
      EXPECT_EQ(r.data.cksize, samples.size());
      EXPECT_EQ(r.read(1000), samples);
      EXPECT_TRUE(r.read(5).empty());
      EXPECT_EQ(r.result, 0);
    }
    uint32_t size = 0;
    WaveFormat* format = nullptr;
    uint8_t* whole = nullptr;
    ASSERT_EQ(wav_load_whole("reader.wav", &size, &format, &whole), 0);
    EXPECT_EQ(Bytes(whole, whole + size), samples);
    std::free(whole);
    std::free(format);
  }
}

// Broken files are refused at open with nothing left open or allocated.
TEST_F(WaveReader, RefusesBrokenFilesWithoutLeaks) {
  const Bytes good = pcm_wave(1, 8000, 8, pattern(100)), fmt8 = fmt16(1, 1, 8000, 8);
  Bytes riff_too_small = slice(good, 0, 12);
  riff_too_small[4] = 2;  // no room for its own form type
  const struct { const char* name; Bytes bytes; int32_t want; } cases[] = {  // want 0: any failure
      {"missing", {}, WAV_ERR_OPEN_FAILED},
      {"empty", {}, 0},
      {"cut in the header", slice(good, 0, 6), 0},
      {"only the form type", slice(good, 0, 12), 0},
      {"cut in the format", slice(good, 0, 30), WAV_ERR_BAD_FORMAT},  // what is there is too short
      {"riff size below the form type", riff_too_small, RIFF_ERR_BAD_SIZE},
      {"LIST first", riff_form("WAVE", {chunk("fmt ", fmt8)}, "LIST"), WAV_ERR_BAD_FORMAT},
      {"form type not WAVE", riff_form("AVI ", {chunk("fmt ", fmt8), chunk("data", pattern(4))}),
       WAV_ERR_BAD_FORMAT},
      {"fmt shorter than 16", riff_form("WAVE", {chunk("fmt ", pattern(14))}), WAV_ERR_BAD_FORMAT},
      {"a chunk before fmt claiming beyond the riff",
       riff_form("WAVE", {chunk("JUNK", pattern(4), 0x7FFFFFF0), chunk("fmt ", fmt8)}), RIFF_ERR_CHUNK_NOT_FOUND},
      {"extra count beyond the chunk",
       riff_form("WAVE", {chunk("fmt ", join({fmt16(2, 1, 8000, 4), {0xFF, 0xFF}})), chunk("data", pattern(9))}),
       WAV_ERR_BAD_FORMAT},
  };
  const auto files_before = open_file_count();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Reader r;
    const int32_t result =
        c.want == WAV_ERR_OPEN_FAILED ? wav_reader_open("missing.wav", &r.file, &r.format, &r.riff) : r.open(c.bytes);
    EXPECT_TRUE(c.want == 0 ? result != 0 : result == c.want) << result;
    EXPECT_EQ(r.file, nullptr);
    EXPECT_EQ(r.format, nullptr);
    EXPECT_EQ(open_file_count(), files_before);
  }
}

TEST_F(WaveReader, AFileShrinkingUnderTheReaderEndsTheData) {
  Reader r;
  ASSERT_EQ(r.open(pcm_wave(1, 8000, 8, pattern(40000))), 0);
  ASSERT_EQ(wav_reader_rewind_data(r.file, &r.data, &r.riff), 0);
  std::filesystem::resize_file("reader.wav", 20000);
  EXPECT_TRUE(r.read(40000).empty());
  EXPECT_EQ(r.result, WAV_ERR_DATA_EXHAUSTED);
}

}  // namespace
