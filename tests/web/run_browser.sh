#!/usr/bin/env bash
# The browser test: the page in build-web/ (scripts/build-web.sh) in Debian's headless Chromium,
# driven by playwright-core from npm (installed here, at the version the lock file pins).
#   tests/web/run_browser.sh [SCREENSHOT_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
for f in zorvane.html zorvane.js zorvane.wasm zorvane.data sw.js manifest.webmanifest icon-192.png icon-512.png; do
  [ -f "$root/build-web/$f" ] || { echo "build-web/$f is missing: run scripts/build-web.sh" >&2; exit 1; }
done
command -v chromium >/dev/null || { echo "chromium is missing: run scripts/setup-deps.sh --tests" >&2; exit 1; }
if [ ! -d "$here/node_modules/playwright-core" ]; then
  (cd "$here" && npm ci --no-audit --no-fund --loglevel=error)
fi
node "$here/browser_test.mjs" "$root/build-web" "$root/tests/demos" "${1:-}"
# Phones and tablets: touch, layouts, the manifest, offline play.
node "$here/touch_test.mjs" "$root/build-web" "${1:-}"
