#!/usr/bin/env bash
# The player's settings in the real program under Xvfb: a key bound by its place draws on a
# German layout, the screenshot key writes the frame on screen as a PNG, mute silences the
# mixer's output, and the window choice made with Alt+Enter is there at the next start.
#   run_settings.sh <path to zorvane> <data folder>
set -u

zorvane=$(readlink -f "${1:?usage: run_settings.sh <zorvane> <data dir>}")
data=$(readlink -f "${2:?usage: run_settings.sh <zorvane> <data dir>}")
. "$(dirname "$0")/e2e-lib.sh"
need_setup Xvfb xdotool import convert compare setxkbmap openbox python3

work=$(mktemp -d /tmp/zorvane-settings-XXXXXX)
. "$(dirname "$0")/../../scripts/xvfb-lib.sh"
trap xvfb_cleanup EXIT
[ -n "${KEEP_WORK:-}" ] && trap "cp -r $work /tmp/settings-e2e-kept; xvfb_cleanup" EXIT
copy_data "$data"
# Every file the game reads or writes lives in the test's own folders (the library set the XDG
# ones); screenshots are of the game's window, kept there too.
export HOME=$work/home
mkdir -p "$HOME" "$XDG_CONFIG_HOME/zorvane"
shots=$work

# start_game [ENV=VALUE...] -- [OPTION...]: the game in the data copy; waits for its window.
start_game() {
  local envs=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do envs+=("$1"); shift; done
  shift
  (cd "$work" && exec env SDL_AUDIODRIVER=dummy "${envs[@]}" "$zorvane" --seed 3 "$@") >"$work/game.log" 2>&1 &
  game_pid=$!
  wait_window
  shot_window=$window
  xdotool windowfocus "$window" 2>/dev/null
}
menu_lit() { at_least "$(brightness menu 0 0 640 480)" 0.02; }
panel_lit() { at_least "$(brightness game 480 0 160 480)" 0.01; }
stix_up() { at_least "$(stix_pixels stix 310 400 20 66)" 3; }

start_xvfb 140 179 640x480

# 1. A German layout swaps Y and Z; a key bound as "KeyZ" is the key at the Z place whatever it
# types. The key typing z there (X keycode 29, the Y place) must not draw.
setxkbmap de || die "setxkbmap de failed"
printf '[keys]\nslow = ["KeyZ"]\n' >"$XDG_CONFIG_HOME/zorvane/zorvane.toml"
start_game -- --windowed
shot_until menu 150 menu_lit || die "the menu did not show"
press Return
shot_until game 50 panel_lit || die "the game did not start"
sleep 0.5
xdotool keydown z keydown Up   # the Y place under de: not bound
sleep 0.6
xdotool keyup Up keyup z
shot stix
n=$(stix_pixels stix 310 400 20 66)
[ "$n" -eq 0 ] && pass "the key typing z on a German layout (the Y place) does not draw" ||
  fail "the Y place drew a stix ($n pixels)"
xdotool keydown 52 keydown Up   # X keycode 52: the Z place on a PC keyboard
shot_until stix 60 stix_up
xdotool keyup Up keyup 52
n=$(stix_pixels stix 310 400 20 66)
at_least "$n" 3 && pass "the key at the Z place (typing y on a German layout) draws with slow = [\"KeyZ\"] ($n pixels)" ||
  fail "no stix drawn with the key at the Z place ($n pixels)"
stop_game
setxkbmap us

# 2. The screenshot key writes the frame on screen. The about screen holds still; once the
# notice is gone, the window shows exactly the frame (a 640x480 window shows it 1:1).
rm -f "$XDG_CONFIG_HOME/zorvane/zorvane.toml"
start_game -- --windowed
shot_until menu 150 menu_lit || die "the menu did not show"
press Down
press Down
press Return
sleep 1
press F12
png=""
for _ in $(seq 50); do
  png=$(ls "$XDG_PICTURES_DIR"/Zorvane/zorvane-*.png 2>/dev/null | head -1)
  [ -n "$png" ] && break
  sleep 0.1
done
if [ -z "$png" ]; then
  fail "no screenshot in $XDG_PICTURES_DIR/Zorvane"
