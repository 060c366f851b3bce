# Sourced by the end-to-end tests: their checks, keys and screenshots. Screenshots are
# $shots/$shot_prefix<name>.png, taken of $shot_window (the root window unless set).
failures=0
shot_prefix=${shot_prefix:-} shot_window=${shot_window:-}

pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
die() { echo "FAIL: $*"; exit 1; }

# need_setup TOOL...: the tools installed and a program at $zorvane, or the test fails.
need_setup() {
  local tool
  for tool; do
    command -v "$tool" >/dev/null || die "$tool is not installed (scripts/setup-deps.sh --tests installs it)"
  done
  [ -x "$zorvane" ] || die "no program at $zorvane"
}

# finish NAME: the summary line; the exit status 1 when any check failed.
finish() {
  if [ "$failures" -eq 0 ]; then
    echo "$1: all checks passed"
    exit 0
  fi
  echo "$1: $failures check(s) failed"
  exit 1
}

# A press must outlast a frame or two: the game polls the keyboard, it reads no key messages.
# Then $press_pause seconds (0.2 unless set) for the game to answer.
press() {
  xdotool keydown "$1"
  sleep 0.15
  xdotool keyup "$1"
  sleep "${press_pause:-0.2}"
}

shot_file() { echo "$shots/$shot_prefix$1.png"; }
shot() { import -window "${shot_window:-root}" "$(shot_file "$1")" 2>/dev/null; }

# Pixels of one exact colour in a rectangle w x h at (x, y) of a screenshot:
#   count_colour NAME X Y W H COLOUR
count_colour() {
  convert "$(shot_file "$1")" -crop "${4}x${5}+${2}+${3}" +repage -alpha off \
    -fill black +opaque "$6" -fill white -opaque "$6" -format '%[fx:round(mean*w*h)]' info:
}
# Mean brightness (0..1) of a rectangle: brightness NAME X Y W H.
brightness() {
  convert "$(shot_file "$1")" -crop "${4}x${5}+${2}+${3}" +repage -colorspace Gray -format '%[fx:mean]' info:
}
# Pixels of the stix's colour (palette entry 255) in a rectangle: only the stix, never the QIX
# passing by, whose trail has colours of its own.
stix_pixels() {
  convert "$(shot_file "$1")" -crop "${4}x${5}+${2}+${3}" +repage -alpha off \
    -fill white -opaque 'rgb(255,48,96)' -fill black +opaque white -format '%[fx:round(mean*w*h)]' info:
}
at_least() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'; }

# shot_until NAME TENTHS CHECK...: screenshots until the check passes, at most TENTHS / 10 s;
# status 1 when the time ran out or the game ended.
shot_until() {
  local name=$1 tenths=$2
  shift 2
  for _ in $(seq "$tenths"); do
    shot "$name"
    "$@" && return 0
    [ -z "$game_pid" ] || kill -0 "$game_pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# A small claim from the start place on the bottom border (cell 320, 468), on the game screen
# of screenshot "game": with Ctrl held, up, right and back down. The closed corner shows the
# picture beneath (the place checked lies clear of the marker). The enemies move at random, so
# more tries (after Space, should a life have been lost) are allowed; a failed try's screenshot
# is kept as claim-tryN. Each key is held until the screenshots show the marker far enough, not
# for a fixed time: a loaded machine runs fewer frames in the same time.
# Sets claimed (yes or empty) and the corner's brightness before and after.
draw_claim() {
  local try
  claimed=""
  for try in 1 2 3; do
    before=$(brightness game 335 455 5 5)
    xdotool keydown ctrl Up
    shot_until stix 60 claim_stix_up
    xdotool keyup Up keydown Right
    shot_until stix 60 claim_stix_right
    xdotool keyup Right keydown Down
    shot_until claim 80 claim_seen
    xdotool keyup Down ctrl
    sleep 0.4
    shot claim
    after=$(brightness claim 335 455 5 5)
    if at_least 0.005 "$before" && at_least "$after" 0.02; then
      claimed=yes
      return
    fi
    cp "$(shot_file claim)" "$(shot_file "claim-try$try")"
    # A lost life takes Space only once its prompt shows (50 frames on, longer under load).
    shot_until lost 150 claim_space_prompt
    press space
    sleep 0.5
    shot game
  done
}
claim_stix_up() { at_least "$(stix_pixels stix 324 436 3 3)" 1; }        # at row 440 or above
claim_stix_right() { at_least "$(stix_pixels stix 344 100 3 360)" 1; }   # at column 345 or right of it
claim_seen() { at_least "$(brightness claim 335 455 5 5)" 0.02; }
claim_space_prompt() { at_least "$(count_colour lost 120 250 230 14 'rgb(255,255,255)')" 40; }

# escape_until_ended: Esc pressed until the game ends (the menu takes it only after its first
# 50 frames), then wait_game.
escape_until_ended() {
  status=""
  for _ in $(seq 20); do
    press Escape
    kill -0 "$game_pid" 2>/dev/null || break
  done
  wait_game
}

# check_ended NOT_ENDED ENDED: after wait_game, a check that the game ended with status 0; the
# failure says NOT_ENDED, or ENDED with the status (and the game's output).
check_ended() {
  if [ -z "$status" ]; then
    fail "$1"
  elif [ "$status" -eq 0 ]; then
    pass "$2 with exit status 0"
  else
    cat "$work/game.log"
    fail "$2 with exit status $status"
  fi
}
