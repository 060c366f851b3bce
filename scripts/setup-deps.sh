#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need; skips what is there.
# SDL2_ttf and the DejaVu fonts serve assetgen alone: it renders the glyph table when it is
# remade (scripts/update-glyphs.sh), and a test compares the checked-in table with that render.
# toml++ reads the settings files, header-only (nothing of it is linked or shipped).
set -euo pipefail
packages=(g++ cmake ninja-build pkg-config libsdl2-dev libsdl2-ttf-dev fonts-dejavu-core libtomlplusplus-dev
          libgtest-dev libgmock-dev googletest libbenchmark-dev)
if [ "${1:-}" = "--tests" ]; then
  # The end-to-end test needs an X server, a key presser, a screenshot tool and gdb (for the
  # stacks of a game that hangs); the fuzzers need clang with its sanitizer runtimes.
  packages+=(xvfb xdotool x11-apps imagemagick gdb clang libclang-rt-14-dev)
  # The screen tests: a small window manager, so that full screen works under Xvfb.
  packages+=(openbox)
  # The Wayland test: weston nested in Xvfb. The sound server test: PulseAudio with parec.
  packages+=(weston pulseaudio pulseaudio-utils)
  # The measurements by hand: instruction counts and heap profiles.
  packages+=(valgrind)
fi
# The browser build: Debian's emscripten (no downloads: the page uses no emscripten ports). The
# browser test: Debian's chromium, driven from Node by playwright-core (from npm).
if [ "${1:-}" = "--web" ] || [ "${1:-}" = "--tests" ]; then
  packages+=(emscripten)
fi
if [ "${1:-}" = "--tests" ]; then
  packages+=(chromium)
  command -v npm >/dev/null || packages+=(nodejs npm)
fi
# Installing and packaging: the icon test reads PNGs back through zlib; the install check
# validates the desktop entry and the AppStream metainfo; the package test (CI, as root)
# builds the .deb (dpkg-shlibdeps finds its library dependencies) and holds it to lintian.
if [ "${1:-}" = "--tests" ]; then
  packages+=(zlib1g-dev desktop-file-utils appstream man-db dpkg-dev lintian file)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
