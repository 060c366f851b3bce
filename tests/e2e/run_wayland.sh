#!/usr/bin/env bash
# The real game as a Wayland client: weston nested in Xvfb (its X11 backend, pixman, the kiosk
# shell, which gives the one window the whole output and the keyboard), the game started with
# SDL_VIDEODRIVER=wayland and no DISPLAY at all. Keys typed into weston's X window reach the
# game; screenshots of the Xvfb screen show what it drew.
#   run_wayland.sh <path to zorvane> <data folder>
# First at scale 1: the menu is seen, a game starts, a claim is drawn, Esc twice ends the
# program with status 0. Then with weston's output scaled by 2: the renderer's output (from the
# frame statistics) is twice the window's size, and the menu is still seen and left cleanly.
# Last, weston's desktop shell: full screen is the whole output, with the game's own scaling.
set -u

zorvane=$(readlink -f "${1:?usage: run_wayland.sh <zorvane> <data dir>}")
data=$(readlink -f "${2:?usage: run_wayland.sh <zorvane> <data dir>}")
shots=$(dirname "$zorvane") shot_prefix=wayland-
. "$(dirname "$0")/e2e-lib.sh"
need_setup Xvfb weston xdotool import convert
[ -f "$data/OBJECTS2.BMP" ] || die "no generated pictures and sounds in $data"

rm -f "$shots"/wayland-*.png
work=$(mktemp -d /tmp/zorvane-wayland-XXXXXX)
. "$(dirname "$0")/../../scripts/xvfb-lib.sh"
trap xvfb_cleanup EXIT
copy_data "$data"
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime

# compositor SCALE [SHELL [WIDTH HEIGHT]]: Xvfb as large as weston's window (640x480 logical
# pixels, or WIDTH x HEIGHT, times SCALE), then weston in it with the kiosk shell (or SHELL),
# waited for until its socket exists and its window shows on the X screen. Weston stands in the
# window manager's place: stop_display stops it.
compositor() {
  local scale=$1 shell=${2:-kiosk} ow=${3:-640} oh=${4:-480}
  start_xvfb_free "$((ow * scale))x$((oh * scale))"
  socket=zorvane-$$-$scale
  weston --backend=x11-backend.so --use-pixman --shell="$shell-shell.so" --socket="$socket" \
    --width="$ow" --height="$oh" --scale="$scale" --idle-time=0 >"$work/weston.log" 2>&1 &
  wm_pid=$!
  weston_window=""
  for _ in $(seq 150); do
    kill -0 "$wm_pid" 2>/dev/null || break
    weston_window=$(xdotool search --class '^weston' 2>/dev/null | head -1)
    [ -S "$XDG_RUNTIME_DIR/$socket" ] && [ -n "$weston_window" ] && break
    sleep 0.1
  done
  [ -S "$XDG_RUNTIME_DIR/$socket" ] && [ -n "$weston_window" ] || { cat "$work/weston.log"; die "weston did not start"; }
  xdotool windowfocus "$weston_window" 2>/dev/null
}

# The game as weston's client, with its frame statistics; no X display to fall back on.
start_game() {
  rm -f "$work/frames.log"
  (cd "$work" && exec env -u DISPLAY HOME="$work" WAYLAND_DISPLAY="$socket" SDL_VIDEODRIVER=wayland \
    SDL_AUDIODRIVER=dummy ZORVANE_FRAME_STATS="$work/frames.log" "$zorvane" --seed 3) >"$work/game.log" 2>&1 &
  game_pid=$!
}

PALE_YELLOW='rgb(255,255,100)'
# The credit line of the menu, at the picture's scale.
menu_seen() {
  local s=$scale
  at_least "$(count_colour "$1" $((260 * s)) $((30 * s)) $((200 * s)) $((16 * s)) "$PALE_YELLOW")" $((60 * s * s))
}
# The side panel of the game screen.
panel_lit() {
  local s=$scale
  at_least "$(brightness "$1" $((480 * s)) 0 $((160 * s)) $((480 * s)))" 0.01
}
# Esc in the game goes back to the menu; Esc in the menu leaves the program.
leave_with_escape() {
  press Escape
  shot_until "$1-menu-again" 50 menu_seen "$1-menu-again" || fail "$1: Esc in the game did not show the menu"
  escape_until_ended
  check_ended "$1: the game did not end after Esc twice" "$1: Esc twice ended the game"
}

# 1. Scale 1.
scale=1
compositor 1
start_game
if shot_until menu 300 menu_seen menu; then
  pass "the menu is drawn as a Wayland client"
else
  cat "$work/game.log"
  die "no menu seen under weston"
