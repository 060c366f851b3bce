// The WAVE writer: files it writes read back the same, its chunk sizes and "fact" count are
// fixed at the end, and a failing write leaves no file handle behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "sound/wave.h"
#include "wav_bytes.h"

namespace {

WaveFormat pcm_format(uint16_t channels, uint32_t rate, uint16_t bits) {
  WaveFormat f{};
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = channels;
  f.nSamplesPerSec = rate;
  f.nBlockAlign = static_cast<uint16_t>(channels * bits / 8);
  f.nAvgBytesPerSec = rate * f.nBlockAlign;
  f.wBitsPerSample = bits;
  return f;
}

// The ids of the RIFF's sub-chunks in file order, read with the RIFF functions.
std::vector<std::string> chunk_ids(const std::string& path) {
  std::vector<std::string> ids;
  RiffFile* f = riff_open(path.c_str(), RIFF_READ);
  if (!f) return ids;
  RiffChunk riff, c;
  if (riff_descend(f, &riff, nullptr, 0) == 0) {
    while (riff_descend(f, &c, &riff, 0) == 0) {
      ids.emplace_back(reinterpret_cast<const char*>(&c.ckid), 4);
      if (riff_ascend(f, &c) != 0) break;
    }
  }
  riff_close(f);
  return ids;
}

TEST(WaveWriter, RoundTripKeepsFormatAndSamples) {
  const WaveFormat format = pcm_format(2, 22050, 16);
  const Bytes samples = pattern(30000, 4);
  const std::string path = scratch("round.wav");
  ASSERT_EQ(wav_save_whole(path.c_str(), 30000, 7500, &format, samples.data()), 0);

  uint32_t size = 0;
  WaveFormat* read = nullptr;
  uint8_t* data = nullptr;
  ASSERT_EQ(wav_load_whole(path.c_str(), &size, &read, &data), 0);
  EXPECT_EQ(std::memcmp(read, &format, sizeof(WaveFormat)), 0);
  ASSERT_EQ(size, 30000u);
  EXPECT_EQ(Bytes(data, data + size), samples);
  std::free(read);
  std::free(data);

  const Bytes file = read_file(path);
  EXPECT_EQ(get32(file, 4), file.size() - 8);
  EXPECT_EQ((std::vector<std::string>{"fmt ", "fact", "data"}), chunk_ids(path));
}

TEST(WaveWriter, FormatWithExtraBytesRoundTrips) {
  alignas(4) uint8_t block[18 + 4] = {};
  WaveFormat* format = reinterpret_cast<WaveFormat*>(block);
  *format = pcm_format(1, 8000, 8);
  format->wFormatTag = 0x11;
  format->cbSize = 4;
  std::memcpy(wav_format_extra(format), "\x01\x02\x03\x04", 4);
  const std::string path = scratch("extra.wav");
  ASSERT_EQ(wav_save_whole(path.c_str(), 6, 12, format, pattern(6).data()), 0);

  uint32_t size = 0;
  WaveFormat* read = nullptr;
  uint8_t* data = nullptr;
  ASSERT_EQ(wav_load_whole(path.c_str(), &size, &read, &data), 0);
  ASSERT_EQ(read->cbSize, 4);
  EXPECT_EQ(std::memcmp(read, block, sizeof block), 0);
  EXPECT_EQ(get32(read_file(path), 16), 22u);  // "fmt " grew from 16 to 18 + 4 on the way out
  std::free(read);
  std::free(data);
}

TEST(WaveWriter, FactCountIsUnknownUntilFinished) {
  const WaveFormat format = pcm_format(1, 8000, 8);
  const std::string path = scratch("fact.wav");
  RiffFile* file = nullptr;
  RiffChunk fmt, riff, data;
  RiffInfo info;
  ASSERT_EQ(wav_writer_create(path.c_str(), &file, &format, &fmt, &riff), 0);
  ASSERT_EQ(wav_writer_begin_data(&file, &data, &info), 0);
  // More than one I/O buffer, so the headers have reached the disk.
  const Bytes samples = pattern(20000);
  uint32_t written = 0;
  ASSERT_EQ(wav_writer_write(&file, 20000, samples.data(), &data, &written, &info), 0);
  EXPECT_EQ(written, 20000u);
  const Bytes early = read_file(path);
  ASSERT_GE(early.size(), 48u);
  EXPECT_EQ(std::string(early.begin() + 36, early.begin() + 40), "fact");
  EXPECT_EQ(get32(early, 44), 0xFFFFFFFFu);

  ASSERT_EQ(wav_writer_finish(&file, &data, &riff, &info, 20000), 0);
  EXPECT_EQ(file, nullptr);
  RiffFile* f = riff_open(path.c_str(), RIFF_READ);
  ASSERT_NE(f, nullptr);
  RiffChunk r, fact;
  ASSERT_EQ(riff_descend(f, &r, nullptr, 0), 0);
  fact.ckid = riff_fourcc("fact");
  ASSERT_EQ(riff_descend(f, &fact, &r, RIFF_FINDCHUNK), 0);
  EXPECT_EQ(fact.cksize, 4u);
  uint8_t count[4];
  ASSERT_EQ(riff_read(f, count, 4), 4);
  EXPECT_EQ(get32(Bytes(count, count + 4), 0), 20000u);
  riff_close(f);
}

TEST(WaveWriter, OddSizedDataGetsItsPadByte) {
  const WaveFormat format = pcm_format(1, 8000, 8);
  const std::string path = scratch("odd.wav");
  ASSERT_EQ(wav_save_whole(path.c_str(), 5, 5, &format, pattern(5).data()), 0);
  const Bytes file = read_file(path);
  // RIFF 12 + fmt 24 + fact 12 + data header 8 + 5 samples + 1 pad.
  ASSERT_EQ(file.size(), 62u);
  EXPECT_EQ(get32(file, 52), 5u);
  EXPECT_EQ(file[61], 0);
  EXPECT_EQ(get32(file, 4), 54u);
  uint32_t size = 0;
  WaveFormat* read = nullptr;
  uint8_t* data = nullptr;
  ASSERT_EQ(wav_load_whole(path.c_str(), &size, &read, &data), 0);
  EXPECT_EQ(Bytes(data, data + size), pattern(5));
  std::free(read);
  std::free(data);
}

TEST(WaveWriter, CopiesDisplayAndPlaylistChunksOnly) {
  const Bytes disp = pattern(3, 7);
  const Bytes plst = pattern(16, 8);
  const std::string source_path = scratch("source.wav");
  write_file(source_path, riff_form("WAVE", {chunk("fmt ", fmt16(1, 1, 8000, 8)), chunk("DISP", disp),
                                             riff_form("INFO", {chunk("INAM", pattern(4))}, "LIST"),
                                             chunk("plst", plst), chunk("cue ", pattern(8)),
                                             chunk("data", pattern(10))}));
  RiffFile* source = nullptr;
  WaveFormat* format = nullptr;
  RiffChunk source_riff, scratch_chunk;
  ASSERT_EQ(wav_reader_open(source_path.c_str(), &source, &format, &source_riff), 0);

  const std::string path = scratch("copy.wav");
  RiffFile* file = nullptr;
  RiffChunk fmt, riff, data;
  RiffInfo info;
  ASSERT_EQ(wav_writer_create(path.c_str(), &file, format, &fmt, &riff), 0);
  EXPECT_EQ(wav_copy_extra_chunks(source, &scratch_chunk, &source_riff, file), 0);
  EXPECT_EQ(riff_tell(source), 12);
  ASSERT_EQ(wav_writer_begin_data(&file, &data, &info), 0);
  uint32_t written = 0;
  ASSERT_EQ(wav_writer_write(&file, 10, pattern(10).data(), &data, &written, &info), 0);
  ASSERT_EQ(wav_writer_finish(&file, &data, &riff, &info, 10), 0);
  wav_reader_close(&source, &format);

  EXPECT_EQ((std::vector<std::string>{"fmt ", "fact", "DISP", "plst", "data"}), chunk_ids(path));
  const Bytes file_bytes = read_file(path);
  // DISP follows fmt (24 bytes) and fact (12 bytes): header at 48, contents at 56, pad at 59.
  EXPECT_EQ(std::string(file_bytes.begin() + 48, file_bytes.begin() + 52), "DISP");
  EXPECT_EQ(Bytes(file_bytes.begin() + 56, file_bytes.begin() + 59), disp);
  EXPECT_EQ(std::string(file_bytes.begin() + 60, file_bytes.begin() + 64), "plst");
  EXPECT_EQ(Bytes(file_bytes.begin() + 68, file_bytes.begin() + 84), plst);
}

TEST(WaveWriter, ChunkCopyRefusesSizesTheSourceCannotHold) {
  const std::string source_path = scratch("small.wav");
  write_file(source_path, pcm_wave(1, 8000, 8, pattern(8)));
  RiffFile* source = riff_open(source_path.c_str(), RIFF_READ);
  RiffFile* dest = riff_open(scratch("dest.bin").c_str(), RIFF_CREATE | RIFF_READWRITE);
  ASSERT_NE(source, nullptr);
  ASSERT_NE(dest, nullptr);
  RiffChunk lying;
  lying.ckid = riff_fourcc("DISP");
  lying.cksize = 0xFFFFFFF0u;
  EXPECT_EQ(wav_copy_one_chunk(source, dest, &lying), 0);
  riff_close(source);
  riff_close(dest);
}

TEST(WaveWriter, FailuresLeaveNoFileOpen) {
  const WaveFormat format = pcm_format(1, 8000, 8);
  const int files_before = open_file_count();
  RiffFile* file = reinterpret_cast<RiffFile*>(1);
  RiffChunk fmt, riff;
  EXPECT_EQ(wav_writer_create(scratch("no/such/folder.wav").c_str(), &file, &format, &fmt, &riff),
            WAV_ERR_WRITE_FAILED);
  EXPECT_EQ(file, nullptr);

  // A full disk: the headers fit in the buffer, the samples do not reach the disk.
  if (std::filesystem::exists("/dev/full")) {
    const Bytes samples = pattern(100000);
    EXPECT_NE(wav_save_whole("/dev/full", 100000, 100000, &format, samples.data()), 0);

    RiffFile* full = nullptr;
    RiffChunk data;
    RiffInfo info;
    ASSERT_EQ(wav_writer_create("/dev/full", &full, &format, &fmt, &riff), 0);
    ASSERT_EQ(wav_writer_begin_data(&full, &data, &info), 0);
    uint32_t written = 0;
    EXPECT_EQ(wav_writer_write(&full, 100000, samples.data(), &data, &written, &info), RIFF_ERR_CANNOT_WRITE);
    EXPECT_EQ(written, static_cast<uint32_t>(RIFF_BUFFER_BYTES) - 56);
    EXPECT_EQ(full, nullptr);
    EXPECT_EQ(wav_writer_finish(&full, &data, &riff, &info, 0), 0);

    // A small file fails only when its last buffer is put on disk at the finish.
    EXPECT_NE(wav_save_whole("/dev/full", 100, 100, &format, samples.data()), 0);
  }
  EXPECT_EQ(open_file_count(), files_before);
}

}  // namespace
