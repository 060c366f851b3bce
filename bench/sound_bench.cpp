// The cost of one game sound: open the WAV file, parse it, fill a new device buffer, start it.
// The game pays it for every effect it plays (the Fuse's sizzle every 21 frames at most).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "sound/sound.h"
#include "sound/wave.h"

namespace {

// One second of 16-bit mono sound at 22050 Hz, the size of a long game effect.
std::string write_effect_file() {
  const auto path = std::filesystem::temp_directory_path() / ("zorvane_sound_bench_" + std::to_string(getpid()) + ".wav");
  WaveFormat format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 1;
  format.nSamplesPerSec = 22050;
  format.nBlockAlign = 2;
  format.nAvgBytesPerSec = 44100;
  format.wBitsPerSample = 16;
  std::vector<uint8_t> samples(44100);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<uint8_t>(i * 13 + (i >> 9));
  if (wav_save_whole(path.c_str(), 44100, 22050, &format, samples.data()) != 0) return {};
  return path.string();
}

void BM_EffectPlay(benchmark::State& state) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  const std::string path = write_effect_file();
  if (path.empty() || !sound_init()) {
    state.SkipWithError("no effect file or no audio device");
    return;
  }
  for (auto _ : state) {
    if (!sound_load(sound_engine.sound_device, path.c_str())) {
      state.SkipWithError("sound_load failed");
      break;
    }
    sound_play(SND_BEEP_ARCADE, 0);
    // Stopped sounds are released by the next load, so the mixer never piles up voices
    // and the timing stays that of the load and start alone.
    state.PauseTiming();
    platform_audio_buffer_stop(sound_engine.current_effect_buffer);
    state.ResumeTiming();
  }
  sound_shutdown();
  std::filesystem::remove(path);
}
BENCHMARK(BM_EffectPlay)->Unit(benchmark::kMicrosecond);

// The file part alone: open, parse and read the samples into memory.
void BM_WaveLoadWhole(benchmark::State& state) {
  const std::string path = write_effect_file();
  if (path.empty()) {
    state.SkipWithError("no effect file");
    return;
  }
  for (auto _ : state) {
    uint32_t size = 0;
    WaveFormat* format = nullptr;
    uint8_t* samples = nullptr;
    if (wav_load_whole(path.c_str(), &size, &format, &samples) != 0) {
      state.SkipWithError("wav_load_whole failed");
      break;
    }
    benchmark::DoNotOptimize(samples);
    std::free(format);
    std::free(samples);
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_WaveLoadWhole)->Unit(benchmark::kMicrosecond);

}  // namespace
