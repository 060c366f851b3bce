// The WAVE writer: a copy of a file reads back the same, its chunk sizes and "fact" count are
// fixed at the end, only the display and playlist chunks come along, and a failing write leaves
// no file handle behind.
#include <cstdlib>
#include <cstring>

#include "sound_support.h"

namespace {

using WaveWriter = SoundTest;

// The source's format carries extra bytes and its samples are odd in number, so the grown "fmt "
// chunk and the pad byte are checked on the way too.
TEST_F(WaveWriter, CopyReadsBackWithTheFactCountUnknownUntilFinished) {
  const Bytes fmt22 = join({fmt16(0x11, 2, 22050, 16), {4, 0, 1, 2, 3, 4}});
  const Bytes disp = pattern(3, 7), plst = pattern(16, 8), samples = pattern(20001, 4);
  write_file("source.wav", riff_form("WAVE", {chunk("fmt ", fmt22), chunk("DISP", disp),
                                              riff_form("INFO", {chunk("INAM", pattern(4))}, "LIST"),
                                              chunk("plst", plst), chunk("cue ", pattern(8)), chunk("data", samples)}));
  RiffFile *source = nullptr, *file = nullptr;
  WaveFormat* format = nullptr;
  RiffChunk source_riff, scratch, fmt, riff, data;
  RiffInfo info;
  ASSERT_EQ(wav_reader_open("source.wav", &source, &format, &source_riff), 0);
  ASSERT_EQ(wav_writer_create("copy.wav", &file, format, &fmt, &riff), 0);
  EXPECT_EQ(wav_copy_extra_chunks(source, &scratch, &source_riff, file), 0);
  EXPECT_EQ(riff_tell(source), 12);
  // A record claiming more than the source holds is refused before anything is allocated or written.
  RiffChunk lying;
  lying.ckid = riff_fourcc("DISP");
  lying.cksize = 0xFFFFFFF0u;
  EXPECT_EQ(wav_copy_one_chunk(source, file, &lying), 0);
  wav_reader_close(&source, &format);
  uint32_t written = 0;
  ASSERT_EQ(wav_writer_begin_data(&file, &data, &info), 0);
  ASSERT_EQ(wav_writer_write(&file, 20001, samples.data(), &data, &written, &info), 0);
  EXPECT_EQ(written, 20001u);
  const Bytes early = read_file("copy.wav");  // more than one I/O buffer: the headers are on disk
  ASSERT_GE(early.size(), 54u);
  EXPECT_EQ(get32(early, 50), 0xFFFFFFFFu);
  ASSERT_EQ(wav_writer_finish(&file, &data, &riff, &info, 5000), 0);
  EXPECT_EQ(file, nullptr);

  // fmt (8 + 22), fact (12), DISP (8 + 3 + pad), plst (8 + 16), then data (8 + samples + pad).
  const Bytes out = read_file("copy.wav");
  ASSERT_EQ(out.size(), 98u + 20001 + 1);
  const std::pair<size_t, const char*> ids[] = {{12, "fmt "}, {42, "fact"}, {54, "DISP"}, {66, "plst"}, {90, "data"}};
  for (auto [at, id] : ids) EXPECT_EQ(id_at(out, at), id);
  EXPECT_EQ(get32(out, 4), out.size() - 8);
  EXPECT_EQ(get32(out, 16), 22u);
  EXPECT_EQ(get32(out, 50), 5000u);
  EXPECT_EQ(slice(out, 62, 65), disp);
  EXPECT_EQ(slice(out, 74, 90), plst);
  EXPECT_EQ(get32(out, 94), 20001u);
  uint32_t size = 0;
  uint8_t* loaded = nullptr;
  ASSERT_EQ(wav_load_whole("copy.wav", &size, &format, &loaded), 0);
  EXPECT_EQ(Bytes(reinterpret_cast<uint8_t*>(format), reinterpret_cast<uint8_t*>(format) + 22), fmt22);
  EXPECT_EQ(Bytes(loaded, loaded + size), samples);
  std::free(format);
  std::free(loaded);
}

// The copier walks only whole chunks: one that claims to run past the RIFF ends the walk, so
// neither it nor anything behind it is copied.
TEST_F(WaveWriter, AChunkClaimingPastTheRiffEndsTheCopy) {
  const Bytes disp = pattern(6, 2);
  write_file("source.wav", riff_form("WAVE", {chunk("fmt ", fmt16(1, 1, 8000, 8)), chunk("DISP", disp),
                                              chunk("plst", pattern(8), 0xFFFFFFF0u), chunk("DISP", pattern(4))}));
  RiffFile *source = nullptr, *file = nullptr;
  WaveFormat* format = nullptr;
  RiffChunk source_riff, scratch, fmt, riff, data;
  RiffInfo info;
  ASSERT_EQ(wav_reader_open("source.wav", &source, &format, &source_riff), 0);
  ASSERT_EQ(wav_writer_create("copy.wav", &file, format, &fmt, &riff), 0);
  EXPECT_EQ(wav_copy_extra_chunks(source, &scratch, &source_riff, file), 0);
  wav_reader_close(&source, &format);
  ASSERT_EQ(wav_writer_begin_data(&file, &data, &info), 0);
  ASSERT_EQ(wav_writer_finish(&file, &data, &riff, &info, 0), 0);
  const Bytes out = read_file("copy.wav");  // RIFF, fmt (8 + 16), fact (12), DISP (8 + 6), data (8)
  ASSERT_EQ(out.size(), 12u + 24 + 12 + 14 + 8);
  EXPECT_EQ(id_at(out, 48), "DISP");
  EXPECT_EQ(slice(out, 56, 62), disp);
  EXPECT_EQ(id_at(out, 62), "data");
}

TEST_F(WaveWriter, FailuresLeaveNoFileOpen) {
  const WaveFormat format = {WAVE_FORMAT_PCM, 1, 8000, 8000, 1, 8, 0};
  const auto files_before = open_file_count();
  RiffFile* file = reinterpret_cast<RiffFile*>(1);
  RiffChunk fmt, riff, data;
  EXPECT_EQ(wav_writer_create("no/such/folder.wav", &file, &format, &fmt, &riff), WAV_ERR_WRITE_FAILED);
  EXPECT_EQ(file, nullptr);
  // A full disk: the headers fit in the buffer, the samples do not reach the disk.
  if (std::filesystem::exists("/dev/full")) {
    const Bytes samples = pattern(100000);
    RiffInfo info;
    uint32_t written = 0;
    ASSERT_EQ(wav_writer_create("/dev/full", &file, &format, &fmt, &riff), 0);
    ASSERT_EQ(wav_writer_begin_data(&file, &data, &info), 0);
    EXPECT_EQ(wav_writer_write(&file, 100000, samples.data(), &data, &written, &info), RIFF_ERR_CANNOT_WRITE);
    EXPECT_EQ(file, nullptr);
    // A small file fails only when its last buffer is put on disk at the finish.
    EXPECT_NE(wav_save_whole("/dev/full", 100, 100, &format, samples.data()), 0);
  }
  EXPECT_EQ(open_file_count(), files_before);
}

}  // namespace
