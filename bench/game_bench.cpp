// One game frame in the middle of a level 3 game: two QIXes, four Sparx, a field with claimed
// parts and inner borders, the whole side panel. The pass's two waits (the 60 Hz tick of the
// flip and the 30 ms frame clock, both the main loop's) are not work and are left out:
// BM_GameFrameWork times everything game_run_frame does, BM_GameFrameAndPresent adds the
// conversion and presentation of the picture through SDL without waiting for the tick.
//
// Run from the build folder (it reads the pictures and the glyphs from ./data, or from the folder
// named by ZORVANE_BENCH_DATA); the video and audio drivers default to SDL's dummy ones.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>

#include "world.h"
#include "live_input.h"
#include "app/app.h"
#include "display/display.h"
#include "enemies/qix.h"
#include "enemies/sparx.h"
#include "game/game.h"
#include "game/scene.h"
#include "platform/platform.h"
#include "platform/sdl/present_sdl.h"
#include "playfield/player.h"
#include "playfield/playfield.h"

namespace {

bool started = false;

// Both QIXes in the middle, so the cuts below keep them on the open side.
void place_qixes() {
  const int32_t lines[QIX_SLOTS][4] = {{200, 220, 280, 240}, {260, 300, 300, 380}};
  for (int32_t i = 0; i < QIX_SLOTS; ++i) {
    Qix& q = qix_slots[i];
    for (int32_t k = 0; k < QIX_TRAIL_LENGTH; ++k) {
      q.x1[k] = lines[i][0];
      q.y1[k] = lines[i][1];
      q.x2[k] = lines[i][2];
      q.y2[k] = lines[i][3];
    }
    q.vx1 = 2;
    q.vy1 = 1;
    q.vx2 = -1;
    q.vy2 = 2;
    q.adjust_count = 0;
  }
}

// A level in progress: a cut down column 100 and one along row 100 leave about 37% claimed.
void set_up_mid_level() {
  game_new();
  game_new_level();
  game_level = 3;
  place_qixes();
  for (int32_t y = 1; y < PLAYFIELD_LAST; ++y) playfield_cell(100, y) = CELL_STIX;
  playfield_claim(100, 0, DIR_UP, 1);
  for (int32_t x = 101; x < PLAYFIELD_LAST; ++x) playfield_cell(x, 100) = CELL_STIX;
  playfield_claim(PLAYFIELD_LAST, 100, DIR_RIGHT, 1);
  sparx_count = SPARX_SLOTS;
  for (int32_t i = 0; i < SPARX_SLOTS; ++i) sparx[i].state = 1;
  player_x = 300;
  player_y = PLAYFIELD_LAST;
  time_base = game_now();
}

void start_program() {
  if (started) return;
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  setenv("ZORVANE_WINDOWED", "1", 0);
  const char* data = std::getenv("ZORVANE_BENCH_DATA");
  if (chdir(data ? data : "data") != 0) {
    // Without the data folder the frame is drawn without pictures; still a frame's work.
  }
  platform_window_create("Marrowin");
  app_startup();
  started = true;
}

// Keeps the frame in play: a Sparx that reaches the marker would start another phase.
void keep_playing() {
  game_phase = PHASE_PLAYING;
  game_lives = LIVES_AT_START;
  player_drawing = 0;
}

void BM_GameFrameWork(benchmark::State& state) {
  start_program();
  set_up_mid_level();
  // The input is read once: the frame's own work is measured, not the platform's key poll.
  const Input input = live_input();
  for (auto _ : state) {
    keep_playing();
    game_compose_frame(input);
  }
  state.counters["claimed_cells"] = claimed_cells;
}
BENCHMARK(BM_GameFrameWork)->Unit(benchmark::kMicrosecond);

void BM_GameFrameAndPresent(benchmark::State& state) {
  start_program();
  set_up_mid_level();
  uint8_t rgb[256][3];
  for (int32_t i = 0; i < 256; ++i) {
    rgb[i][0] = current_palette[i].peRed;
    rgb[i][1] = current_palette[i].peGreen;
    rgb[i][2] = current_palette[i].peBlue;
  }
  const Input input = live_input();
  for (auto _ : state) {
    keep_playing();
    game_compose_frame(input);
    present_frame_now(display.display_back->pixels, display.display_back->pitch, rgb);
  }
}
BENCHMARK(BM_GameFrameAndPresent)->Unit(benchmark::kMicrosecond);

// The playfield's share of a frame with the still layer (compare BM_PlayfieldDraw, the whole
// grid drawn every frame as before): the layer brought up to date, here with the two grid rows
// a fast stix changes in a frame (range 1) or none (range 0), and copied into the back buffer.
void BM_PlayfieldStillFrame(benchmark::State& state) {
  start_program();
  set_up_mid_level();
  FrameChanges changes;
  Program& w = world();
  scene_update(w.game.scene, w.game, w.round, w.assets, &changes);
  int32_t y = 101;
  for (auto _ : state) {
    if (state.range(0) != 0) {
      playfield_cell(300, y) = CELL_STIX;
      playfield_cell(300, y + 1) = CELL_STIX;
      y = y + 2 > 460 ? 101 : y + 2;
    }
    scene_update(w.game.scene, w.game, w.round, w.assets, &changes);
    surface_blit(display.display_back, nullptr, display.display_still, nullptr, 0);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PlayfieldStillFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
