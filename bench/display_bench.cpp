// The display engine's per-frame work: the playfield-sized sprite blit, a line of text, and the
// clear of the back buffer. Run by hand: ./zorvane_bench --benchmark_filter=Display
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "display/bob.h"
#include "display/display.h"
#include "display/draw.h"
#include "display/palette.h"
#include "platform/common/glyphs.h"
#include "platform/platform.h"

namespace {

// A 640 x 480 back buffer with the screen's clipper, as the start-up leaves it, without needing
// a window.
struct BackBuffer {
  Surface* surface = surface_create(640, 480);
  Rect screen{0, 0, 640, 480};
  Clipper* clipper = display_attach_clipper(surface, 1, &screen);
  ~BackBuffer() {
    surface->clipper = nullptr;
    clipper_release(clipper);
    surface_release(surface);
  }
};

void BM_DisplayBobDraw469(benchmark::State& state) {
  BackBuffer back;
  Bob bob{};
  bob_create(&bob, 5, 5, 469, 469, 1, BOB_FLAG_ONE_FRAME | BOB_FLAG_SHOWN);
  // Half the picture transparent in stripes, like a partly claimed playfield.
  Surface* frame = bob.frames[0];
  for (int32_t y = 0; y < frame->height; ++y)
    for (int32_t x = 0; x < frame->width; ++x)
      frame->pixels[y * frame->pitch + x] = ((x / 8 + y / 8) % 2) ? static_cast<uint8_t>(1 + (x ^ y) % 200) : 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(bob_draw(&bob, back.surface));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * 468 * 468);
  bob_destroy(&bob);
}
BENCHMARK(BM_DisplayBobDraw469);

void BM_DisplayDrawText54(benchmark::State& state) {
  BackBuffer back;
  PALETTEENTRY palette[256];
  for (int i = 0; i < 256; ++i)
    palette[i] = PALETTEENTRY{static_cast<uint8_t>(i), static_cast<uint8_t>(i * 3), static_cast<uint8_t>(i * 7), 4};
  palette_set_all(palette);
  // The glyph table lies in the data folder, where the game bench finds its pictures too.
  const char* data = std::getenv("ZORVANE_BENCH_DATA");
  if (!platform_glyph('A') && chdir(data ? data : "data") == 0) glyphs_forget();
  if (!platform_glyph('A')) {
    state.SkipWithError("no glyph table found: run from the build folder");
    return;
  }
  const char* text = "Use the arrow keys to move, Ctrl or Shift to draw stix";
  static_assert(sizeof("Use the arrow keys to move, Ctrl or Shift to draw stix") == 55);
  for (auto _ : state) {
    benchmark::DoNotOptimize(draw_text(text, 10, 200, rgb(255, 255, 100), back.surface));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DisplayDrawText54);

void BM_DisplayFillBack(benchmark::State& state) {
  BackBuffer back;
  for (auto _ : state) {
    benchmark::DoNotOptimize(display_fill(back.surface, 0));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(BM_DisplayFillBack);

}  // namespace