else
  grep -q "screenshot saved as $png" "$work/game.log" && pass "the game named the screenshot on stdout" ||
    fail "no line naming $png: $(cat "$work/game.log")"
  sleep 2   # the notice shows for 1.5 s
  shot paused
  differ=$(compare -metric AE "$png" "$work/paused.png" null: 2>&1)
  [ "$differ" = "0" ] && pass "the screenshot's pixels equal the frame on screen ($(basename "$png"))" ||
    fail "the screenshot differs from the frame on screen in $differ pixels"
  # During the notice the window shows it, the file never does.
  press F12
  sleep 0.2
  shot notice
  differ=$(compare -metric AE "$png" "$work/notice.png" null: 2>&1)
  [ "$differ" != "0" ] && pass "the notice is drawn over the window's picture ($differ pixels)" ||
    fail "no notice on the window"
  second=$(ls "$XDG_PICTURES_DIR"/Zorvane/zorvane-*.png 2>/dev/null | wc -l)
  [ "$second" -eq 2 ] && pass "a second screenshot is a second file" || fail "$second screenshot files after two"
fi
stop_game

# 3. Mute silences the mixer's output: SDL's disk driver writes what the mixer gives. A key in
# the menu plays its sound; after M the same key writes only silence.
audio=$work/audio.raw
start_game SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$audio" -- --windowed
shot_until menu 150 menu_lit || die "the menu did not show"
loud_since() {
  python3 - "$audio" "$1" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()[int(sys.argv[2]):]
print(sum(1 for i in range(0, len(data) - 1, 2) if data[i] | data[i + 1]))
PY
}
sleep 0.5
from=$(stat -c %s "$audio")
press Down
press Up
sleep 0.5
loud=$(loud_since "$from")
press m
sleep 0.5
from=$(stat -c %s "$audio")
press Down
press Up
sleep 0.5
quiet=$(loud_since "$from")
[ "$loud" -gt 100 ] && [ "$quiet" -eq 0 ] &&
  pass "mute silences the mixer's output ($loud samples of sound before, none after)" ||
  fail "mute: $loud samples of sound before, $quiet after"
stop_game
grep -q "muted = true" "$XDG_STATE_HOME/zorvane/state.toml" 2>/dev/null && pass "mute is remembered" ||
  fail "mute not in the state file"
sed -i 's/muted = true/muted = false/' "$XDG_STATE_HOME/zorvane/state.toml"
stop_display

# 4. Alt+Enter's choice is there at the next start: full screen (the default) on a 1024x768
# screen, Alt+Enter to a 640x480 window, closed; the next start opens the window.
rm -f "$XDG_STATE_HOME/zorvane/state.toml"
start_xvfb 140 179 1024x768
start_wm
size() { xdotool getwindowgeometry "$window" 2>/dev/null | awk '/Geometry/ { print $2 }'; }
wait_size() {
  for _ in $(seq 100); do
    [ "$(size)" = "$1" ] && return 0
    sleep 0.1
  done
  return 1
}
start_game --
wait_size 1024x768 && pass "the game opens full screen by default" || fail "not full screen at the start: $(size)"
sleep 0.5
xdotool windowfocus "$window" 2>/dev/null
xdotool key alt+Return
wait_size 640x480 && pass "Alt+Enter leaves full screen" || fail "Alt+Enter: the window is $(size)"
# Ended as the desktop ends it (SDL turns SIGTERM into a close request, the game saves on its
# way out).
stop_game
grep -q "fullscreen = false" "$XDG_STATE_HOME/zorvane/state.toml" 2>/dev/null && pass "the state file holds the window" ||
  fail "state: $(cat "$XDG_STATE_HOME/zorvane/state.toml" 2>&1)"
start_game --
sleep 2
[ "$(size)" = "640x480" ] && pass "the next start opens the window Alt+Enter chose" || fail "the next start: $(size)"
stop_game
start_game -- --fullscreen
wait_size 1024x768 && pass "--fullscreen still wins over the remembered window" || fail "--fullscreen: $(size)"
stop_game

finish settings
