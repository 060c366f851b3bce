#!/usr/bin/env bash
# The real game in a real X window under Xvfb: typed at with xdotool, checked by screenshots.
#   run_e2e.sh <path to zorvane> <data folder>
# Screenshots are kept beside the program as e2e-*.png.
set -u

zorvane=$(readlink -f "${1:?usage: run_e2e.sh <zorvane> <data dir>}")
data=$(readlink -f "${2:?usage: run_e2e.sh <zorvane> <data dir>}")
shots=$(dirname "$zorvane")
failures=0

pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
die() { echo "FAIL: $*"; exit 1; }

for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null || die "$tool is not installed (scripts/setup-deps.sh --tests installs it)"
done
[ -x "$zorvane" ] || die "no program at $zorvane"
[ -f "$data/OBJECTS2.BMP" ] && [ -f "$data/menuselect.wav" ] || die "no generated pictures and sounds in $data"

rm -f "$shots"/e2e-*.png
work=$(mktemp -d /tmp/zorvane-e2e-XXXXXX)
xvfb_pid=""
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A private copy of the data folder, so the run never touches the build's scores.dat.
find "$data" -maxdepth 1 -type f ! -name scores.dat -exec cp {} "$work/" \;

# Xvfb takes a free display number itself and writes it to fd 3 once it listens, so two runs
# started at once never share a server. -noreset: Xvfb otherwise resets whenever its last
# client (each xdotool call) leaves and refuses connections meanwhile; a game starting then
# finds no display.
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
display=":$(head -1 "$work/display")"
[ "$display" != ":" ] || die "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=$display
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getdisplaygeometry >/dev/null 2>&1 || die "Xvfb did not start on $display"

# What the running game's threads are doing, for a timeout that finds it still running.
game_stacks() {
  if command -v gdb >/dev/null; then
    echo "stacks of the running game:"
    gdb -p "$game_pid" -batch -ex 'thread apply all bt' 2>/dev/null | grep -E '^(#|Thread)' | head -80
  fi
}

# Starts the game in the data copy and waits for its window; its scores go to a home of the
# test's own. Seed 3 starts the QIX in the top left corner, far from the claim drawn below at
# the bottom, so the claim is seldom cut by it.
start_game() {
  (cd "$work" && HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_CONFIG_DIRS="$work/config-dirs" \
    XDG_STATE_HOME="$work/state" XDG_DATA_HOME="$work/data" XDG_PICTURES_DIR="$work/pictures" \
    SDL_AUDIODRIVER=dummy exec "$zorvane" --seed 3) >"$work/game.log" 2>&1 &
  game_pid=$!
  window=""
  # Up to 30 s: on a loaded machine loading the libraries alone has taken over 2 s.
  for _ in $(seq 300); do
    window=$(xdotool search --name '^Marrowin$' 2>/dev/null | head -1)
    [ -n "$window" ] && break
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$window" ]; then
    cat "$work/game.log"
    if kill -0 "$game_pid" 2>/dev/null; then
      game_stacks
      die "the game window did not appear (the game still runs)"
    fi
    wait "$game_pid"
    die "the game window did not appear (the game ended with status $?)"
  fi
}

# The renderer may replace the first window with another: once the menu shows, the window
# that stands is the one to talk to.
settle_window() {
  window=$(xdotool search --name '^Marrowin$' 2>/dev/null | tail -1)
  xdotool windowfocus "$window" 2>/dev/null
}

# Waits up to ten seconds for the game to end: status is its exit status, or empty while it
# still runs (then its threads' stacks are shown).
wait_game() {
  status=""
  for _ in $(seq 100); do
    if ! kill -0 "$game_pid" 2>/dev/null; then
      wait "$game_pid"
      status=$?
      game_pid=""
      return
    fi
    sleep 0.1
  done
  game_stacks
}

start_game
pass "the window \"Marrowin\" opened"

# A press must outlast a frame or two: the game polls the keyboard, it reads no key messages.
press() {
  xdotool keydown "$1"
  sleep 0.15
  xdotool keyup "$1"
  sleep 0.2
}

shot() { import -window root "$shots/e2e-$1.png"; }

