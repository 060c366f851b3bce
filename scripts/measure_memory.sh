#!/usr/bin/env bash
# Resident memory of the real game in play, and where it goes.
#   scripts/measure_memory.sh [--audio dummy|pulse] [--size WxH] [--top N] [--massif] [--minutes N]
#                             [ZORVANE] [DATA_DIR]
# Runs the program under Xvfb (640x480 unless --size), starts a game from the menu and plays
# ten seconds of it (walks, a slow and a fast stix). Then prints, from /proc/PID/status, our own
# memory (RssAnon + RssShmem: anonymous pages, ours or written by the libraries, and the shared
# memory of the X image) beside the library pages (RssFile) and the peak (VmHWM), and from
# /proc/PID/smaps the largest mappings: libraries, heap, anonymous blocks (large allocations,
# thread stacks), the X image.
# --audio dummy (the default): SDL's dummy audio driver, so the audio thread and the mixer run
#   without a sound card; pulse: a private PulseAudio server with a null sink (its shared
#   memory pool counts as RssShmem of the game too).
# --massif: the same play under valgrind's massif (the heap: what malloc and new hand out), and the allocation sites
#   that hold the most at its peak: which of the anonymous memory is our surfaces, pictures,
#   sounds and playfield.
# --minutes N: afterwards N minutes of random keys (never Esc, so it stays in the game), with
#   VmHWM and VmRSS logged every minute: memory must not grow. Output goes to $OUT (default:
#   beside ZORVANE in memory/): memory.log, smaps.txt and screenshots.
set -u
audio=dummy size=640x480 top=24 massif="" minutes=0
while [ $# -gt 0 ]; do
  case $1 in
    --audio) audio=$2; shift 2 ;;
    --size) size=$2; shift 2 ;;
    --top) top=$2; shift 2 ;;
    --massif) massif=yes; shift ;;
    --minutes) minutes=$2; shift 2 ;;
    --*) echo "unknown option $1" >&2; exit 2 ;;
    *) break ;;
  esac
done
# The older form: the minutes first.
if [[ ${1:-} =~ ^[0-9]+$ ]]; then minutes=$1; shift; fi
zorvane=$(readlink -f "${1:-build/zorvane}")
data=$(readlink -f "${2:-$(dirname "$zorvane")/data}")
out=${OUT:-$(dirname "$zorvane")/memory}
[ -x "$zorvane" ] || { echo "no program at $zorvane" >&2; exit 2; }
[ -f "$data/OBJECTS2.BMP" ] || { echo "no data folder at $data" >&2; exit 2; }
tools="Xvfb xdotool"
[ "$audio" = pulse ] && tools="$tools pulseaudio"
[ -n "$massif" ] && tools="$tools valgrind ms_print"
(( minutes > 0 )) && tools="$tools import"
for tool in $tools; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 2; }
done
mkdir -p "$out"
log=$out/memory.log
work=$(mktemp -d /tmp/zorvane-memory-XXXXXX)
. "$(dirname "$0")/xvfb-lib.sh"
pulse_pid=""
cleanup() {
  [ -n "$pulse_pid" ] && kill "$pulse_pid" 2>/dev/null
  xvfb_cleanup
}
trap cleanup EXIT
copy_data "$data"
start_xvfb 161 230 "$size"

env=(SDL_AUDIODRIVER=dummy)
if [ "$audio" = pulse ]; then
  # A server of our own, on a socket in the scratch folder, playing into a null sink.
  mkdir -p "$work/pulse"
  HOME=$work/pulse XDG_RUNTIME_DIR=$work/pulse pulseaudio -n --daemonize=no --exit-idle-time=-1 \
    --disallow-exit --use-pid-file=no --system=no \
    --load="module-null-sink sink_name=quiet" \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$work/pulse/native" \
    >"$work/pulse.log" 2>&1 &
  pulse_pid=$!
  for _ in $(seq 50); do [ -S "$work/pulse/native" ] && break; sleep 0.1; done
  [ -S "$work/pulse/native" ] || { cat "$work/pulse.log" >&2; echo "PulseAudio did not start" >&2; exit 1; }
  env=(SDL_AUDIODRIVER=pulseaudio PULSE_SERVER="unix:$work/pulse/native")
fi
run=("$zorvane")
if [ -n "$massif" ]; then
  run=(valgrind --tool=massif --depth=8 --massif-out-file="$work/massif.out" "$zorvane")
