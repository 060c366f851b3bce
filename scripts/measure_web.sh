#!/usr/bin/env bash
# The browser build's figures beside the native build's: page size (the first visit, service
# worker included), first menu frame (first visit and a later one from the worker's cache), the
# game's time for the frames of a timed replay of the same demo (browser and native, start-up
# excluded in both; median of RUNS, and whether the page is within 2x native), and the CPU share
# of all of headless Chromium in the menu and in a game (three runs of 30 s each).
#   scripts/measure_web.sh [DEMO] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
demo="${1:-tests/demos/levels-1-to-3-split-bonus.zdemo}"
runs="${2:-5}"
[ -f build-web/zorvane.wasm ] || scripts/build-web.sh >/dev/null
[ -x build/zorvane ] || cmake --build build --target zorvane >/dev/null
[ -d tests/web/node_modules/playwright-core ] || (cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
echo "load: $(uptime)"
page_log=$(mktemp)
trap 'rm -f "$page_log"' EXIT
node tests/web/measure_page.mjs build-web "$demo" "$runs" | tee "$page_log"
native=()
for _ in $(seq "$runs"); do
  line=$(SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy build/zorvane --timedemo "$demo")
  echo "native: $line"
  native+=("$(echo "$line" | sed -n 's/.*seconds \([0-9.]*\),.*/\1/p')")
done
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
page_ms=$(sed -n 's/^timed replay of .* frames in \([0-9.]*\) ms.*/\1/p' "$page_log" | median)
native_ms=$(printf '%s\n' "${native[@]}" | median | awk '{ printf "%.1f", $1 * 1000 }')
awk -v p="$page_ms" -v n="$native_ms" -v r="$runs" 'BEGIN {
  printf "timed replay, median of %d: page %.1f ms, native %.1f ms, page/native %.2f: the page within 2x native: %s\n",
         r, p, n, p / n, p <= 2 * n ? "yes" : "no" }'
echo "load: $(uptime)"