# Pixels of one exact colour in a rectangle w x h at (x, y) of a screenshot.
count_colour() {
  convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -alpha off \
    -fill black +opaque "$6" -fill white -opaque "$6" -format '%[fx:round(mean*w*h)]' info:
}
# Mean brightness (0..1) of a rectangle.
brightness() {
  convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -colorspace Gray -format '%[fx:mean]' info:
}
at_least() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'; }

PALE_YELLOW='rgb(255,255,100)'
ORANGE='rgb(250,100,0)'

# Takes screenshots until the check passes or the time (in tenths of a second) runs out.
shot_until() {
  local name=$1 tenths=$2
  shift 2
  for _ in $(seq "$tenths"); do
    shot "$name"
    "$@" && return 0
    sleep 0.1
  done
  return 1
}
screen_lit() { at_least "$(brightness "$shots/e2e-$1.png" 0 0 640 480)" 0.02; }
has_colour() { at_least "$(count_colour "$shots/e2e-$1.png" "$2" "$3" "$4" "$5" "$6")" "$7"; }

# 1. The menu: the picture, the credit line and the highlighted "New Game" label.
shot_until menu 150 screen_lit menu
settle_window
sleep 0.5
shot menu
n=$(count_colour "$shots/e2e-menu.png" 260 30 200 16 "$PALE_YELLOW")
at_least "$n" 60 && pass "menu shows \"Created by Quarrel Forge\" ($n pixels)" || fail "menu credit line missing ($n pixels)"
n=$(count_colour "$shots/e2e-menu.png" 300 180 90 16 "$PALE_YELLOW")
at_least "$n" 30 && pass "menu highlights \"New Game\" ($n pixels)" || fail "\"New Game\" not highlighted ($n pixels)"
b=$(brightness "$shots/e2e-menu.png" 0 0 640 480)
at_least "$b" 0.02 && pass "menu picture is not black (mean $b)" || fail "menu is black (mean $b)"

# 2. The about screen: Down twice to "About", Enter; Esc back.
press Down
press Down
press Return
shot_until about 30 has_colour about 290 70 110 16 "$ORANGE" 40
n=$(count_colour "$shots/e2e-about.png" 290 70 110 16 "$ORANGE")
at_least "$n" 40 && pass "about screen shows \"About Zorvane\" ($n pixels)" || fail "about heading missing ($n pixels)"
n=$(count_colour "$shots/e2e-about.png" 100 100 500 60 "$PALE_YELLOW")
at_least "$n" 1000 && pass "about screen explains the goal ($n pixels)" || fail "about text missing ($n pixels)"
press Escape
sleep 0.5

# 3. A new game: Up twice back to "New Game", Enter. The border and the side panel show.
press Up
press Up
press Return
panel_lit() { at_least "$(brightness "$shots/e2e-game.png" 480 0 160 480)" 0.01; }
shot_until game 30 panel_lit
sleep 0.5
shot game
pixel() { convert "$1" -format "%[pixel:p{$2,$3}]" info:; }
left=$(pixel "$shots/e2e-game.png" 5 200)
right=$(pixel "$shots/e2e-game.png" 473 300)
if [ "$left" = "$right" ] && [ "$left" != "srgb(0,0,0)" ] && [ "$left" != "black" ]; then
  pass "playfield border drawn ($left at x 5 and x 473)"
else
  fail "no playfield border ($left at x 5, $right at x 473)"
fi
b=$(brightness "$shots/e2e-game.png" 480 0 160 480)
at_least "$b" 0.01 && pass "side panel drawn (mean $b)" || fail "side panel empty (mean $b)"

