// The claim at its worst and at its most common, and the grid drawn every frame against a
// plain copy of the same number of bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "world.h"
#include "enemies/qix.h"
#include "game/game.h"
#include "playfield/player.h"
#include "playfield/playfield.h"

namespace {

std::vector<PlayfieldCell> prepared;

void qix_out_of_the_way() {
  game_level = 3;
  for (Qix& q : qix_slots)
    for (int32_t k = 0; k < QIX_TRAIL_LENGTH; ++k) q.x1[k] = q.y1[k] = 0;
}

// Stix walls on every even column, open at the bottom and the top in turn: one winding region
// of 234 one-cell corridors, the most spans the grid can hold (about 109,000).
void field_comb() {
  playfield_reset();
  for (int32_t x = 2; x <= 466; x += 2) {
    for (int32_t y = 1; y <= 467; ++y) playfield_cell(x, y) = CELL_STIX;
    playfield_cell(x, (x / 2) % 2 ? 1 : 467) = CELL_OPEN;
  }
}

void field_half_cut() {
  playfield_reset();
  for (int32_t y = 1; y <= 467; ++y) playfield_cell(234, y) = CELL_STIX;
}

void claim_repeated(benchmark::State& state, void (*field)(), int32_t x, int32_t y, int32_t direction) {
  qix_out_of_the_way();
  field();
  prepared.assign(std::begin(playfield.cells), std::end(playfield.cells));
  int32_t cells = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::memcpy(playfield.cells, prepared.data(), sizeof playfield.cells);
    claimed_cells = 0;
    state.ResumeTiming();
    playfield_claim(x, y, direction, 1);
    cells = claimed_cells;
    benchmark::ClobberMemory();
  }
  state.counters["cells"] = cells;
}

int32_t claim_column = 0;
void field_cut_at_column() {
  playfield_reset();
  for (int32_t y = 1; y <= 467; ++y) playfield_cell(claim_column, y) = CELL_STIX;
}

// The claim time against the area claimed: a cut down one column, the strip right of it taken;
// the argument is the strip's width in cells (467 rows high).
void BM_ClaimArea(benchmark::State& state) {
  claim_column = PLAYFIELD_LAST - 1 - static_cast<int32_t>(state.range(0));
  claim_repeated(state, field_cut_at_column, claim_column, 0, DIR_UP);
}
BENCHMARK(BM_ClaimArea)->Arg(8)->Arg(32)->Arg(117)->Arg(234)->Arg(400)->Unit(benchmark::kMicrosecond);

void BM_ClaimWorstCaseComb(benchmark::State& state) { claim_repeated(state, field_comb, 2, 0, DIR_UP); }
BENCHMARK(BM_ClaimWorstCaseComb)->Unit(benchmark::kMillisecond);

void BM_ClaimHalfField(benchmark::State& state) { claim_repeated(state, field_half_cut, 234, 0, DIR_UP); }
BENCHMARK(BM_ClaimHalfField)->Unit(benchmark::kMillisecond);

// A field in mid game: a third claimed, walls and a stix across the rest.
void field_mid_game() {
  playfield_reset();
  for (int32_t y = 1; y <= 467; ++y) playfield_cell(160, y) = CELL_STIX;
  qix_out_of_the_way();
  playfield_claim(160, 0, DIR_DOWN, 1);
  for (int32_t x = 161; x <= 400; ++x) playfield_cell(x, 300) = CELL_STIX;
}

void BM_PlayfieldDraw(benchmark::State& state) {
  field_mid_game();
  std::vector<uint8_t> screen(640 * 480, 9);
  for (auto _ : state) {
    playfield_draw(screen.data());
    benchmark::DoNotOptimize(screen.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * PLAYFIELD_CELLS);
}
BENCHMARK(BM_PlayfieldDraw)->Unit(benchmark::kMicrosecond);

// The floor: the same 219,961 bytes copied in one piece, and as 469 rows into a 640-byte pitch.
void BM_MemcpySameBytes(benchmark::State& state) {
  std::vector<uint8_t> from(PLAYFIELD_CELLS, 7), to(PLAYFIELD_CELLS);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * PLAYFIELD_CELLS);
}
BENCHMARK(BM_MemcpySameBytes)->Unit(benchmark::kMicrosecond);

void BM_MemcpyRows(benchmark::State& state) {
  std::vector<uint8_t> from(PLAYFIELD_CELLS, 7), screen(640 * 480);
  for (auto _ : state) {
    for (int32_t y = 0; y < PLAYFIELD_SIZE; ++y)
      std::memcpy(&screen[(y + 5) * 640 + 5], &from[y * PLAYFIELD_SIZE], PLAYFIELD_SIZE);
    benchmark::DoNotOptimize(screen.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * PLAYFIELD_CELLS);
}
BENCHMARK(BM_MemcpyRows)->Unit(benchmark::kMicrosecond);

// What the grid itself costs to read: its 219,961 one-byte cells copied in one piece.
void BM_MemcpyGridCells(benchmark::State& state) {
  std::vector<PlayfieldCell> to(PLAYFIELD_CELLS);
  for (auto _ : state) {
    std::memcpy(to.data(), playfield.cells, sizeof playfield.cells);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(sizeof playfield.cells));
}
BENCHMARK(BM_MemcpyGridCells)->Unit(benchmark::kMicrosecond);

}  // namespace
