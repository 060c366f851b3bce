# Sourced by the measurement scripts: a private 640x480 Xvfb and a scratch copy of the data.
# Needs $work (scratch folder) set; sets xvfb_pid and DISPLAY.
# start_xvfb FIRST LAST: the first free display number in FIRST..LAST.
start_xvfb() {
  local n display=""
  for n in $(seq "$1" "$2"); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
  done
  [ -n "$display" ] || { echo "no free X display number" >&2; exit 1; }
  # -noreset: a reset after the last client left refuses connections for a moment.
  Xvfb "$display" -screen 0 640x480x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  export DISPLAY=$display
  for _ in $(seq 150); do xdotool getdisplaygeometry >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "Xvfb did not start on $display" >&2
  exit 1
}
