// The cost of the SDL platform's two steady loads: showing a frame and mixing sound.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "common/input.h"
#include "display/surface.h"
#include "platform/common/audio_mixer.h"
#include "platform/common/frame_changes.h"
#include "platform/common/png_writer.h"
#include "platform/common/scale.h"
#include "platform/platform.h"
#include "platform/sdl/audio_sdl.h"
#include "platform/sdl/present_sdl.h"

namespace {

// A 640x480 8-bit display on a window presented at w x h, through SDL's dummy video driver (its
// software renderer, as on a machine without a GPU); false, with the benchmark skipped, when
// there is none.
bool open_display(benchmark::State& state, int32_t w, int32_t h) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  platform_configure_video(1, 0);
  if (platform_window_create("Marrowin") && platform_display_open(640, 480, 8) && present_set_window_size(w, h))
    return true;
  state.SkipWithError("no window");
  platform_window_destroy();
  return false;
}

// A frame that uses every index and differs from row to row.
std::vector<uint8_t> test_picture() {
  std::vector<uint8_t> pixels(640 * 480);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 7 + i / 640);
  return pixels;
}

void grey_palette(uint8_t palette[256][3]) {
  for (int i = 0; i < 256; ++i) palette[i][0] = palette[i][1] = palette[i][2] = static_cast<uint8_t>(i);
}

// One 640x480 8-bit frame through its palette onto a window of the given size (open_display),
// without the 60 Hz wait.
// Arguments: width, height, filter (PRESENT_FILTER_AUTO is the one nearest pass by rows this
// renderer takes; PRESENT_FILTER_SHARP the two passes the GPU path makes, here done by SDL's
// software renderer) and the picture rows changed since the last frame.
void BM_Present(benchmark::State& state) {
  if (!open_display(state, static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)))) return;
  present_set_filter(static_cast<int32_t>(state.range(2)));
  std::vector<uint8_t> pixels = test_picture();
  uint8_t palette[256][3];
  grey_palette(palette);
  // The bottom rows changed, as the menu's scroll lines change them; 480: a whole new frame.
  const int32_t rows = static_cast<int32_t>(state.range(3));
  for (auto _ : state) {
    for (int32_t y = 480 - rows; y < 480; ++y) pixels[static_cast<size_t>(y) * 640 + static_cast<size_t>(y)] ^= 1;
    benchmark::DoNotOptimize(present_frame_now(pixels.data(), 640, palette));
  }
  present_set_filter(PRESENT_FILTER_AUTO);
  platform_window_destroy();
}
BENCHMARK(BM_Present)
    ->ArgNames({"w", "h", "filter", "rows"})
    ->Args({640, 480, PRESENT_FILTER_AUTO, 480})
    ->Args({1366, 768, PRESENT_FILTER_AUTO, 480})
    ->Args({1366, 768, PRESENT_FILTER_SHARP, 480})
    ->Args({1920, 1080, PRESENT_FILTER_AUTO, 480})
    ->Args({1920, 1080, PRESENT_FILTER_AUTO, 40})
    ->Args({1920, 1080, PRESENT_FILTER_SHARP, 480})
    ->Args({3840, 2160, PRESENT_FILTER_AUTO, 480})
    ->Unit(benchmark::kMicrosecond);

