// The enemies' cost per frame: the QIX's move with its line scans, the Sparx at full speed.
#include <benchmark/benchmark.h>

#include <cstring>

#include "world.h"
#include "enemies/qix.h"
#include "common/random.h"
#include "enemies/sparx.h"
#include "game/game.h"
#include "playfield/player.h"
#include "playfield/playfield.h"

namespace {

// Two long QIX lines in an open field, their trails filled by some frames of wandering, so that
// every frame scans the candidate and all 19 trail lines over long open stretches.
struct QixScene {
  Qix slots[QIX_SLOTS];
  uint32_t random;
};

QixScene make_qix_scene(int32_t level) {
  playfield_reset();
  game_phase = PHASE_PAUSED;
  player_drawing = 0;
  qix_captured = 0;
  const int32_t lines[2][4] = {{120, 150, 215, 180}, {300, 120, 330, 215}};
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
  random_seed(31337);
  for (int32_t i = 0; i < QIX_TRAIL_LENGTH; ++i) qix_move(level);
  QixScene scene;
  std::memcpy(scene.slots, qix_slots, sizeof qix_slots);
  scene.random = random_state;
  return scene;
}

void BM_QixMove(benchmark::State& state) {
  const int32_t level = static_cast<int32_t>(state.range(0));
  const QixScene scene = make_qix_scene(level);
  int64_t frames = 0;
  for (auto _ : state) {
    // Back to the same long lines every 64 frames, so the QIXes never drift into a corner.
    if ((frames & 63) == 0) {
      std::memcpy(qix_slots, scene.slots, sizeof qix_slots);
      random_state = scene.random;
    }
    qix_move(level);
    benchmark::DoNotOptimize(qix_slots);
    ++frames;
  }
  state.SetItemsProcessed(frames);
}
BENCHMARK(BM_QixMove)->Arg(3)->Arg(4);

void BM_GridLineScan100(benchmark::State& state) {
  playfield_reset();
  int32_t sum = 0;
  for (auto _ : state) {
    sum += grid_line_scan(100, 100, 190, 143);  // about 100 cells long, all open
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GridLineScan100);

void BM_SparxMoveAllSpeed2(benchmark::State& state) {
  playfield_reset();
  game_phase = PHASE_PLAYING;
  player_x = 320;
  player_y = 234;  // inside, never hit
  sparx_reset();
  sparx_count = SPARX_SLOTS;
  for (Sparx& s : sparx) s.state = 2;
  for (auto _ : state) {
    sparx_move_all();
    benchmark::DoNotOptimize(sparx);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SparxMoveAllSpeed2);

}  // namespace
