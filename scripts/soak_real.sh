#!/usr/bin/env bash
# The real program played for a long time under Xvfb: random keys through every screen (menu,
# game, pause, lost lives, game over and initials, hi-score list, about), never Quit. Every
# minute it logs resident memory, the CPU used in that minute and the frame statistics the
# program writes itself (ZORVANE_FRAME_STATS: frames presented, passes that came late, the
# longest gap between passes).
#   scripts/soak_real.sh [MINUTES] [ZORVANE] [DATA_DIR]
# Output goes to $OUT (default: beside ZORVANE in soak/): soak.log, frames.log, shot-*.png.
# The exit status is 1 when the game ended or stopped drawing during the run.
set -u
minutes=${1:-60}
work=$(mktemp -d /tmp/zorvane-soak-XXXXXX)
. "$(dirname "$0")/xvfb-lib.sh"
trap xvfb_cleanup EXIT
program_args "${2:-}" "${3:-}"
need_tools Xvfb xdotool import convert
out=${OUT:-$(dirname "$zorvane")/soak}
mkdir -p "$out"
out=$(readlink -f "$out")
rm -f "$out"/shot-*.png "$out/soak.log" "$out/frames.log"
log=$out/soak.log
stats=$out/frames.log
copy_data "$data"

start_xvfb 301 370

(cd "$work" && HOME="$work" SDL_AUDIODRIVER=dummy ZORVANE_FRAME_STATS="$stats" exec "$zorvane" --windowed) \
  >"$work/game.log" 2>&1 &
game_pid=$!
wait_window
xdotool windowfocus "$window" 2>/dev/null

shot=$work/screen.png
PALE_YELLOW='rgb(255,255,100)'
# Pixels of one exact colour in a rectangle w x h at (x, y) of the last screenshot.
count_colour() {
  convert "$shot" -crop "${3}x${4}+${1}+${2}" +repage -alpha off \
    -fill black +opaque "$5" -fill white -opaque "$5" -format '%[fx:round(mean*w*h)]' info:
}
take_shot() { import -window root "$shot" 2>/dev/null; }
PURPLE='rgb(200,0,200)'
# The menu is the screen with the credit line at the top and the purple labels of its buttons
# (the hi-score list, the about screen and the initials entry have pale yellow text up there
# too, but no buttons).
in_menu() {
  take_shot && [ "$(count_colour 260 30 200 16 "$PALE_YELLOW")" -ge 60 ] &&
    [ "$(count_colour 300 140 90 190 "$PURPLE")" -ge 300 ]
}
# The highlighted menu item (0 Resume, 1 New Game, 2 Hi-Scores, 3 About, 4 Quit), from the last
# screenshot; -1 when none is.
highlighted() {
  local i n best=-1 most=29
  for i in 0 1 2 3 4; do
    n=$(count_colour 300 $((140 + 40 * i)) 90 16 "$PALE_YELLOW")
    if [ "$n" -gt "$most" ]; then most=$n; best=$i; fi
  done
  echo "$best"
}
hold() {  # hold keys for a number of milliseconds
  local ms=$1; shift
  xdotool keydown "$@"
  sleep "$(printf '%d.%03d' $((ms / 1000)) $((ms % 1000)))"
  xdotool keyup "$@"
}

# In the menu: walks the highlight to a chosen item, checking each step on screen, and takes
# it. Never Quit: Return is pressed only with another item seen highlighted.
menu_pick() {
  local target=$1 now step
  for step in $(seq 12); do
    in_menu || return 0
    now=$(highlighted)
    [ "$now" -lt 0 ] && { sleep 0.1; continue; }
    if [ "$now" -eq "$target" ]; then
      [ "$now" -ne 4 ] && hold 150 Return
      return 0
    fi
    if [ "$now" -lt "$target" ]; then hold 120 Down; else hold 120 Up; fi
    sleep 0.1
  done
}

menu_visits=0 games_entered=0 hiscore_visits=0 about_visits=0 escapes=0
menu_step() {
  local r=$((RANDOM % 100))
  menu_visits=$((menu_visits + 1))
  if (( r < 45 )); then menu_pick 1; games_entered=$((games_entered + 1))   # New Game
  elif (( r < 75 )); then menu_pick 0; games_entered=$((games_entered + 1)) # Resume
  elif (( r < 88 )); then menu_pick 2; hiscore_visits=$((hiscore_visits + 1))
  else menu_pick 3; about_visits=$((about_visits + 1))
  fi
  sleep 0.3
}