// A game frame as the game hands it over: with its record of what changed (a QIX's box, the
// marker, two Sparx, a panel value), through platform_present_changes and so with its wait for
// the 60 Hz tick, which costs no CPU time. Arguments: window width and height.
void BM_PresentGameFrame(benchmark::State& state) {
  if (!open_display(state, static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)))) return;
  std::vector<uint8_t> pixels = test_picture();
  uint8_t palette[256][3];
  grey_palette(palette);
  FrameChanges changes;
  frame_changes_reset(&changes, 640, 480);
  const Rect parts[] = {{150, 180, 330, 330}, {296, 462, 312, 478}, {100, 0, 116, 16}, {460, 300, 476, 316},
                        {474, 22, 640, 40}};
  for (const Rect& r : parts) frame_changes_add(&changes, r.left, r.top, r.right, r.bottom);
  present_frame_now(pixels.data(), 640, palette);
  for (auto _ : state) {
    for (const Rect& r : parts)
      for (int32_t y = r.top; y < r.bottom; ++y) pixels[static_cast<size_t>(y) * 640 + r.left] ^= 1;
    platform_present_changes(pixels.data(), 640, palette, &changes);
  }
  platform_window_destroy();
}
BENCHMARK(BM_PresentGameFrame)
    ->ArgNames({"w", "h"})
    ->Args({640, 480})
    ->Args({1366, 768})
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMicrosecond);

// An unchanged frame handed to the present: compared with the one on screen and not drawn.
void BM_PresentUnchanged(benchmark::State& state) {
  if (!open_display(state, 1920, 1080)) return;
  std::vector<uint8_t> pixels(640 * 480, 5);
  uint8_t palette[256][3] = {};
  present_frame_now(pixels.data(), 640, palette);
  for (auto _ : state) {
    // The comparison platform_present makes before its wait; the wait itself is not measured.
    benchmark::DoNotOptimize(present_would_draw(pixels.data(), 640, palette));
  }
  platform_window_destroy();
}
BENCHMARK(BM_PresentUnchanged)->Unit(benchmark::kMicrosecond);

// One second of device output with eight looping sounds of mixed formats playing, at the
// player's volume (100: the master gain is skipped).
void BM_MixEightVoices(benchmark::State& state) {
  mixer_set_master_gain(mixer_volume_gain(static_cast<int32_t>(state.range(0))));
  if (!audio_open_offline()) {
    state.SkipWithError("mixer busy");
    return;
  }
  const PcmFormat formats[] = {{1, 22050, 16}, {2, 44100, 16}, {1, 11025, 8}, {2, 22050, 16}};
  for (int v = 0; v < 8; ++v) {
    const PcmFormat& f = formats[v % 4];
    uint32_t bytes = static_cast<uint32_t>(f.sample_rate * f.channels * f.bits_per_sample / 8) / 2;
    int32_t b = platform_audio_buffer_create(&f, bytes, "bench.wav");
    uint32_t n = 0;
    uint8_t* p = platform_audio_buffer_lock(b, 0, 0, &n);
    for (uint32_t i = 0; i < n; ++i) p[i] = static_cast<uint8_t>(i * 31 + v);
    platform_audio_buffer_unlock(b);
    platform_audio_buffer_set_pan(b, (v - 4) * 1000);
    platform_audio_buffer_play(b, 0, 1);
  }
  std::vector<int16_t> out(static_cast<size_t>(AUDIO_DEVICE_RATE) * 2);
  for (auto _ : state) {
    // In callback-sized blocks, as the audio thread asks for it.
    for (int32_t done = 0; done < AUDIO_DEVICE_RATE; done += 1024) {
      int32_t n = AUDIO_DEVICE_RATE - done < 1024 ? AUDIO_DEVICE_RATE - done : 1024;
      audio_render(out.data() + static_cast<size_t>(done) * 2, n);
    }
    benchmark::DoNotOptimize(out.data());
  }
  platform_audio_close();
  mixer_set_master_gain(MIX_UNITY);
}
BENCHMARK(BM_MixEightVoices)->ArgName("volume")->Arg(100)->Arg(70)->Unit(benchmark::kMicrosecond);

// The key state of one main-loop pass: the game's ten keys asked for, each through the pump,
// the keyboard's bindings and the program's actions (dummy video driver).
void BM_KeyStateOfAPass(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  platform_configure_video(1, 0);
  if (!platform_window_create("Marrowin")) {
    state.SkipWithError("no window");
    return;
  }
  for (auto _ : state) {
    int32_t held = 0;
    for (int32_t vk : GAME_KEYS) held += platform_key_down(vk);
    benchmark::DoNotOptimize(held);
  }
  platform_window_destroy();
}
BENCHMARK(BM_KeyStateOfAPass)->Unit(benchmark::kMicrosecond);

