#!/usr/bin/env bash
# CPU share and frame rate of the real game under Xvfb, in the menu and in a running game, and
# the time from exec to the first presented frame.
#   scripts/measure_cpu.sh [--size WxH] [--wm] [--wayland] [--hold KEY] [--paused] [--seconds N] [ZORVANE] [DATA_DIR] [SECONDS]
# --size: the screen (default 640x480); --wm: run a window manager so the game is really full
# screen; --wayland: weston (kiosk shell, pixman) nested in Xvfb at that size, the game as its
# Wayland client (weston's CPU is given instead of Xvfb's); --hold KEY: hold that key (xdotool name, e.g. Left) through the game measurement, as a
# player steering along the border would; --paused: press F1 before the game measurement, so it
# measures the paused game (unchanged frames). CPU is utime + stime of the game alone from
# /proc/PID/stat over SECONDS (default 20) on each screen, as a share of one core; frames come
# from the program's ZORVANE_FRAME_STATS lines (presents a second).
# Extra environment (SDL_RENDER_DRIVER=software, ...) is passed on to the game.
set -u
size=640x480 wm="" wayland="" hold="" paused="" seconds=20
while [ $# -gt 0 ]; do
  case $1 in
    --size) size=$2; shift 2 ;;
    --wm) wm=yes; shift ;;
    --wayland) wayland=yes; shift ;;
    --hold) hold=$2; shift 2 ;;
    --paused) paused=yes; shift ;;
    --seconds) seconds=$2; shift 2 ;;
    --*) echo "unknown option $1" >&2; exit 2 ;;
    *) break ;;
  esac
done
seconds=${3:-$seconds}
work=$(mktemp -d /tmp/zorvane-cpu-XXXXXX)
. "$(dirname "$0")/xvfb-lib.sh"
cleanup() {
  [ -n "$hold" ] && [ -n "$xvfb_pid" ] && xdotool keyup "$hold" 2>/dev/null
  # The game first, and gone, before its compositor: a Wayland client of a compositor killed
  # under it has been seen to keep running.
  if [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null; then
    for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$game_pid" 2>/dev/null && { echo "the game did not end on SIGTERM" >&2; kill -9 "$game_pid"; }
    wait "$game_pid" 2>/dev/null
  fi
  game_pid=""
  xvfb_cleanup
}
trap cleanup EXIT
program_args "$@"
need_tools Xvfb xdotool
copy_data "$data"

start_xvfb 231 300 "$size"
[ -n "$wm" ] && start_wm
server_pid=$xvfb_pid server=Xvfb
if [ -n "$wayland" ]; then
  command -v weston >/dev/null || { echo "weston is not installed (scripts/setup-deps.sh --tests)" >&2; exit 2; }
  mkdir -m 700 "$work/runtime"
  export XDG_RUNTIME_DIR=$work/runtime
  weston --backend=x11-backend.so --use-pixman --shell=kiosk-shell.so --socket=measure \
    --width="${size%x*}" --height="${size#*x}" --idle-time=0 >"$work/weston.log" 2>&1 &
  wm_pid=$!  # stopped with the window manager
  server_pid=$wm_pid server=weston
  for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/measure" ] && break; sleep 0.1; done
  [ -S "$XDG_RUNTIME_DIR/measure" ] || { cat "$work/weston.log" >&2; echo "weston did not start" >&2; exit 1; }
fi

stats=$work/frames.log
launched_ms=$(date +%s%3N)
if [ -n "$wayland" ]; then
  (cd "$work" && exec env -u DISPLAY WAYLAND_DISPLAY=measure SDL_VIDEODRIVER=wayland SDL_AUDIODRIVER=dummy \
    ZORVANE_FRAME_STATS="$stats" "$zorvane") >"$work/game.log" 2>&1 &
  game_pid=$!
  for _ in $(seq 100); do window=$(xdotool search --class '^weston' 2>/dev/null | head -1); [ -n "$window" ] && break; sleep 0.1; done
  for _ in $(seq 100); do grep -q '^presents=' "$stats" 2>/dev/null && break; sleep 0.1; done
else
  (cd "$work" && SDL_AUDIODRIVER=dummy ZORVANE_FRAME_STATS="$stats" exec "$zorvane") >"$work/game.log" 2>&1 &
  game_pid=$!
  wait_window
fi
xdotool windowfocus "$window" 2>/dev/null

hz=$(getconf CLK_TCK)
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
presents() { awk -F'[= ]' '/^presents=/ {n += $2; ms += $4; u += $6} END {printf "%d %d %d\n", n, ms, u}' "$stats"; }
# CPU share of one core and frames a second over the next $seconds.
measure() {
  local t0 x0 p0 m0 u0 t1 x1 p1 m1 u1 w0 w1
  read -r p0 m0 u0 < <(presents)
  t0=$(ticks "$game_pid"); x0=$(ticks "$server_pid"); w0=$(date +%s%N)
  sleep "$seconds"
  t1=$(ticks "$game_pid"); x1=$(ticks "$server_pid"); w1=$(date +%s%N)
  read -r p1 m1 u1 < <(presents)
  awk -v g=$((t1 - t0)) -v x=$((x1 - x0)) -v hz="$hz" -v w=$((w1 - w0)) -v p=$((p1 - p0)) -v m=$((m1 - m0)) \
    -v u=$((u1 - u0)) -v what="$1" -v server="$server" \
    'BEGIN { s = w / 1e9; f = m > 0 ? 1000 * p / m : 0; uf = m > 0 ? 1000 * u / m : 0
             printf "%s: game %.1f%% of a core, %s %.1f%%, %.1f presents/s, %.1f unchanged/s (over %.0f s)\n",
                    what, 100 * g / hz / s, server, 100 * x / hz / s, f, uf, s }'
}

sleep 3
first_ms=$(awk -F= '/^first_present_unix_ms=/ {print $2; exit}' "$stats")
echo "start-up: $((first_ms - launched_ms)) ms from exec to the first presented frame"
echo "screen: $size${wm:+ with a window manager}${wayland:+ under weston}, window $(xdotool getwindowgeometry "$window" | awk '/Geometry/ {print $2}'), renderer output $(awk '/output=/ {sub(/.*output=/, ""); o = $1} END {print o}' "$stats")"
echo "renderer: ${SDL_RENDER_DRIVER:-default} ($(awk '/software=/ {sub(/.*software=/, ""); s = $1} END {print s == 1 ? "software" : "accelerated"}' "$stats")); load average: $(cut -d' ' -f1-3 /proc/loadavg)"
measure menu
xdotool keydown Return; sleep 0.2; xdotool keyup Return
sleep 2
if [ -n "$paused" ]; then xdotool keydown F1; sleep 0.2; xdotool keyup F1; sleep 1; fi
[ -n "$hold" ] && xdotool keydown "$hold"
measure "game${paused:+ paused}${hold:+ holding $hold}"
[ -n "$hold" ] && xdotool keyup "$hold"
grep -E '^(VmHWM|VmRSS)' "/proc/$game_pid/status" | tr -s ' \t' ' ' | paste -sd' '
