#!/usr/bin/env bash
# Started where no display can be reached, the game must say so in one line on stderr and exit
# with status 1 at once: never run on invisibly (SDL's offscreen driver) until killed.
#   no_display.sh <path to zorvane>
set -u
zorvane=$(readlink -f "${1:?usage: no_display.sh <zorvane>}")
work=$(mktemp -d /tmp/zorvane-nodisplay-XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # check NAME ENV...: runs the game with that environment (and no display variables)
  local name=$1; shift
  local start end status lines
  start=$(date +%s%N)
  (cd "$work" && exec env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy "$@" \
    timeout -s KILL 10 "$zorvane") >"$work/out" 2>"$work/err" </dev/null
  status=$?
  end=$(date +%s%N)
  lines=$(wc -l <"$work/err")
  local ms=$(( (end - start) / 1000000 ))
  if [ "$status" -eq 1 ] && [ "$ms" -le 2000 ] && [ "$lines" -eq 1 ] && grep -q 'DISPLAY' "$work/err"; then
    echo "PASS: $name: status 1 after $ms ms: $(cat "$work/err")"
  else
    echo "FAIL: $name: status $status after $ms ms, $lines line(s) on stderr:"
    cat "$work/err"
    failures=$((failures + 1))
  fi
}
check "no DISPLAY or WAYLAND_DISPLAY"
check "DISPLAY naming no server" DISPLAY=:9917
[ "$failures" -eq 0 ] && { echo "no display: 2 passed, 0 failed"; exit 0; }
echo "no display: $((2 - failures)) passed, $failures failed"
exit 1
