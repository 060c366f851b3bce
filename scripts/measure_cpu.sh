#!/usr/bin/env bash
# CPU share and frame rate of the real game under Xvfb, in the menu and in a running game, and
# the time from exec to the first presented frame.
#   scripts/measure_cpu.sh [ZORVANE] [DATA_DIR] [SECONDS]
# CPU is utime + stime from /proc/PID/stat over SECONDS (default 20) on each screen, as a share
# of one core; frames come from the program's ZORVANE_FRAME_STATS lines (presents a second).
# Extra environment (SDL_RENDER_DRIVER=software, ...) is passed on to the game.
set -u
zorvane=$(readlink -f "${1:-build/zorvane}")
data=$(readlink -f "${2:-$(dirname "$zorvane")/data}")
seconds=${3:-20}
[ -x "$zorvane" ] || { echo "no program at $zorvane" >&2; exit 2; }
[ -f "$data/OBJECTS2.BMP" ] || { echo "no data folder at $data" >&2; exit 2; }
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 2; }
done
work=$(mktemp -d /tmp/zorvane-cpu-XXXXXX)
xvfb_pid="" game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
. "$(dirname "$0")/xvfb-lib.sh"
find "$data" -maxdepth 1 -type f ! -name scores.dat -exec cp {} "$work/" \;

start_xvfb 231 300

stats=$work/frames.log
launched_ms=$(date +%s%3N)
(cd "$work" && SDL_AUDIODRIVER=dummy ZORVANE_FRAME_STATS="$stats" exec "$zorvane") >"$work/game.log" 2>&1 &
game_pid=$!
window=""
for _ in $(seq 100); do
  window=$(xdotool search --name '^Marrowin$' 2>/dev/null | head -1)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { cat "$work/game.log"; echo "the game window did not appear" >&2; exit 1; }
xdotool windowfocus "$window" 2>/dev/null

hz=$(getconf CLK_TCK)
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
presents() { awk -F'[= ]' '/^presents=/ {n += $2; ms += $4} END {printf "%d %d\n", n, ms}' "$stats"; }
# CPU share of one core and frames a second over the next $seconds.
measure() {
  local t0 x0 p0 m0 t1 x1 p1 m1 w0 w1
  read -r p0 m0 < <(presents)
  t0=$(ticks "$game_pid"); x0=$(ticks "$xvfb_pid"); w0=$(date +%s%N)
  sleep "$seconds"
  t1=$(ticks "$game_pid"); x1=$(ticks "$xvfb_pid"); w1=$(date +%s%N)
  read -r p1 m1 < <(presents)
  awk -v g=$((t1 - t0)) -v x=$((x1 - x0)) -v hz="$hz" -v w=$((w1 - w0)) -v p=$((p1 - p0)) -v m=$((m1 - m0)) -v what="$1" \
    'BEGIN { s = w / 1e9; f = m > 0 ? 1000 * p / m : 0
             printf "%s: game %.1f%% of a core, Xvfb %.1f%%, %.1f presents/s (over %.0f s)\n", what, 100 * g / hz / s, 100 * x / hz / s, f, s }'
}

sleep 3
first_ms=$(awk -F= '/^first_present_unix_ms=/ {print $2; exit}' "$stats")
echo "start-up: $((first_ms - launched_ms)) ms from exec to the first presented frame"
echo "renderer: ${SDL_RENDER_DRIVER:-default}; load average: $(cut -d' ' -f1-3 /proc/loadavg)"
measure menu
xdotool keydown Return; sleep 0.2; xdotool keyup Return
sleep 2
measure game