directions=(Left Right Up Down)
play_step() {
  local r=$((RANDOM % 1000)) ms=$((100 + RANDOM % 900)) dir=${directions[RANDOM % 4]}
  if (( r < 380 )); then hold "$ms" "$dir"                 # walk the border
  elif (( r < 620 )); then hold "$ms" Control_L "$dir"     # slow stix
  elif (( r < 820 )); then hold "$ms" Shift_L "$dir"       # fast stix
  elif (( r < 900 )); then hold 150 space                  # go on after a lost life
  elif (( r < 950 )); then hold 150 Return                 # initials, the hi-score list
  elif (( r < 970 )); then                                 # a pause of a few seconds
    hold 150 F1; sleep $((1 + RANDOM % 4)); hold 150 F1
  else                                                     # back to the menu, seen not to be in it
    in_menu || { hold 150 Escape; escapes=$((escapes + 1)); sleep 0.3; }
  fi
}

hz=$(getconf CLK_TCK)
start=$SECONDS
last_ticks=$(awk '{print $14 + $15}' "/proc/$game_pid/stat")
last_wall=$SECONDS
stats_seen=0
# One line: minute, resident memory, CPU share of one core since the last sample, and the frame
# statistics lines written since then (presents, unchanged, late passes, longest gap).
sample() {
  local status rss hwm ticks wall lines
  status=$(cat "/proc/$game_pid/status" 2>/dev/null) || return 1
  rss=$(awk '/^VmRSS/ {print $2}' <<<"$status")
  hwm=$(awk '/^VmHWM/ {print $2}' <<<"$status")
  ticks=$(awk '{print $14 + $15}' "/proc/$game_pid/stat")
  wall=$SECONDS
  lines=$(grep -c '^presents=' "$stats")
  local frames
  frames=$(tail -n +$((stats_seen + 1)) <(grep '^presents=' "$stats") |
    awk '{ for (i = 1; i <= NF; ++i) { split($i, kv, "="); v[kv[1]] = kv[2] }
           p += v["presents"]; u += v["unchanged"]; ms += v["ms"]; l += v["late"]
           if (v["max_gap_ms"] > g) g = v["max_gap_ms"] }
         END { printf "presents=%d unchanged=%d late=%d max_gap_ms=%d fps=%.1f", p, u, l, g, ms ? 1000 * (p + u) / ms : 0 }')
  stats_seen=$lines
  awk -v t=$((ticks - last_ticks)) -v hz="$hz" -v s=$((wall - last_wall)) -v what="$1" -v rss="$rss" -v hwm="$hwm" \
    -v frames="$frames" 'BEGIN { printf "%s VmRSS=%dkB VmHWM=%dkB cpu=%.1f%% %s\n", what, rss, hwm, s ? 100 * t / hz / s : 0, frames }' |
    tee -a "$log"
  last_ticks=$ticks
  last_wall=$wall
}

echo "# $(date -Is) $zorvane, $minutes minutes, display $DISPLAY, load $(cut -d' ' -f1-3 /proc/loadavg)" >>"$log"
for _ in $(seq 100); do in_menu && break; sleep 0.1; done
cp "$shot" "$out/shot-menu.png"

next_sample=60
ended=""
while (( SECONDS - start < minutes * 60 )); do
  if ! kill -0 "$game_pid" 2>/dev/null; then ended=yes; break; fi
  if in_menu; then menu_step; else play_step; fi
  elapsed=$((SECONDS - start))
  if (( elapsed >= next_sample )); then
    sample "minute=$((elapsed / 60))" || { ended=yes; break; }
    (( (elapsed / 60) % 10 == 0 )) && take_shot && cp "$shot" "$out/shot-$((elapsed / 60))min.png"
    next_sample=$((next_sample + 60))
  fi
done

echo "# screens: menu visits $menu_visits, games entered $games_entered, hi-score list $hiscore_visits, about $about_visits, Esc from a screen $escapes" |
  tee -a "$log"
if [ -n "$ended" ]; then
  echo "# the game ended during the run" | tee -a "$log"
  cat "$work/game.log" | tee -a "$log"
  exit 1
fi
# Growth of resident memory after the first minute, mean CPU, late passes in all.
awk '/^minute=/ { for (i = 1; i <= NF; ++i) { split($i, kv, "="); v[kv[1]] = kv[2] }
                  sub(/kB/, "", v["VmRSS"]); sub(/%/, "", v["cpu"]); n++
                  if (n == 1) first = v["VmRSS"]; last = v["VmRSS"]; cpu += v["cpu"]
                  if (v["cpu"] > top) top = v["cpu"]; late += v["late"]; frames += v["presents"] + v["unchanged"] }
     END { if (n) printf "# %d minutes: VmRSS %d kB after minute 1, %d kB at the end (%+d kB); CPU %.1f%% a minute on average, %.1f%% at most; %d of %d passes late\n",
                  n, first, last, last - first, cpu / n, top, late, frames }' "$log" | tee -a "$log"
# A program that stopped drawing is as bad as one that ended.
recent=$(tail -n 3 "$stats" | awk -F'[= ]' '/^presents=/ {n += $2 + $6} END {print n + 0}')
[ "$recent" -gt 0 ] || { echo "# the game stopped drawing" | tee -a "$log"; exit 1; }
take_shot && cp "$shot" "$out/shot-end.png"
