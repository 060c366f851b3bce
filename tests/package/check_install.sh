#!/usr/bin/env bash
# What `cmake --install` lays down, checked as the desktop and Debian tools check it:
#   check_install.sh <build folder>
# The desktop entry (desktop-file-validate), the AppStream metainfo (appstreamcli, offline),
# the manual page (man's own warnings), the icon sizes, and the program answering --version
# and --help from the install tree without opening a window.
set -u
build=$(readlink -f "${1:?usage: check_install.sh <build folder>}")
failures=0
pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
die() { echo "FAIL: $*"; exit 1; }

for tool in desktop-file-validate appstreamcli man; do
  command -v "$tool" >/dev/null || die "$tool is not installed (scripts/setup-deps.sh --tests installs it)"
done
stage=$(mktemp -d /tmp/zorvane-install-XXXXXX)
trap 'rm -rf "$stage"' EXIT
cmake --install "$build" --prefix "$stage/usr" >"$stage.log" 2>&1 || { cat "$stage.log"; rm -f "$stage.log"; die "cmake --install failed"; }
rm -f "$stage.log"
p=$stage/usr

# The layout: program, pictures, sounds and the glyph table, and the desktop's files; no font,
# no scores.
expect() { [ -e "$p/$1" ] && pass "installed $1" || fail "missing $1"; }
expect games/zorvane
expect share/applications/org.zorvane.Zorvane.desktop
expect share/metainfo/org.zorvane.Zorvane.metainfo.xml
expect share/man/man6/zorvane.6.gz
expect share/doc/zorvane/copyright
expect share/doc/zorvane/changelog.gz
expect share/zorvane/DejaVuSans-Bold-11.glyphs
# The glyph table derives from DejaVu Sans Bold, whose licence travels with it.
grep -q '^License: bitstream-vera' "$p/share/doc/zorvane/copyright" &&
  pass "the copyright file carries the DejaVu licence" || fail "no DejaVu licence in the copyright file"
n=$(find "$p/share/zorvane" -name '*.BMP' | wc -l)
[ "$n" -eq 10 ] && pass "ten pictures in share/zorvane" || fail "$n pictures in share/zorvane"
n=$(find "$p/share/zorvane" -name '*.wav' | wc -l)
[ "$n" -eq 16 ] && pass "sixteen sounds in share/zorvane" || fail "$n sounds in share/zorvane"
extra=$(find "$p/share/zorvane" -type f ! -name '*.BMP' ! -name '*.wav' ! -name '*.glyphs')
[ -z "$extra" ] && pass "nothing else in share/zorvane" || fail "unexpected in share/zorvane: $extra"
for size in 16 22 24 32 48 64 128 256; do
  icon=$p/share/icons/hicolor/${size}x${size}/apps/org.zorvane.Zorvane.png
  if [ -f "$icon" ] && file "$icon" | grep -q "PNG image data, $size x $size, 8-bit/color RGBA"; then
    pass "icon ${size}x${size}"
  else
    fail "icon ${size}x${size}: $(file "$icon" 2>&1)"
  fi
done

out=$(desktop-file-validate "$p/share/applications/org.zorvane.Zorvane.desktop" 2>&1)
[ -z "$out" ] && pass "desktop-file-validate is silent" || fail "desktop-file-validate: $out"
grep -q '^StartupWMClass=zorvane$' "$p/share/applications/org.zorvane.Zorvane.desktop" &&
  pass "desktop entry names the window class zorvane" || fail "no StartupWMClass=zorvane"
out=$(appstreamcli validate --no-net --pedantic "$p/share/metainfo/org.zorvane.Zorvane.metainfo.xml" 2>&1)
status=$?
# Pedantic only: the component ID has capitals, as the ID we chose is spelt.
if [ "$status" -eq 0 ] && ! echo "$out" | grep -E '^[EWI]:' | grep -q .; then
  pass "appstreamcli validate: no errors, warnings or infos"
else
  fail "appstreamcli validate: $out"
fi
out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$p/share/man/man6/zorvane.6.gz" 2>&1 >/dev/null)
[ -z "$out" ] && pass "the manual page formats without warnings" || fail "man: $out"
[ "$(gzip -dc "$p/share/man/man6/zorvane.6.gz" | head -c 2)" = '.\' ] && pass "the manual page is roff" ||
  fail "the manual page is not roff"

# From an unrelated folder, with no display: both answers come without a window.
cd "$stage"
out=$(DISPLAY= SDL_VIDEODRIVER= "$p/games/zorvane" --version 2>&1)
status=$?
[ "$status" -eq 0 ] && echo "$out" | grep -Eq '^zorvane [0-9]+\.[0-9]+\.[0-9]+$' && pass "--version: $out" ||
  fail "--version gave status $status: $out"
out=$(DISPLAY= "$p/games/zorvane" --help 2>/dev/null)
[ $? -eq 0 ] && echo "$out" | grep -q -- '--scores FILE' && pass "--help lists the options" || fail "--help: $out"
"$p/games/zorvane" --no-such-option >/dev/null 2>"$stage/err"
status=$?
[ "$status" -eq 2 ] && grep -q 'Usage:' "$stage/err" && pass "an unknown option exits 2 with the usage" ||
  fail "unknown option: status $status, $(cat "$stage/err")"

if [ "$failures" -eq 0 ]; then
  echo "install: all checks passed"
  exit 0
fi
echo "install: $failures check(s) failed"
exit 1
