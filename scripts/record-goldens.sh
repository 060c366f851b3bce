#!/usr/bin/env bash
# Records the golden demos anew with demogen (scripted runs of the real game whose cuts are
# found by trying them in forked copies of the program), then rewrites their stored results.
#   scripts/record-goldens.sh            every scenario demogen --list names
#   scripts/record-goldens.sh NAME...    only these
# Only for a deliberate change of what a script meets in the game: say why in the commit.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target demogen
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  mapfile -t names < <(./build/demogen --list | cut -d' ' -f1)
fi
for name in "${names[@]}"; do
  ./build/demogen --scenario "$name" --out "tests/demos/$name.zdemo" 2> "build/demogen-$name.log"
done
scripts/update-goldens.sh
