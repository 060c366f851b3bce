#!/usr/bin/env bash
# Instructions the real program executes per presented frame, counted by valgrind's callgrind:
# a figure that other work on the machine does not change, for before/after comparisons.
#   scripts/measure_frame_instructions.sh [--size WxH] [--wm] [--screen menu|game] [--hold KEY]
#                                         [--seconds N] [--top N] [ZORVANE] [DATA_DIR]
# Runs the program under Xvfb and callgrind with instrumentation off, goes to the screen (the game:
# Enter, then KEY held, Left by default), collects for N seconds (default 20) and divides the
# instructions of every thread by the frames presented meanwhile (ZORVANE_FRAME_STATS). Then
# lists the functions with the most instructions (inclusive of nothing: their own).
set -u
size=640x480 wm="" screen=game hold=Left seconds=20 top=15
while [ $# -gt 0 ]; do
  case $1 in
    --size) size=$2; shift 2 ;;
    --wm) wm=yes; shift ;;
    --screen) screen=$2; shift 2 ;;
    --hold) hold=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --top) top=$2; shift 2 ;;
    --*) echo "unknown option $1" >&2; exit 2 ;;
    *) break ;;
  esac
done
work=$(mktemp -d /tmp/zorvane-instr-XXXXXX)
. "$(dirname "$0")/xvfb-lib.sh"
cleanup() {
  [ -n "$hold" ] && [ -n "$xvfb_pid" ] && xdotool keyup "$hold" 2>/dev/null
  xvfb_cleanup
}
trap cleanup EXIT
program_args "$@"
need_tools Xvfb xdotool valgrind callgrind_control callgrind_annotate
copy_data "$data"
start_xvfb 401 460 "$size"
[ -n "$wm" ] && start_wm

stats=$work/frames.log
(cd "$work" && SDL_AUDIODRIVER=dummy ZORVANE_FRAME_STATS="$stats" exec valgrind --tool=callgrind \
  --instr-atstart=no --callgrind-out-file="$work/callgrind.out" "$zorvane") >"$work/game.log" 2>&1 &
game_pid=$!
wait_window
sleep 5
xdotool windowfocus "$window" 2>/dev/null
if [ "$screen" = game ]; then
  xdotool keydown Return; sleep 0.5; xdotool keyup Return
  sleep 3
  [ -n "$hold" ] && xdotool keydown "$hold"
  sleep 1
else
  hold=""
fi
presents() { awk -F'[= ]' '/^presents=/ {n += $2} END {print n + 0}' "$stats"; }
p0=$(presents)
callgrind_control -i on "$game_pid" >/dev/null
sleep "$seconds"
callgrind_control -i off "$game_pid" >/dev/null
sleep 1.2   # the stats line of the last second
p1=$(presents)
callgrind_control -d "$game_pid" >/dev/null
kill "$game_pid" 2>/dev/null; wait "$game_pid" 2>/dev/null; game_pid=""
# Every thread's part adds up: callgrind_annotate gives each dump's total.
total=0
for f in "$work"/callgrind.out*; do
  callgrind_annotate --threshold=100 "$f" >"$f.txt" 2>/dev/null
  n=$(awk '/PROGRAM TOTALS/ {gsub(",", "", $1); print $1 + 0; exit}' "$f.txt")
  total=$((total + ${n:-0}))
done
frames=$((p1 - p0))
echo "screen $size${wm:+ with a window manager}, $screen${hold:+ holding $hold}, $seconds s: $total instructions, about $frames frames presented"
[ "$frames" -gt 0 ] && awk -v t="$total" -v f="$frames" 'BEGIN {printf "%.0f instructions per presented frame\n", t / f}'
# The functions that took most, their own instructions, from the largest dump.
largest=$(for f in "$work"/callgrind.out*.txt; do
  echo "$(awk '/PROGRAM TOTALS/ {gsub(",", "", $1); print $1 + 0; exit}' "$f") $f"; done | sort -rn | head -1 | cut -d' ' -f2)
awk '/PROGRAM TOTALS/ {p = 1; next} p && /^ *[0-9,]+ / {print} ' "$largest" | head -"$top"
