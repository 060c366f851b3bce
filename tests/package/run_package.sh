#!/usr/bin/env bash
# The Debian package end to end, on a throwaway machine as root (CI):
#   run_package.sh [build folder]          (default: build-package beside the sources)
# Builds the .deb with cpack, holds it to lintian, installs it with dpkg -i, asks the installed
# program for its version, plays it under Xvfb from an unrelated folder with HOME set to a
# fresh folder until a score is saved, checks the table landed in that home and the installed
# files are unchanged, and purges the package again.
set -u
src=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$src/build-package}
failures=0
pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
die() { echo "FAIL: $*"; exit 1; }

[ "$(id -u)" -eq 0 ] || die "run as root: the package is installed with dpkg -i and purged"
for tool in cpack dpkg-deb dpkg-shlibdeps lintian Xvfb xdotool; do
  command -v "$tool" >/dev/null || die "$tool is not installed (scripts/setup-deps.sh --tests installs it)"
done
# Never replace or purge a copy someone installed on purpose.
if dpkg-query -W -f='${Status}' zorvane 2>/dev/null | grep -q "install ok installed"; then
  die "a zorvane package is already installed here; remove it first"
fi

# 1. The package, built with Debian's hardening flags and the /usr prefix the program is told.
flags_cxx="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
flags_ld=$(dpkg-buildflags --get LDFLAGS)
rm -rf "$build"
CXXFLAGS=$flags_cxx LDFLAGS=$flags_ld cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX=/usr -DZORVANE_TESTS=OFF -DZORVANE_BENCH=OFF >"$build.log" 2>&1 &&
  cmake --build "$build" -j "$(nproc)" >>"$build.log" 2>&1 &&
  (cd "$build" && cpack -G DEB) >>"$build.log" 2>&1 || { cat "$build.log"; die "the package did not build"; }
