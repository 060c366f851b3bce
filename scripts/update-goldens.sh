#!/usr/bin/env bash
# Rewrites the stored results of every golden demo in tests/demos/ from the current code.
# Only for a deliberate change of what the player sees or hears: say why in the commit.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target test_demos
(cd build && ZORVANE_UPDATE_GOLDENS=1 ./test_demos)
git status --short tests/demos