fi
(cd "$work" && exec env "${env[@]}" "${run[@]}") >"$work/game.log" 2>&1 &
game_pid=$!
wait_window
[ -n "$massif" ] && sleep 20   # valgrind starts far slower
xdotool windowfocus "$window" 2>/dev/null

hold() {  # hold keys for a number of milliseconds
  local ms=$1; shift
  xdotool keydown "$@"
  sleep "$(printf '%d.%03d' $((ms / 1000)) $((ms % 1000)))"
  xdotool keyup "$@"
}
field() { awk -v f="$1" '$1 == f":" {print $2}' "/proc/$game_pid/status"; }

echo "# $(date -Is) $zorvane, screen $size, audio $audio${massif:+, under massif}, load $(cut -d' ' -f1-3 /proc/loadavg)" | tee -a "$log"
sleep 2
hold 200 Return
sleep 2
hold 3000 Left
hold 1500 Control_L Up
hold 1500 Shift_L Right
hold 2000 Down
sleep 1

if [ -n "$massif" ]; then
  kill -INT "$game_pid" 2>/dev/null
  for _ in $(seq 300); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
  game_pid=""
  cp "$work/massif.out" "$out/massif.out"
  # The peak snapshot's tree: each allocation site with what it held, largest first.
  ms_print --threshold=1 "$out/massif.out" >"$out/massif.txt"
  peak=$(awk '/Detailed snapshots:/ {if (match($0, /[0-9]+ \(peak\)/)) print substr($0, RSTART, RLENGTH - 7)}' "$out/massif.txt")
  awk -v peak="$peak" '$1 == peak && NF >= 6 && $2 ~ /[0-9,]+/ {p = 1} p && /^ *n +time/ && seen {exit} p {print; seen = 1}' \
    "$out/massif.txt" | grep -E '^ *[0-9]|->' | head -80
  exit 0
fi

anon=$(field RssAnon) shmem=$(field RssShmem) file=$(field RssFile) hwm=$(field VmHWM) rss=$(field VmRSS)
echo "ours: RssAnon $anon kB + RssShmem $shmem kB = $((anon + shmem)) kB ($(awk -v k=$((anon + shmem)) 'BEGIN {printf "%.2f", k / 1024}') MiB, target 4 MiB)" | tee -a "$log"
echo "libraries' pages: RssFile $file kB; resident now: VmRSS $rss kB; peak: VmHWM $hwm kB" | tee -a "$log"
cp "/proc/$game_pid/smaps" "$out/smaps.txt"
echo "largest mappings (kB): resident, of it anonymous or shared memory, mapped; what"
awk -v prog="$zorvane" '
  function flush() {
    if (start == "") return
    key = name
    if (name == prog) key = "the program (code and data)"
    else if (name ~ /\.so/) { n = split(name, parts, "/"); key = "library " parts[n] }
    else if (name ~ /^\/SYSV/) key = "SysV shared memory: the window'"'"'s X image"
    else if (name ~ /^\/memfd:pulseaudio/) key = "PulseAudio'"'"'s shared memory pool"
    else if (name == "" && previous == prog) key = "the program'"'"'s zeroed data (.bss: the claim'"'"'s span stack)"
    else if (name == "") key = sprintf("anonymous block of %d kB at %s", size, start)
    R[key] += rss; A[key] += anon + shm; S[key] += size
    previous = name
    start = ""
  }
  /^[0-9a-f]+-[0-9a-f]+ / {
    flush()
    split($1, range, "-"); start = range[1]
    name = ""; for (i = 6; i <= NF; i++) name = name (i > 6 ? " " : "") $i
    rss = anon = shm = size = 0
    next
  }
  /^Size:/ { size = $2 }
  /^Rss:/ { rss = $2 }
  /^Anonymous:/ { anon = $2 }
  /^Shared_Dirty:/ { if (name ~ /^\/(SYSV|memfd)/) shm = $2 }
  END {
    flush()
    for (k in R) if (R[k] > 0) printf "%8d %8d %8d  %s\n", R[k], A[k], S[k], k
  }' "$out/smaps.txt" | sort -rn | head -"$top" | tee -a "$log"

(( minutes > 0 )) || exit 0
# The long session: random keys, memory logged every minute.
start=$SECONDS
sample() {
  echo "t=$((SECONDS - start))s $1 VmHWM=$(field VmHWM)kB VmRSS=$(field VmRSS)kB RssAnon=$(field RssAnon)kB" | tee -a "$log"
}
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
