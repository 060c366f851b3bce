#!/usr/bin/env bash
# The real game's sound through a real sound server that goes away and comes back: PulseAudio
# started by the test on a private socket with a null sink, the game under Xvfb with
# PULSE_SERVER naming that socket and SDL left to choose its driver. What reaches the server is
# recorded from the null sink's monitor with parec; non-silent samples prove the game's sounds
# got there (SDL streams silence too, so a client alone proves nothing). The server is killed
# in the middle of a game, the game plays on, the server is started again, and the game's
# sounds are recorded from it again within a few seconds; Esc then ends the game with status 0.
#   run_sound_server.sh <path to zorvane> <data folder>
set -u

zorvane=$(readlink -f "${1:?usage: run_sound_server.sh <zorvane> <data dir>}")
data=$(readlink -f "${2:?usage: run_sound_server.sh <zorvane> <data dir>}")
. "$(dirname "$0")/e2e-lib.sh"
need_setup Xvfb xdotool pulseaudio parec pactl od
[ -f "$data/menubrowse.wav" ] || die "no generated sounds in $data"

work=$(mktemp -d /tmp/zorvane-sound-XXXXXX)
. "$(dirname "$0")/../../scripts/xvfb-lib.sh"
pulse_pid="" parec_pid=""
cleanup() {
  stop_game
  for pid in "$parec_pid" "$pulse_pid"; do [ -n "$pid" ] && kill "$pid" 2>/dev/null; done
  xvfb_cleanup
}
trap cleanup EXIT
copy_data "$data"
mkdir -m 700 "$work/runtime" "$work/pulse-home"
export PULSE_SERVER="unix:$work/pulse.sock"
SINK=zorvane_test
# Short pauses after a key: sound_reaches_server presses as many as it can in its time.
press_pause=0.1

# The server with nothing but the socket and a null sink; waited for until it answers.
start_server() {
  HOME="$work/pulse-home" XDG_RUNTIME_DIR="$work/runtime" pulseaudio -n --daemonize=no --exit-idle-time=-1 \
    --use-pid-file=no --disable-shm=yes \
    -L "module-native-protocol-unix socket=$work/pulse.sock auth-anonymous=1" \
    -L "module-null-sink sink_name=$SINK rate=44100 channels=2" >>"$work/pulse.log" 2>&1 &
  pulse_pid=$!
  for _ in $(seq 100); do
    pactl list short sinks 2>/dev/null | grep -q "$SINK" && return 0
    kill -0 "$pulse_pid" 2>/dev/null || break
    sleep 0.1
  done
  cat "$work/pulse.log"
  die "PulseAudio did not start"
}
# What the sink plays, recorded as 16-bit stereo into a file of its own.
start_recording() {
  recording=$work/recording-$1.raw
  parec --raw --format=s16le --channels=2 --rate=44100 --latency-msec=20 -d "$SINK.monitor" >"$recording" 2>>"$work/parec.log" &
  parec_pid=$!
}
stop_recording() {
  [ -n "$parec_pid" ] && kill "$parec_pid" 2>/dev/null
  wait "$parec_pid" 2>/dev/null
  parec_pid=""
}
# The loudest sample recorded after byte offset $2 of file $1.
loudest_since() {
  tail -c +$(($2 + 1)) "$1" | od -An -v -t d2 -w32 |
    awk '{ for (i = 1; i <= NF; ++i) { v = $i < 0 ? -$i : $i; if (v > m) m = v } } END { print m + 0 }'
}
# Presses Down and Up in turn (each plays the menu's browse sound and the selection ends where
# it was) until the recording holds a sound, for up to $1 tenths of a second.
sound_reaches_server() {
  local start size
  start=$(stat -c %s "$recording")
  local deadline=$((SECONDS + $1 / 10))
  while [ "$SECONDS" -le "$deadline" ]; do
    press Down
    press Up
    size=$(stat -c %s "$recording")
    [ "$size" -gt "$start" ] && [ "$(loudest_since "$recording" "$start")" -gt 300 ] && return 0
  done
  return 1
}

