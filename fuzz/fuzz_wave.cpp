// The WAVE reader on any bytes: open, a full read of the data, the whole-file load and a save
// that must read back the same, then the same file as a stream whose refills run as the play
// position moves round the ring buffer, and as a game sound.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz_common.h"
#include "platform/fake/fake_platform.h"
#include "sound/sound.h"
#include "sound/sound_stream.h"
#include "sound/wave.h"

namespace {

// Whatever loads whole is written out and read back: same format fields, same samples.
void check_round_trip(const std::string& path) {
  static const std::string copy = fuzz_input_path("copy.wav");
  uint32_t size = 0;
  WaveFormat* format = nullptr;
  uint8_t* samples = nullptr;
  if (wav_load_whole(path.c_str(), &size, &format, &samples) != 0) return;
  if (!format || !samples) std::abort();
  volatile uint8_t sum = 0;
  for (uint32_t i = 0; i < size; ++i) sum = sum + samples[i];
  if (wav_save_whole(copy.c_str(), size, size, format, samples) == 0) {
    uint32_t size2 = 0;
    WaveFormat* format2 = nullptr;
    uint8_t* samples2 = nullptr;
    if (wav_load_whole(copy.c_str(), &size2, &format2, &samples2) != 0) std::abort();
    if (size2 != size || std::memcmp(samples2, samples, size) != 0) std::abort();
    if (std::memcmp(format2, format, 16) != 0) std::abort();
    if (format->wFormatTag != WAVE_FORMAT_PCM &&
        (format2->cbSize != format->cbSize ||
         std::memcmp(wav_format_extra(format2), wav_format_extra(format), format->cbSize) != 0))
      std::abort();
    std::free(samples2);
    std::free(format2);
  }
  std::free(samples);
  std::free(format);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzz_input_path("sound.wav");
  static bool audio = [] {
    fake_reset();
    return sound_init();
  }();
  (void)audio;
  if (!fuzz_write_file(path, data, size)) return 0;

  RiffFile* file = nullptr;
  WaveFormat* format = nullptr;
  RiffChunk riff{};
  if (wav_reader_open(path.c_str(), &file, &format, &riff) == 0) {
    RiffChunk chunk{};
    if (wav_reader_rewind_data(file, &chunk, &riff) == 0) {
      std::vector<uint8_t> block(4096);
      uint32_t got = 0;
      while (wav_reader_read(file, static_cast<uint32_t>(block.size()), block.data(), &chunk, &got) == 0 && got > 0) {
      }
    }
    wav_reader_close(&file, &format);
  }
  check_round_trip(path);

  if (sound_stream_open(path.c_str())) {
    for (uint32_t step = 0; step < 6; ++step) {
      fake_advance_ms(700);
      sound_stream_service();
    }
  }
  if (sound_load(sound_engine.sound_device, path.c_str())) sound_play(SND_BEEP_ARCADE, 0);
  // The fake logs every play; a long run must not grow on it.
  fake_clear_sound_plays();
  return 0;
}
