#!/usr/bin/env bash
# Time from exec to the first presented frame (the menu) and peak memory, under Xvfb.
#   scripts/measure_startup.sh [--size WxH] [--wm] [--runs N] [ZORVANE] [DATA_DIR]
# Each run starts the program afresh (SDL_AUDIODRIVER=dummy, so the audio thread runs), reads
# the wall-clock time the program writes at its first present (ZORVANE_FRAME_STATS) and, after
# two seconds of menu, VmHWM (peak resident memory) from /proc. Prints each run and the medians.
# Extra environment (SDL_RENDER_DRIVER=opengl, ...) is passed on to the game.
set -u
size=640x480 wm="" runs=5
while [ $# -gt 0 ]; do
  case $1 in
    --size) size=$2; shift 2 ;;
    --wm) wm=yes; shift ;;
    --runs) runs=$2; shift 2 ;;
    --*) echo "unknown option $1" >&2; exit 2 ;;
    *) break ;;
  esac
done
zorvane=$(readlink -f "${1:-build/zorvane}")
data=$(readlink -f "${2:-$(dirname "$zorvane")/data}")
[ -x "$zorvane" ] || { echo "no program at $zorvane" >&2; exit 2; }
[ -f "$data/OBJECTS2.BMP" ] || { echo "no data folder at $data" >&2; exit 2; }
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 2; }
done
work=$(mktemp -d /tmp/zorvane-startup-XXXXXX)
. "$(dirname "$0")/xvfb-lib.sh"
trap xvfb_cleanup EXIT
copy_data "$data"
start_xvfb 301 370 "$size"
[ -n "$wm" ] && start_wm

echo "screen $size${wm:+ with a window manager}, renderer ${SDL_RENDER_DRIVER:-default}, load $(cut -d' ' -f1-3 /proc/loadavg)"
starts=() peaks=()
for run in $(seq "$runs"); do
  stats=$work/frames-$run.log
  launched_ms=$(date +%s%3N)
  (cd "$work" && SDL_AUDIODRIVER=dummy ZORVANE_FRAME_STATS="$stats" exec "$zorvane") >"$work/game.log" 2>&1 &
  game_pid=$!
  first=""
  for _ in $(seq 100); do
    first=$(awk -F= '/^first_present_unix_ms=/ {print $2; exit}' "$stats" 2>/dev/null)
    [ -n "$first" ] && break
    sleep 0.1
  done
  [ -n "$first" ] || { cat "$work/game.log"; echo "no frame presented" >&2; exit 1; }
  sleep 2
  peak=$(awk '/^VmHWM/ {print $2}' "/proc/$game_pid/status")
  kill "$game_pid"; wait "$game_pid" 2>/dev/null; game_pid=""
  starts+=($((first - launched_ms))); peaks+=("$peak")
  echo "run $run: first frame $((first - launched_ms)) ms after exec, peak RSS $peak kB"
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
echo "median: first frame $(median "${starts[@]}") ms, peak RSS $(median "${peaks[@]}") kB"
