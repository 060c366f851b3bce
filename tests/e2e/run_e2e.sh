#!/usr/bin/env bash
# The real game in a real X window under Xvfb: typed at with xdotool, checked by screenshots.
#   run_e2e.sh <path to zorvane> <data folder>
# Screenshots are kept beside the program as e2e-*.png.
set -u

zorvane=$(readlink -f "${1:?usage: run_e2e.sh <zorvane> <data dir>}")
data=$(readlink -f "${2:?usage: run_e2e.sh <zorvane> <data dir>}")
shots=$(dirname "$zorvane") shot_prefix=e2e-
. "$(dirname "$0")/e2e-lib.sh"
need_setup Xvfb xdotool import convert
[ -f "$data/OBJECTS2.BMP" ] && [ -f "$data/menuselect.wav" ] || die "no generated pictures and sounds in $data"

rm -f "$shots"/e2e-*.png
work=$(mktemp -d /tmp/zorvane-e2e-XXXXXX)
. "$(dirname "$0")/../../scripts/xvfb-lib.sh"
trap xvfb_cleanup EXIT
# A private copy of the data folder, so the run never touches the build's scores.dat.
copy_data "$data"
start_xvfb_free

# What the running game's threads are doing, for a timeout that finds it still running.
game_stacks() {
  if command -v gdb >/dev/null; then
    echo "stacks of the running game:"
    gdb -p "$game_pid" -batch -ex 'thread apply all bt' 2>/dev/null | grep -E '^(#|Thread)' | head -80
  fi
}

# Starts the game in the data copy and waits for its window; its scores go to a home of the
# test's own (the library put its other files there too). Seed 3 starts the QIX in the top left
# corner, far from the claim drawn below at the bottom, so the claim is seldom cut by it.
start_game() {
  (cd "$work" && HOME="$work" SDL_AUDIODRIVER=dummy exec "$zorvane" --seed 3) >"$work/game.log" 2>&1 &
  game_pid=$!
  # Up to 30 s: on a loaded machine loading the libraries alone has taken over 2 s.
  find_window 300 && return
  cat "$work/game.log"
  if kill -0 "$game_pid" 2>/dev/null; then
    game_stacks
    die "the game window did not appear (the game still runs)"
  fi
  wait "$game_pid"
  die "the game window did not appear (the game ended with status $?)"
}

# The renderer may replace the first window with another: once the menu shows, the window
# that stands is the one to talk to.
settle_window() {
  window=$(xdotool search --name '^Marrowin$' 2>/dev/null | tail -1)
  xdotool windowfocus "$window" 2>/dev/null
}

# wait_game, showing the threads' stacks of a game that still runs.
wait_game_or_stacks() { wait_game || game_stacks; }

start_game
pass "the window \"Marrowin\" opened"

PALE_YELLOW='rgb(255,255,100)'
ORANGE='rgb(250,100,0)'

screen_lit() { at_least "$(brightness "$1" 0 0 640 480)" 0.02; }
has_colour() { at_least "$(count_colour "$1" "$2" "$3" "$4" "$5" "$6")" "$7"; }

# 1. The menu: the picture, the credit line and the highlighted "New Game" label.
shot_until menu 150 screen_lit menu
settle_window
sleep 0.5
shot menu
n=$(count_colour menu 260 30 200 16 "$PALE_YELLOW")
at_least "$n" 60 && pass "menu shows \"Created by Quarrel Forge\" ($n pixels)" || fail "menu credit line missing ($n pixels)"
n=$(count_colour menu 300 180 90 16 "$PALE_YELLOW")
at_least "$n" 30 && pass "menu highlights \"New Game\" ($n pixels)" || fail "\"New Game\" not highlighted ($n pixels)"
b=$(brightness menu 0 0 640 480)
at_least "$b" 0.02 && pass "menu picture is not black (mean $b)" || fail "menu is black (mean $b)"

# 2. The about screen: Down twice to "About", Enter; Esc back.
press Down
press Down
press Return
shot_until about 30 has_colour about 290 70 110 16 "$ORANGE" 40
n=$(count_colour about 290 70 110 16 "$ORANGE")
at_least "$n" 40 && pass "about screen shows \"About Zorvane\" ($n pixels)" || fail "about heading missing ($n pixels)"
n=$(count_colour about 100 100 500 60 "$PALE_YELLOW")
at_least "$n" 1000 && pass "about screen explains the goal ($n pixels)" || fail "about text missing ($n pixels)"
press Escape
sleep 0.5

# 3. A new game: Up twice back to "New Game", Enter. The border and the side panel show.
press Up
press Up
press Return
panel_lit() { at_least "$(brightness game 480 0 160 480)" 0.01; }
shot_until game 30 panel_lit
sleep 0.5
shot game
pixel() { convert "$(shot_file "$1")" -format "%[pixel:p{$2,$3}]" info:; }
left=$(pixel game 5 200)
right=$(pixel game 473 300)
if [ "$left" = "$right" ] && [ "$left" != "srgb(0,0,0)" ] && [ "$left" != "black" ]; then
  pass "playfield border drawn ($left at x 5 and x 473)"
else
  fail "no playfield border ($left at x 5, $right at x 473)"
fi
b=$(brightness game 480 0 160 480)
at_least "$b" 0.01 && pass "side panel drawn (mean $b)" || fail "side panel empty (mean $b)"

# A small claim with Ctrl held; up to three tries.
draw_claim
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
n=$(count_colour farewell 240 380 200 16 "$PALE_YELLOW")
at_least "$n" 60 && pass "farewell text shown ($n pixels)" || fail "no farewell text ($n pixels)"

wait_game_or_stacks
check_ended "the game did not end after Quit" "the game ended through Quit"

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
  wait_game_or_stacks
  check_ended "closing the window on the about screen did not end the game" \
    "closing the window on the about screen ended the game"
else
  echo "SKIP: closing the window from the desktop (needs python3 and libX11)"
fi

finish e2e
