// The WAVE reader on any bytes: open, a full read of the data, then the same file as a
// stream whose refills run as the play position moves round the ring buffer.
#include <vector>

#include "fuzz_common.h"
#include "platform/fake/fake_platform.h"
#include "sound/sound.h"
#include "sound/wave.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzz_input_path("sound.wav");
  static bool audio = [] {
    fake_reset();
    return sound_init(1, 1, nullptr) != 0;
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

  if (sound_stream_open(path.c_str())) {
    for (uint32_t step = 0; step < 6; ++step) {
      fake_advance_ms(700);
      sound_stream_service();
    }
  }
  if (sound_load(sound_device, path.c_str())) sound_play(SND_BEEP_ARCADE, 0);
  return 0;
}