start_xvfb_free

# The game with SDL choosing its audio driver; waited for until it has drawn its first second.
start_game() {
  rm -f "$work/frames.log"
  (cd "$work" && exec env -u SDL_AUDIODRIVER HOME="$work" ZORVANE_FRAME_STATS="$work/frames.log" "$zorvane" --windowed) \
    >"$work/game.log" 2>&1 &
  game_pid=$!
  wait_window 300
  for _ in $(seq 100); do grep -q '^presents=' "$work/frames.log" 2>/dev/null && break; sleep 0.1; done
  xdotool windowfocus "$window" 2>/dev/null
}
stop_server() {
  kill "$pulse_pid"
  wait "$pulse_pid" 2>/dev/null
  pulse_pid=""
}
# Esc in the menu ends the program: status 0 is wanted.
quit_game() {
  escape_until_ended
  if [ "$status" = 0 ]; then
    pass "$1: Esc ended the game with exit status 0"
  else
    cat "$work/game.log"
    fail "$1: the game did not end with status 0 (status '${status:-still running}')"
  fi
}

start_server
start_recording 1
start_game

if sound_reaches_server 150; then
  pass "the menu's sounds reach PulseAudio (loudest sample $(loudest_since "$recording" 0))"
else
  pactl list short sink-inputs
  fail "nothing but silence recorded from the server"
fi

# A game, and the server killed in the middle of it.
press Return
sleep 1
stop_recording
stop_server
lines_at_kill=$(grep -c '^presents=' "$work/frames.log")
xdotool keydown Left
# Three more seconds of frames counted by the game itself, each second with frames in it.
for _ in $(seq 150); do
  [ "$(grep -c '^presents=' "$work/frames.log")" -ge $((lines_at_kill + 3)) ] && break
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
xdotool keyup Left
drawn=$(tail -n +$((lines_at_kill + 1)) "$work/frames.log" | awk -F'[= ]' '/^presents=/ {n++; if ($2 > 0) d++} END {print d + 0 "/" n + 0}')
if kill -0 "$game_pid" 2>/dev/null && [ "${drawn%/*}" -ge 3 ] && [ "${drawn%/*}" = "${drawn#*/}" ]; then
  pass "with the server killed the game plays on (frames drawn in $drawn seconds since)"
else
  cat "$work/game.log"
  fail "the game did not play on without the server (frames drawn in $drawn seconds)"
fi

# The server again: the game's sounds reach it within a few seconds. Esc goes back to the menu,
# whose browse sounds are the ones listened for.
start_server
start_recording 2
press Escape
if sound_reaches_server 100; then
  pass "after the server came back the game's sounds reach it again (loudest sample $(loudest_since "$recording" 0))"
else
  pactl list short sink-inputs
  cat "$work/game.log"
  fail "no sound recorded after the server came back"
fi

quit_game "server restarted"
stop_recording
stop_server

# No server when the game starts: it starts without waiting for one and draws, silent; a
# server started afterwards gets its sounds within a few seconds.
start_ms=$(date +%s%3N)
start_game
first_ms=$(awk -F= '/^first_present_unix_ms=/ {print $2; exit}' "$work/frames.log")
if [ -n "$first_ms" ] && grep -q '^presents=' "$work/frames.log"; then
  pass "no server at start: the game draws (first frame $((first_ms - start_ms)) ms after the start)"
else
  fail "no server at start: no frames drawn"
fi
start_server
start_recording 3
if sound_reaches_server 100; then
  pass "no server at start: a server started later gets the game's sounds (loudest sample $(loudest_since "$recording" 0))"
else
  cat "$work/game.log"
  fail "no server at start: no sound recorded from the server started later"
fi
quit_game "server started late"

finish "sound server"