fi
for _ in $(seq 50); do grep -q '^presents=' "$work/frames.log" && break; sleep 0.1; done
grep -q 'software=0' "$work/frames.log" && pass "drawn through an accelerated renderer (OpenGL over EGL)" ||
  fail "no frame statistics of an accelerated renderer: $(tail -1 "$work/frames.log")"

press Return
shot_until game 50 panel_lit game && pass "a game started with Enter" || fail "no game screen after Enter"

# A small claim from the start place on the bottom border, as in the X11 test.
draw_claim
[ -n "$claimed" ] && pass "keys through weston draw a claim (brightness $before -> $after)" ||
  fail "no claim seen (brightness $before -> $after)"
leave_with_escape "scale 1"

# No EGL to draw with: nothing can show the game, which says so in one line and ends with
# status 1 (the decorations library may add lines of its own).
(cd "$work" && exec env -u DISPLAY HOME="$work" WAYLAND_DISPLAY="$socket" SDL_VIDEODRIVER=wayland SDL_AUDIODRIVER=dummy \
  SDL_VIDEO_EGL_DRIVER=/nonexistent/libEGL.so.1 timeout -s KILL 20 "$zorvane") >"$work/out" 2>"$work/err" </dev/null
status=$?
lines=$(grep -c '^zorvane:' "$work/err")
if [ "$status" -eq 1 ] && [ "$lines" -eq 1 ]; then
  pass "without EGL: status 1 and one line: $(grep '^zorvane:' "$work/err")"
else
  cat "$work/err"
  fail "without EGL: status $status, $lines line(s) from the game"
fi
stop_display

# 2. Output scaled by 2: the window keeps its logical size, the renderer draws twice as many
# pixels each way.
scale=2
compositor 2
start_game
if shot_until menu-scaled 300 menu_seen menu-scaled; then
  pass "scale 2: the menu is drawn"
else
  cat "$work/game.log"
  fail "scale 2: no menu seen"
fi
sizes=""
for _ in $(seq 50); do
  sizes=$(awk '/^presents=/ { for (i = 1; i <= NF; ++i) { split($i, kv, "="); v[kv[1]] = kv[2] } s = v["output"] " " v["window"] }
               END { print s }' "$work/frames.log" 2>/dev/null)
  [ -n "$sizes" ] && break
  sleep 0.1
done
read -r output size <<<"$sizes"
if [ -n "$sizes" ] && [ "${output%x*}" -eq $((2 * ${size%x*})) ] && [ "${output#*x}" -eq $((2 * ${size#*x})) ]; then
  pass "scale 2: the renderer's output $output is twice the window's $size"
else
  fail "scale 2: renderer output and window sizes '$sizes' (wanted the output twice the window)"
fi
press Return
shot_until game-scaled 50 panel_lit game-scaled && pass "scale 2: a game started" || fail "scale 2: no game screen after Enter"
leave_with_escape "scale 2"
stop_display

# 3. Weston's desktop shell, a 1024x768 output: the game asks for full screen after its first
# frame, and gets the whole output, drawn at its size (the picture scaled by the game).
scale=1
compositor 1 desktop 1024 768
start_game
sizes=""
for _ in $(seq 100); do
  sizes=$(awk '/^presents=/ { for (i = 1; i <= NF; ++i) { split($i, kv, "="); v[kv[1]] = kv[2] } s = v["output"] " " v["window"] }
               END { print s }' "$work/frames.log" 2>/dev/null)
  [ "$sizes" = "1024x768 1024x768" ] && break
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
if [ "$sizes" = "1024x768 1024x768" ]; then
  pass "desktop shell: full screen covers the 1024x768 output, drawn at 1024x768"
else
  cat "$work/game.log"
  fail "desktop shell: renderer output and window '$sizes', not the 1024x768 output"
fi
# The picture's credit line, scaled by 1.6 (768 / 480) and centred (x from 128).
credit_scaled() { at_least "$(count_colour desktop 544 48 320 26 "$PALE_YELLOW")" 150; }
shot_until desktop 50 credit_scaled
n=$(count_colour desktop 544 48 320 26 "$PALE_YELLOW")
at_least "$n" 150 && pass "desktop shell: the menu is drawn scaled to the output ($n pixels of the credit line)" ||
  fail "desktop shell: no scaled menu seen ($n pixels of the credit line)"
xdotool windowfocus "$weston_window" 2>/dev/null
escape_until_ended
[ "$status" = 0 ] && pass "desktop shell: Esc ended the game with exit status 0" ||
  fail "desktop shell: the game did not end with status 0 (status '${status:-still running}')"
stop_display

finish wayland
