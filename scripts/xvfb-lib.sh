# Sourced by the measurement and screen scripts: a private Xvfb, optionally with a small window
# manager (full screen needs one), and a scratch copy of the data.
# Needs $work (scratch folder) set; sets xvfb_pid, wm_pid and DISPLAY.
xvfb_pid="" wm_pid="" game_pid=""
# The game's settings, state, scores and screenshots in $work: no player's files leak in or out.
export XDG_CONFIG_HOME=$work/config XDG_CONFIG_DIRS=$work/config-dirs XDG_STATE_HOME=$work/state
export XDG_DATA_HOME=$work/data XDG_PICTURES_DIR=$work/pictures

# xvfb_cleanup: the game ($game_pid), the window manager and Xvfb stopped, $work removed; for
# `trap xvfb_cleanup EXIT`.
xvfb_cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
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

# wait_window: the game's window id in $window, or exit after 10 s.
wait_window() {
  window=""
  for _ in $(seq 100); do
    window=$(xdotool search --name '^Marrowin$' 2>/dev/null | tail -1)
    [ -n "$window" ] && return 0
    sleep 0.1
  done
  cat "$work/game.log" >&2
  echo "the game window did not appear" >&2
  exit 1
}
