#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) and runs each one.
#   scripts/fuzz.sh --seconds 600      run each target for ten minutes
#   scripts/fuzz.sh --runs 2000        run each target for a fixed number of inputs (CI)
#   scripts/fuzz.sh --seconds 1800 wave bitmap   only the targets named, in that order
# Seeds come from the generated pictures and sounds, the glyph table and fuzz/seeds/; findings are
# written to build-fuzz/findings/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
limit=(-runs=2000)
case "${1:-}" in
  --seconds) limit=(-max_total_time="$2"); shift 2 ;;
  --runs) limit=(-runs="$2"); shift 2 ;;
esac
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(bitmap wave hiscore demo glyphs config)
for target in "${targets[@]}"; do
  case "$target" in
    bitmap | wave | hiscore | demo | glyphs | config) ;;
    *) echo "usage: $0 [--seconds N | --runs N] [bitmap] [wave] [hiscore] [demo] [glyphs] [config]" >&2; exit 2 ;;
  esac
done
scripts/setup-deps.sh --tests
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZORVANE_FUZZ=ON -DZORVANE_TESTS=OFF -DZORVANE_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target fuzz_bitmap fuzz_wave fuzz_hiscore fuzz_demo fuzz_glyphs fuzz_config zorvane_data

# Absolute paths: libFuzzer reads corpus files as it goes.
corpus=$PWD/build-fuzz/corpus
mkdir -p "$corpus"/{bitmap,wave,hiscore,demo,glyphs,config}
cp -n build-fuzz/data/*.BMP fuzz/seeds/bitmap/* "$corpus/bitmap/" 2>/dev/null || true
cp -n build-fuzz/data/*.wav fuzz/seeds/wave/* "$corpus/wave/" 2>/dev/null || true
cp -n fuzz/seeds/hiscore/* "$corpus/hiscore/" 2>/dev/null || true
cp -n tests/demos/*.zdemo fuzz/seeds/demo/* "$corpus/demo/" 2>/dev/null || true
cp -n assets/glyphs/*.glyphs fuzz/seeds/glyphs/* "$corpus/glyphs/" 2>/dev/null || true
cp -n fuzz/seeds/config/* "$corpus/config/" 2>/dev/null || true

status=0
for target in "${targets[@]}"; do
  findings=$PWD/build-fuzz/findings/$target
  mkdir -p "$findings"
  echo "== fuzz_$target ${limit[*]}"
  build-fuzz/fuzz_$target "${limit[@]}" -max_len=1048576 -rss_limit_mb=2048 \
    -artifact_prefix="$findings/" "$corpus/$target" 2>build-fuzz/fuzz_$target.log &
  pid=$!
  if ! wait "$pid"; then
    status=1
    tail -40 build-fuzz/fuzz_$target.log
  fi
  # The scratch files the target wrote its inputs to.
  rm -rf /dev/shm/zorvane-fuzz-"$pid"-* /tmp/zorvane-fuzz-"$pid"-*
  grep -E "^(#[0-9]+.*DONE|Done [0-9]+ runs)" build-fuzz/fuzz_$target.log | tail -1 || true
done
exit $status
