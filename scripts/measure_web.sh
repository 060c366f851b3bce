#!/usr/bin/env bash
# The browser build's figures beside the native build's: page size (the first visit, service
# worker included), first menu frame (first visit and a later one from the worker's cache), and
# the game's time per frame in a timed replay of the same demo (browser and native).
#   scripts/measure_web.sh [DEMO] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
demo="${1:-tests/demos/levels-1-to-3-split-bonus.zdemo}"
runs="${2:-5}"
[ -f build-web/zorvane.wasm ] || scripts/build-web.sh >/dev/null
[ -x build/zorvane ] || cmake --build build --target zorvane >/dev/null
[ -d tests/web/node_modules/playwright-core ] || (cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
node tests/web/measure_page.mjs build-web "$demo" "$runs"
for _ in $(seq "$runs"); do
  SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy build/zorvane --timedemo "$demo" | sed 's/^/native: /'
done
