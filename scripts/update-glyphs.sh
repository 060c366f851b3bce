#!/usr/bin/env bash
# Remakes the checked-in glyph table from the system's DejaVu Sans Bold (fonts-dejavu-core)
# through SDL2_ttf. Only for a deliberate change of the text's pixels (another font version or
# size): the goldens then change too, so re-record them (scripts/update-goldens.sh) and say
# why in the commit.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target assetgen
build/assetgen --glyphs assets/glyphs/DejaVuSans-Bold-11.glyphs
git status --short assets/glyphs