// A screenshot's PNG: the 640x480 frame's indices and palette, stored blocks.
void BM_ScreenshotPng(benchmark::State& state) {
  const std::vector<uint8_t> pixels = test_picture();
  uint8_t palette[256][3] = {};
  size_t bytes = 0;
  for (auto _ : state) bytes = png_encode_indexed(pixels.data(), 640, 480, 640, palette).size();
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ScreenshotPng)->Unit(benchmark::kMicrosecond);

// The presenter's conversion alone, into memory of the output's size: the 640x480 picture at
// 1:1 through the runs (the same code as any scale) and without them, and the spans of a game
// frame's record (a QIX's box, three sprites, a panel value) at 1:1 and at 1440x1080.
// Arguments: output width, 1 to convert only the record's spans, 1 for the 1:1 loop.
void BM_ConvertFrame(benchmark::State& state) {
  const int32_t out_w = static_cast<int32_t>(state.range(0)), out_h = out_w * 3 / 4;
  const bool spans = state.range(1) != 0, exact = state.range(2) != 0;
  const std::vector<uint8_t> pixels = test_picture();
  uint32_t table[256];
  for (int i = 0; i < 256; ++i) table[i] = 0xFF000000u | static_cast<uint32_t>(i * 65793);
  std::vector<int32_t> runs(640), row_runs(480), firsts(640), row_firsts(480);
  scale_runs(640, out_w, runs.data());
  scale_runs(480, out_h, row_runs.data());
  scale_firsts(640, runs.data(), firsts.data());
  scale_firsts(480, row_runs.data(), row_firsts.data());
  std::vector<uint32_t> out(static_cast<size_t>(out_w) * out_h);
  FrameChanges changes;
  frame_changes_reset(&changes, 640, 480);
  if (spans) {
    frame_changes_add(&changes, 150, 180, 330, 330);  // two QIXes' box
    frame_changes_add(&changes, 296, 462, 312, 478);  // the marker
    frame_changes_add(&changes, 100, 0, 116, 16);     // Sparx
    frame_changes_add(&changes, 460, 300, 476, 316);
    frame_changes_add(&changes, 474, 22, 640, 40);    // the score
  } else {
    frame_changes_set_whole(&changes);
  }
  int64_t converted = 0;
  for (auto _ : state) {
    for (int32_t y = 0; y < 480; ++y) {
      int32_t l, r;
      if (!frame_changes_row(changes, y, &l, &r)) continue;
      uint32_t* row = out.data() + static_cast<size_t>(row_firsts[y]) * out_w;
      if (exact)
        scale_row_exact(pixels.data() + y * 640 + l, r - l, table, row + l);
      else
        scale_span_nearest(pixels.data() + y * 640, l, r, runs.data(), firsts.data(), table, row);
      for (int32_t k = 1; k < row_runs[y]; ++k)
        std::memcpy(row + static_cast<size_t>(k) * out_w + firsts[l], row + firsts[l],
                    static_cast<size_t>(firsts[r - 1] + runs[r - 1] - firsts[l]) * 4);
      converted += r - l;
    }
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.counters["picture_pixels"] = static_cast<double>(converted) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ConvertFrame)
    ->ArgNames({"w", "spans", "exact"})
    ->Args({640, 0, 0})
    ->Args({640, 0, 1})
    ->Args({640, 1, 1})
    ->Args({1024, 0, 0})
    ->Args({1024, 1, 0})
    ->Args({1440, 0, 0})
    ->Args({1440, 1, 0})
    ->Args({2880, 0, 0})
    ->Args({2880, 1, 0})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