# A small claim from the start place on the bottom border (cell 320, 468): with Ctrl held, up,
# right and back down. The closed corner shows the picture beneath (the place checked lies clear
# of the marker). The enemies move at random, so a second try (after Space, should a life have
# been lost) is allowed.
# Each key is held until the screenshots show the marker far enough, not for a fixed time: a
# loaded machine runs fewer frames in the same time.
# Pixels of the stix's colour (palette entry 255) in a rectangle w x h at (x, y) of a
# screenshot: only the stix, never the QIX passing by, whose trail has colours of its own.
lit_pixels() {
  convert "$shots/e2e-$1.png" -crop "${4}x${5}+${2}+${3}" +repage -alpha off \
    -fill white -opaque 'rgb(255,48,96)' -fill black +opaque white -format '%[fx:round(mean*w*h)]' info:
}
stix_up() { at_least "$(lit_pixels stix 324 436 3 3)" 1; }          # at row 440 or above
stix_right() { at_least "$(lit_pixels stix 344 100 3 360)" 1; }     # at column 345 or right of it
space_prompt_shown() { at_least "$(count_colour "$shots/e2e-lost.png" 120 250 230 14 'rgb(255,255,255)')" 40; }
claim_seen() { at_least "$(brightness "$shots/e2e-claim.png" 335 455 5 5)" 0.02; }
claimed=""
for try in 1 2 3; do
  before=$(brightness "$shots/e2e-game.png" 335 455 5 5)
  xdotool keydown ctrl Up
  shot_until stix 60 stix_up
  xdotool keyup Up keydown Right
  shot_until stix 60 stix_right
  xdotool keyup Right keydown Down
  shot_until claim 80 claim_seen
  xdotool keyup Down ctrl
  sleep 0.4
  shot claim
  after=$(brightness "$shots/e2e-claim.png" 335 455 5 5)
  if at_least 0.005 "$before" && at_least "$after" 0.02; then
    claimed=yes
    break
  fi
  cp "$shots/e2e-claim.png" "$shots/e2e-claim-try$try.png"
  # A lost life takes Space only once its prompt shows (50 frames on, longer under load).
  shot_until lost 150 space_prompt_shown
  press space
  sleep 0.5
  shot game
done
[ -n "$claimed" ] && pass "a stix closed with Ctrl claims its corner (brightness $before -> $after)" ||
  fail "no claim seen (brightness $before -> $after)"
kill -0 "$game_pid" 2>/dev/null && pass "the game runs" || fail "the game stopped"

# 4. Leave through "Quit": Esc to the menu (still on "New Game"), Down three times, Enter.
press Escape
sleep 0.3
press Down
press Down
press Down
xdotool keydown Return
sleep 0.15
xdotool keyup Return
# The farewell stays for two seconds.
shot_until farewell 15 has_colour farewell 240 380 200 16 "$PALE_YELLOW" 60
n=$(count_colour "$shots/e2e-farewell.png" 240 380 200 16 "$PALE_YELLOW")
at_least "$n" 60 && pass "farewell text shown ($n pixels)" || fail "no farewell text ($n pixels)"

wait_game
if [ -z "$status" ]; then
  fail "the game did not end after Quit"
elif [ "$status" -eq 0 ]; then
  pass "the game ended through Quit with exit status 0"
else
  cat "$work/game.log"
  fail "the game ended through Quit with exit status $status"
fi

# 5. Closing the window from the desktop while the about screen runs its own loop: what a
# window manager's close button sends (WM_DELETE_WINDOW), sent here through libX11.
close_window() {
  python3 - "$1" <<'PY'
import ctypes, sys
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x.XFlush.argtypes = [ctypes.c_void_p]
class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]
d = x.XOpenDisplay(None)
e = ClientMessage(type=33, display=d, window=int(sys.argv[1]), format=32)
e.message_type = x.XInternAtom(d, b"WM_PROTOCOLS", 0)
e.data[0] = x.XInternAtom(d, b"WM_DELETE_WINDOW", 0)
sys.exit(0 if x.XSendEvent(d, e.window, 0, 0, ctypes.byref(e)) and x.XFlush(d) else 1)
PY
}
if command -v python3 >/dev/null && ldconfig -p 2>/dev/null | grep -q 'libX11.so.6'; then
  start_game
  shot_until menu2 150 screen_lit menu2
  settle_window
  press Down
  press Down
  press Return
  shot_until about2 30 has_colour about2 290 70 110 16 "$ORANGE" 40
  close_window "$window"
  wait_game
  if [ -z "$status" ]; then
    fail "closing the window on the about screen did not end the game"
  elif [ "$status" -eq 0 ]; then
    pass "closing the window on the about screen ended the game with exit status 0"
  else
    fail "closing the window on the about screen ended the game with exit status $status"
  fi
else
  echo "SKIP: closing the window from the desktop (needs python3 and libX11)"
fi

if [ "$failures" -eq 0 ]; then
  echo "e2e: all checks passed"
  exit 0
fi
echo "e2e: $failures check(s) failed"
exit 1
