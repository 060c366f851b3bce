#!/usr/bin/env bash
# The real game full screen on real screen sizes under Xvfb with a window manager: the picture
# must be 4:3, centred between black bars and fill the height; a resized window's picture
# follows it. Once with the renderer the program picks (SDL's software renderer here, no GPU)
# and once with SDL_RENDER_DRIVER=opengl (Mesa's CPU rasteriser: the OpenGL path, drawn there
# in one nearest pass, since the two-pass sharp scaling costs a CPU too much).
#   run_screens.sh <path to zorvane> <data folder> [--docs DIR]
# Screenshots are kept beside the program as screens-*.png; with --docs, the game screen at
# 1366x768, 1920x1080 and 3840x2160 is also written to DIR as screen-<size>.png (and the
# OpenGL path's at 1920x1080 as screen-1920x1080-opengl.png).
set -u

zorvane=$(readlink -f "${1:?usage: run_screens.sh <zorvane> <data dir> [--docs DIR]}")
data=$(readlink -f "${2:?usage: run_screens.sh <zorvane> <data dir> [--docs DIR]}")
docs=""
[ "${3:-}" = "--docs" ] && docs=$(readlink -f "${4:?--docs needs a folder}")
shots=$(dirname "$zorvane")
. "$(dirname "$0")/e2e-lib.sh"
need_setup Xvfb xdotool import convert openbox
[ -f "$data/MENUPIC.BMP" ] || die "no generated pictures in $data"

rm -f "$shots"/screens-*.png
work=$(mktemp -d /tmp/zorvane-screens-XXXXXX)
. "$(dirname "$0")/../../scripts/xvfb-lib.sh"
trap xvfb_cleanup EXIT
copy_data "$data"

# Starts the game (extra environment as arguments) and waits for the menu to be drawn.
start_game() {
  (cd "$work" && exec env SDL_AUDIODRIVER=dummy "$@" "$zorvane") >"$work/game.log" 2>&1 &
  game_pid=$!
  wait_window
}
# The bounding box of everything not exactly black in a screenshot: "w h x y".
picture_box() { convert "$1" -alpha off -bordercolor black -border 1 -trim -format '%w %h %[fx:page.x - 1] %[fx:page.y - 1]' info:; }
# Takes screenshots until the picture is up (not all black), at most 15 s; then one more.
shot_lit() {
  local file=$1 target=$2
  for _ in $(seq 150); do
    import -window "$target" "$file" 2>/dev/null &&
      awk -v b="$(convert "$file" -colorspace Gray -format '%[fx:mean]' info:)" 'BEGIN { exit !(b > 0.02) }' && break
    sleep 0.1
  done
  sleep 0.5
  import -window "$target" "$file" 2>/dev/null
}
# check_box NAME FILE OUT_W OUT_H: the picture is the 4:3 rectangle as tall as the output,
# centred. The game leaves its own last picture row and column black (sprites are drawn one
# short), so the right and bottom edges of what is lit may fall short by one scaled pixel.
check_box() {
  local name=$1 file=$2 ow=$3 oh=$4 w h x y
  read -r w h x y < <(picture_box "$file")
  local want_w=$(( (oh * 8 + 3) / 6 ))   # oh * 4 / 3, rounded
  local want_x=$(( (ow - want_w) / 2 )) slack=$(( (oh + 479) / 480 + 1 ))
  local right=$((x + w)) bottom=$((y + h))
  if (( x >= want_x - 1 && x <= want_x + 1 && right <= want_x + want_w + 1 && right >= want_x + want_w - slack )); then
    pass "$name: columns $x..$((right - 1)) lit: a ${want_w}-wide 4:3 picture centred in $ow"
  else
    fail "$name: columns $x..$((right - 1)) lit, not a ${want_w}-wide 4:3 picture centred in $ow (from $want_x)"
  fi
  if (( y == 0 && bottom <= oh && bottom >= oh - slack )); then
    pass "$name: rows 0..$((bottom - 1)) lit: fills the height $oh"
  else
    fail "$name: rows $y..$((bottom - 1)) lit, does not fill the height $oh"
  fi
}

run_size() {  # run_size SIZE [ENV...]: full screen at SIZE
  local size=$1; shift
  local label="$size${1:+ $*}" tag="${size}${1:+-opengl}"
  start_xvfb 371 440 "$size"
  start_wm
  start_game "$@"
  local geometry
  shot_lit "$shots/screens-$tag-menu.png" root
  geometry=$(xdotool getwindowgeometry "$window" | awk '/Geometry/ {print $2}')
  [ "$geometry" = "$size" ] && pass "$label: the window is full screen ($geometry)" || fail "$label: the window is $geometry, not full screen"
  check_box "$label menu" "$shots/screens-$tag-menu.png" "${size%x*}" "${size#*x}"
  if [ -n "$docs" ]; then
    xdotool windowfocus "$window" 2>/dev/null
    xdotool keydown Return; sleep 0.15; xdotool keyup Return
    sleep 1.5
    # The software path's nearest pixels have the palette's 256 colours at most: PNG8 keeps
    # them exactly; the smooth pass of the OpenGL path makes more.
    if [ -z "${1:-}" ]; then
      import -window root "PNG8:$docs/screen-$size.png"
      echo "wrote $docs/screen-$size.png"
    else
      import -window root "$docs/screen-$size-opengl.png"
      echo "wrote $docs/screen-$size-opengl.png"
    fi
  fi
  stop_display
}

run_size 1366x768
run_size 1920x1080
run_size 1920x1080 SDL_RENDER_DRIVER=opengl

# A window: resized by the desktop, the picture follows it.
start_xvfb 371 440 1366x768
start_wm
start_game ZORVANE_WINDOWED=1
shot_lit "$shots/screens-window-640x480.png" "$window"
check_box "640x480 window" "$shots/screens-window-640x480.png" 640 480
xdotool windowsize "$window" 1000 600
sleep 1
import -window "$window" "$shots/screens-window-1000x600.png"
read -r ww wh < <(convert "$shots/screens-window-1000x600.png" -format '%w %h' info:)
[ "$ww x $wh" = "1000 x 600" ] || fail "the window was not resized (${ww}x$wh)"
check_box "window resized to 1000x600" "$shots/screens-window-1000x600.png" 1000 600
stop_display

if [ -n "$docs" ]; then
  start_xvfb 371 440 3840x2160
  start_wm
  start_game
  shot_lit "$work/menu.png" root
  xdotool windowfocus "$window" 2>/dev/null
  xdotool keydown Return; sleep 0.15; xdotool keyup Return
  sleep 1.5
  import -window root "PNG8:$docs/screen-3840x2160.png"
  echo "wrote $docs/screen-3840x2160.png"
  stop_display
fi

finish screens
