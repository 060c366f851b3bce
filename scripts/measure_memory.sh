#!/usr/bin/env bash
# Resident memory of the real game over a long session of play with sound.
#   scripts/measure_memory.sh [MINUTES] [ZORVANE] [DATA_DIR]
# Runs the program under Xvfb (SDL_AUDIODRIVER=dummy, so SDL's audio thread and the mixer run),
# starts a game from the menu and then presses random keys with xdotool, never Esc, so it stays
# on the game screen. VmHWM and VmRSS from /proc/PID/status are logged at start-up and every
# minute; screenshots are taken now and then. Output goes to $OUT (default: beside ZORVANE in
# memory/): memory.log and shot-*.png.
set -u
minutes=${1:-60}
zorvane=$(readlink -f "${2:-build/zorvane}")
data=$(readlink -f "${3:-$(dirname "$zorvane")/data}")
out=${OUT:-$(dirname "$zorvane")/memory}
[ -x "$zorvane" ] || { echo "no program at $zorvane" >&2; exit 2; }
[ -f "$data/OBJECTS2.BMP" ] || { echo "no data folder at $data" >&2; exit 2; }
for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 2; }
done
mkdir -p "$out"
log=$out/memory.log
work=$(mktemp -d /tmp/zorvane-memory-XXXXXX)
. "$(dirname "$0")/xvfb-lib.sh"
trap xvfb_cleanup EXIT
copy_data "$data"

start_xvfb 161 230

(cd "$work" && SDL_AUDIODRIVER=dummy exec "$zorvane") >"$work/game.log" 2>&1 &
game_pid=$!
window=""
for _ in $(seq 100); do
  window=$(xdotool search --name '^Marrowin$' 2>/dev/null | head -1)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { cat "$work/game.log"; echo "the game window did not appear" >&2; exit 1; }
xdotool windowfocus "$window" 2>/dev/null

start=$SECONDS
sample() {
  local status hwm rss cpu
  status=$(cat "/proc/$game_pid/status" 2>/dev/null) || return 1
  hwm=$(awk '/^VmHWM/ {print $2}' <<<"$status")
  rss=$(awk '/^VmRSS/ {print $2}' <<<"$status")
  # utime + stime in clock ticks, fields 14 and 15 (the name in field 2 has no spaces here).
  cpu=$(awk '{print $14 + $15}' "/proc/$game_pid/stat")
  echo "t=$((SECONDS - start))s $1 VmHWM=${hwm}kB VmRSS=${rss}kB cpu_ticks=$cpu" | tee -a "$log"
}
hold() {  # hold keys for a number of milliseconds
  local ms=$1; shift
  xdotool keydown "$@"
  sleep "$(printf '%d.%03d' $((ms / 1000)) $((ms % 1000)))"
  xdotool keyup "$@"
}

echo "# $(date -Is) $zorvane, $minutes minutes, display $display" >>"$log"
sleep 3
sample startup-menu
import -window root "$out/shot-menu.png" 2>/dev/null
hold 200 Return
sleep 2
sample game-started
import -window root "$out/shot-0min.png" 2>/dev/null

directions=(Left Right Up Down)
next_sample=60
while (( SECONDS - start < minutes * 60 )); do
  kill -0 "$game_pid" 2>/dev/null || { echo "the game exited" | tee -a "$log"; exit 1; }
  r=$((RANDOM % 100))
  ms=$((100 + RANDOM % 900))
  dir=${directions[RANDOM % 4]}
  if (( r < 40 )); then hold "$ms" "$dir"                  # walk the border
  elif (( r < 65 )); then hold "$ms" Control_L "$dir"      # slow stix
  elif (( r < 85 )); then hold "$ms" Shift_L "$dir"        # fast stix
  elif (( r < 93 )); then hold 150 space                   # go on after a lost life
  elif (( r < 97 )); then hold 150 Return                  # restart after game over, save initials
  else                                                     # a pause of a few seconds
    hold 150 F1; sleep $((1 + RANDOM % 4)); hold 150 F1
  fi
  elapsed=$((SECONDS - start))
  if (( elapsed >= next_sample )); then
    sample "minute=$((elapsed / 60))"
    if (( (elapsed / 60) % 10 == 0 )); then import -window root "$out/shot-$((elapsed / 60))min.png" 2>/dev/null; fi
    next_sample=$((next_sample + 60))
  fi
done
sample end
import -window root "$out/shot-end.png" 2>/dev/null
echo "# done" >>"$log"
