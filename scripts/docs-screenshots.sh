#!/usr/bin/env bash
# Renders the documentation's screens from real frames of the real program: golden demos
# replayed through the main loop on the fake platform, the chosen frames written as PNG.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target frameshot assetgen zorvane_data
docs=$PWD/docs
demos=$PWD/tests/demos
shots=$PWD/build/shots
mkdir -p "$shots"
cd build/data
../frameshot "$demos/menu-walk.zdemo" 60 "$shots/menu-screen.png"
../frameshot "$demos/levels-1-to-3-split-bonus.zdemo" 1420 "$shots/game-screen.png"
../frameshot "$demos/about-and-quit.zdemo" 30 "$shots/about-screen.png"
../frameshot "$demos/game-over-initials-hiscores.zdemo" 410 "$shots/initials-screen.png"
# frameshot stores its pixels uncompressed; the copies kept in the repository are compressed.
for shot in menu-screen game-screen about-screen initials-screen; do
  convert "$shots/$shot.png" "$docs/$shot.png"
done
cd ..
./assetgen --preview . && convert contact-sheet.ppm "$docs/contact-sheet.png"
echo "written: docs/menu-screen.png docs/game-screen.png docs/about-screen.png docs/initials-screen.png docs/contact-sheet.png"
