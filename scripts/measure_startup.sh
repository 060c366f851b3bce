#!/usr/bin/env bash
# Time from exec to the first presented frame (the menu) and peak memory, under Xvfb, beside
# the same time for an empty SDL2 program (bench/startup/sdl_first_present.c, built here with
# cc): the yardstick of what showing a window at all takes on this machine.
#   scripts/measure_startup.sh [--size WxH] [--wm] [--runs N] [ZORVANE] [DATA_DIR]
# Each run starts the program afresh (SDL_AUDIODRIVER=dummy, so the audio thread runs), reads
# the wall-clock time the program writes at its first present (ZORVANE_FRAME_STATS) and, after
# two seconds of menu, VmHWM (peak resident memory) from /proc; then the empty program the same
# way. Prints each run and the medians (default 5 runs).
# Extra environment (SDL_RENDER_DRIVER=opengl, ...) is passed on to both.
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
work=$(mktemp -d /tmp/zorvane-startup-XXXXXX)
. "$(dirname "$0")/xvfb-lib.sh"
trap xvfb_cleanup EXIT
program_args "$@"
need_tools Xvfb xdotool
copy_data "$data"
start_xvfb 301 370 "$size"
[ -n "$wm" ] && start_wm

empty=$work/sdl_first_present
# shellcheck disable=SC2046
cc -O2 -o "$empty" "$(dirname "$0")/../bench/startup/sdl_first_present.c" $(pkg-config --cflags --libs sdl2) ||
  { echo "the empty SDL2 program did not build (cc, libsdl2-dev)" >&2; exit 2; }
# first_present FILE: the Unix ms a program wrote there, waited for up to 10 s.
first_present() {
  local first=""
  for _ in $(seq 100); do
    first=$(awk -F= '/^first_present_unix_ms=/ {print $2; exit}' "$1" 2>/dev/null)
    [ -n "$first" ] && break
    sleep 0.1
  done
  echo "$first"
}

echo "screen $size${wm:+ with a window manager}, renderer ${SDL_RENDER_DRIVER:-default}, load $(cut -d' ' -f1-3 /proc/loadavg)"
starts=() peaks=() empties=() softs=()
for run in $(seq "$runs"); do
  stats=$work/frames-$run.log
  launched_ms=$(date +%s%3N)
  (cd "$work" && SDL_AUDIODRIVER=dummy ZORVANE_FRAME_STATS="$stats" exec "$zorvane") >"$work/game.log" 2>&1 &
  game_pid=$!
  first=$(first_present "$stats")
  [ -n "$first" ] || { cat "$work/game.log"; echo "no frame presented" >&2; exit 1; }
  sleep 2
  peak=$(awk '/^VmHWM/ {print $2}' "/proc/$game_pid/status")
  kill "$game_pid"; wait "$game_pid" 2>/dev/null; game_pid=""
  # The yardstick, right after, under the same load: with SDL's own choice of renderer (which
  # may load OpenGL), and with its software renderer, as the game takes without a GPU.
  empty_ms=()
  for driver in "${SDL_RENDER_DRIVER:-}" software; do
    marks=$work/empty-$run-${driver:-default}.log
    launched_empty=$(date +%s%3N)
    SDL_RENDER_DRIVER=$driver "$empty" "$marks" >"$work/empty.log" 2>&1 &
    game_pid=$!
    first_empty=$(first_present "$marks")
    kill "$game_pid"; wait "$game_pid" 2>/dev/null; game_pid=""
    [ -n "$first_empty" ] || { cat "$work/empty.log"; echo "the empty SDL2 program presented nothing" >&2; exit 1; }
    empty_ms+=($((first_empty - launched_empty)))
  done
  starts+=($((first - launched_ms))); peaks+=("$peak"); empties+=("${empty_ms[0]}"); softs+=("${empty_ms[1]}")
  echo "run $run: first frame $((first - launched_ms)) ms after exec, peak RSS $peak kB; empty SDL2 program ${empty_ms[0]} ms, with the software renderer ${empty_ms[1]} ms"
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
echo "median: first frame $(median "${starts[@]}") ms, peak RSS $(median "${peaks[@]}") kB; empty SDL2 program $(median "${empties[@]}") ms, with the software renderer $(median "${softs[@]}") ms"
