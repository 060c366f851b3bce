#!/usr/bin/env bash
# Builds the browser version into build-web/: zorvane.html with its .js, .wasm and .data, the
# web app's manifest and icons, and the service worker that keeps them for offline play.
# Serve that folder and open the page:  python3 -m http.server -d build-web 8000
#                                       then http://localhost:8000/zorvane.html
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh --web
# The pictures, sounds, glyph table and the page's icons come from the native build's generator.
[ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target zorvane_data zorvane_icons >/dev/null
# Debian's emscripten optimiser finds Debian's acorn only through NODE_PATH.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build-web/cmake -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DZORVANE_WEB_DATA="$PWD/build/data" -DZORVANE_WEB_ICONS="$PWD/build/icons" -DZORVANE_WEB_OUT="$PWD/build-web" >/dev/null
cmake --build build-web/cmake
ls -l build-web/zorvane.html build-web/zorvane.js build-web/zorvane.wasm build-web/zorvane.data build-web/sw.js \
  build-web/manifest.webmanifest build-web/icon-192.png build-web/icon-512.png