rm -f "$build.log"
deb=$(ls "$build"/zorvane_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || die "cpack made no .deb"
pass "built $(basename "$deb")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "$depends" | grep -q libsdl2-2.0-0 && pass "depends on libsdl2-2.0-0" || fail "no dependency on libsdl2-2.0-0: $depends"
# The text comes from the packaged glyph table: no font rendering library, no font package.
for unneeded in libsdl2-ttf fonts-dejavu; do
  echo "$depends" | grep -q "$unneeded" && fail "depends on $unneeded: $depends" || pass "no dependency on $unneeded"
done
contents=$(dpkg-deb -c "$deb")
echo "$contents" | grep -q ' \./usr/share/zorvane/DejaVuSans-Bold-11\.glyphs$' && pass "ships the glyph table" ||
  fail "no glyph table in the package"
lintian_out=$(lintian --fail-on error "$deb" 2>&1)
status=$?
echo "$lintian_out" | grep -E '^[EWI]:' | sed 's/^/  lintian /'
[ "$status" -eq 0 ] && pass "lintian reports no errors" || fail "lintian reports errors"

# 2. Installed like any package; the program answers without a display.
dpkg -i "$deb" >/dev/null 2>&1 || die "dpkg -i failed: $(dpkg -i "$deb" 2>&1 | tail -3)"
work=$(mktemp -d /tmp/zorvane-package-XXXXXX)
xvfb_pid=""
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  dpkg --purge zorvane >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
before=$(find /usr/share/zorvane -type f -printf '%p %s %T@\n' | sort)

version=$(DISPLAY= /usr/games/zorvane --version 2>&1)
[ $? -eq 0 ] && [ "$version" = "zorvane $(dpkg-deb -f "$deb" Version)" ] && pass "/usr/games/zorvane --version: $version" ||
  fail "/usr/games/zorvane --version: $version"

# 3. Played from an unrelated folder by a player whose home is brand new.
home=$work/home
elsewhere=$work/elsewhere
mkdir -p "$home" "$elsewhere"
scores=$home/.local/share/zorvane/scores.dat
display=""
for n in $(seq 161 230); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || die "no free X display number"
# -noreset: after the readiness probe below leaves, a resetting server would refuse the game for
# a moment, and the game (rightly) ends when it finds no display.
Xvfb "$display" -screen 0 640x480x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
(cd "$elsewhere" && exec env -i PATH=/usr/bin:/bin HOME="$home" DISPLAY="$display" SDL_AUDIODRIVER=dummy \
  /usr/games/zorvane) >"$work/game.log" 2>&1 &
game_pid=$!
window=""
for _ in $(seq 300); do
  window=$(xdotool search --name '^Marrowin$' 2>/dev/null | tail -1)
  [ -n "$window" ] && break
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
[ -n "$window" ] || { cat "$work/game.log"; die "the installed game opened no window"; }
sleep 1
window=$(xdotool search --name '^Marrowin$' 2>/dev/null | tail -1)
xdotool windowfocus "$window" 2>/dev/null
pass "the installed game opened its window"

press() {
  xdotool keydown "$1"
  sleep 0.15
  xdotool keyup "$1"
  sleep 0.2
}
# The table the game wrote: under the player's home, or (the old place) the working folder.
table() {
  if [ -s "$scores" ]; then echo "$scores"; elif [ -s "$elsewhere/scores.dat" ]; then echo "$elsewhere/scores.dat"; fi
}
table_stamp() { local f; f=$(table); [ -n "$f" ] && stat -c %y "$f"; }
has_score() { local f; f=$(table); [ -n "$f" ] && grep -Eq '^[A-Z]{3} [1-9][0-9]*$' "$f"; }
# "New Game" is the menu's first choice. A game: claim a corner as the e2e run does (the
# score), then, five times, step aside, draw a short stix and stand still until the Fuse takes
# the life, and play on. Enter on the hi-score entry saves the table and starts the next game.
# A table that did not exist yet may be saved without the score, so up to three games.
press Return
sleep 1
games=0
while [ "$games" -lt 3 ] && ! has_score && kill -0 "$game_pid" 2>/dev/null; do
  games=$((games + 1))
  stamp=$(table_stamp)
  xdotool keydown ctrl Up; sleep 0.5
  xdotool keyup Up keydown Right; sleep 0.5
  xdotool keyup Right keydown Down; sleep 1.0
  xdotool keyup Down ctrl; sleep 0.3
  for _ in $(seq 10); do
    xdotool keydown Right; sleep 0.2
    xdotool keyup Right keydown ctrl Up; sleep 0.4
    xdotool keyup Up; sleep 2.0
    xdotool keyup ctrl; sleep 1.0
    press space
    press Return
    [ "$(table_stamp)" != "$stamp" ] && break
  done
done
if [ -s "$scores" ] && has_score; then
  pass "a score was saved to \$HOME/.local/share/zorvane/scores.dat in game $games: $(grep -E '^[A-Z]{3} [1-9]' "$scores" | head -1)"
elif [ -s "$elsewhere/scores.dat" ]; then
  fail "the table was saved to the working folder, not under \$HOME (it is not written through the platform)"
else
  fail "no score saved under the player's home after $games game(s)"
fi
stray=$(find "$elsewhere" -mindepth 1 | head -5)
[ -z "$stray" ] && pass "nothing was written to the folder the game ran from" || fail "written where the game ran: $stray"
grep -q -e "not found" -e "glyph table" "$work/game.log" && fail "the game missed data files: $(cat "$work/game.log")" ||
  pass "the game found all its pictures, sounds and glyphs"
kill -0 "$game_pid" 2>/dev/null && pass "the game still runs" || fail "the game ended: $(cat "$work/game.log")"
# SDL turns SIGTERM into a quit request: the game closes down as from the desktop.
kill -TERM "$game_pid" 2>/dev/null
for _ in $(seq 100); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
wait "$game_pid"
status=$?
game_pid=""
[ "$status" -eq 0 ] && pass "the game ended with status 0 when asked to close" || fail "the game ended with status $status"

# 4. The package's files are as installed, and nothing was added beside them.
verify=$(dpkg --verify zorvane 2>&1)
[ -z "$verify" ] && pass "dpkg --verify: installed files unchanged" || fail "dpkg --verify: $verify"
after=$(find /usr/share/zorvane -type f -printf '%p %s %T@\n' | sort)
[ "$before" = "$after" ] && pass "nothing written into /usr/share/zorvane" || fail "the data folder changed"

# 5. Purged without a trace.
dpkg --purge zorvane >/dev/null 2>&1 || fail "dpkg --purge failed"
[ ! -e /usr/games/zorvane ] && [ ! -e /usr/share/zorvane ] && pass "purged" || fail "files left after the purge"

if [ "$failures" -eq 0 ]; then
  echo "package: all checks passed"
  exit 0
fi
echo "package: $failures check(s) failed"
exit 1
