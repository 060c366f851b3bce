# Sourced by the measurement scripts and the end-to-end tests: a private Xvfb, optionally with a
# small window manager (full screen needs one) or a compositor in its place, and a scratch copy
# of the data.
# Needs $work (scratch folder) set; sets xvfb_pid, wm_pid and DISPLAY.
xvfb_pid="" wm_pid="" game_pid=""
# The game's settings, state, scores and screenshots in $work: no player's files leak in or out.
export XDG_CONFIG_HOME=$work/config XDG_CONFIG_DIRS=$work/config-dirs XDG_STATE_HOME=$work/state
export XDG_DATA_HOME=$work/data XDG_PICTURES_DIR=$work/pictures

# program_args [ZORVANE] [DATA_DIR]: $zorvane and $data, build/zorvane and the data folder
# beside it unless given; exits with status 2 when either is missing.
program_args() {
  zorvane=$(readlink -f "${1:-build/zorvane}")
  data=$(readlink -f "${2:-$(dirname "$zorvane")/data}")
  [ -x "$zorvane" ] || { echo "no program at $zorvane" >&2; exit 2; }
  [ -f "$data/OBJECTS2.BMP" ] || { echo "no data folder at $data" >&2; exit 2; }
}

# need_tools TOOL...: exits with status 2 when one is not installed.
need_tools() {
  local tool
  for tool; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed (scripts/setup-deps.sh --tests)" >&2; exit 2; }
  done
}

# stop_game: the game ($game_pid) stopped and waited for.
stop_game() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null && wait "$game_pid" 2>/dev/null
  game_pid=""
}

# stop_display: the game, then the window manager (or compositor), then Xvfb: each gone before
# the one it runs on, so that none is left waiting for a server that went away.
stop_display() {
  stop_game
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  wm_pid="" xvfb_pid=""
}

# xvfb_cleanup: all stopped (and any other child of the script waited for) and $work removed;
# for `trap xvfb_cleanup EXIT`.
xvfb_cleanup() {
  stop_display
  wait 2>/dev/null
  rm -rf "$work"
}

# start_xvfb FIRST LAST [WIDTHxHEIGHT]: the first free display number in FIRST..LAST, 640x480
# unless a size is given.
start_xvfb() {
  local n size=${3:-640x480}
  for n in $(seq "$1" "$2"); do
    [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ] || continue
    # -noreset: a reset after the last client left refuses connections for a moment, and SDL
    # would then quietly take a driver that shows nothing.
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    export DISPLAY=:$n
    for _ in $(seq 150); do
      # Ours must still run: one that lost the race for the number has exited, and what
      # answers there is another server, perhaps one on its way out.
      kill -0 "$xvfb_pid" 2>/dev/null || break
      if xdotool getdisplaygeometry >/dev/null 2>&1; then
        sleep 0.2
        kill -0 "$xvfb_pid" 2>/dev/null && return 0
        break
      fi
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null
  done
  echo "Xvfb did not start on a free display in :$1..:$2" >&2
  exit 1
}

# start_xvfb_free [WIDTHxHEIGHT]: Xvfb on a display number it picks itself and writes to fd 3
# once it listens, so that runs started at once never share a server; 640x480 unless a size is
# given. -noreset as in start_xvfb.
start_xvfb_free() {
  rm -f "$work/display"
  Xvfb -displayfd 3 -screen 0 "${1:-640x480}x24" -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { echo "Xvfb did not start: $(cat "$work/xvfb.log")" >&2; exit 1; }
  export DISPLAY=":$(head -1 "$work/display")"
  for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "Xvfb did not start on $DISPLAY" >&2
  exit 1
}

# start_wm: openbox on $DISPLAY, waited for until it answers for the desktop (EWMH).
start_wm() {
  command -v openbox >/dev/null || { echo "openbox is not installed (scripts/setup-deps.sh --tests)" >&2; exit 1; }
  local try
  for try in 1 2; do
    openbox --sm-disable >"$work/wm.log" 2>&1 &
    wm_pid=$!
    for _ in $(seq 150); do
      xdotool get_num_desktops >/dev/null 2>&1 && return 0
      kill -0 "$wm_pid" 2>/dev/null || break   # it gave up: start it again
      sleep 0.1
    done
    kill "$wm_pid" 2>/dev/null; wait "$wm_pid" 2>/dev/null
  done
  cat "$work/wm.log" >&2
  echo "the window manager did not start on $DISPLAY" >&2
  exit 1
}

# copy_data DATA: the pictures and sounds into $work, without the build's scores.
copy_data() {
  find "$1" -maxdepth 1 -type f ! -name scores.dat -exec cp {} "$work/" \;
}

# find_window [TENTHS]: the game's window id in $window, waited for up to TENTHS / 10 s (10 s
# by default) while the game runs; status 1 when none appeared.
find_window() {
  window=""
  for _ in $(seq "${1:-100}"); do
    window=$(xdotool search --name '^Marrowin$' 2>/dev/null | tail -1)
    [ -n "$window" ] && return 0
    [ -z "$game_pid" ] || kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  return 1
}

# wait_window [TENTHS]: find_window, or exit with the game's output.
wait_window() {
  find_window "$@" && return 0
  cat "$work/game.log" >&2
  echo "the game window did not appear" >&2
  exit 1
}

# wait_game [TENTHS]: waits up to TENTHS / 10 s (10 s by default) for the game to end; $status
# is its exit status, or empty (and the return status 1) while it still runs.
wait_game() {
  status=""
  for _ in $(seq "${1:-100}"); do
    if ! kill -0 "$game_pid" 2>/dev/null; then
      wait "$game_pid"
      status=$?
      game_pid=""
      return 0
    fi
    sleep 0.1
  done
  return 1
}
