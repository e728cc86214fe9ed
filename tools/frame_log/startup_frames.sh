#!/bin/sh
# Start-up timing of the real game, as a player sees it: exec -> first frame ->
# main menu, tapping through the logos and the intro video, and the longest gap
# between two frames on the way. Run it on an X display, e.g.
#   xvfb-run -a -s "-screen 0 1366x768x24" tools/frame_log/startup_frames.sh build/dev/bin/BramblecoatWars [--data_path DIR]
# Prints "first_ms menu_ms longest_gap_ms frames"; with MENU_SECONDS=n it then
# stays n seconds on the main menu and adds "menu_fps cores" (frames a second
# and processor time / wall time there). The frame log stays in $FRAME_LOG
# (default /tmp/frame_log.txt). Uses its own empty user-data folder.
set -eu
here=$(dirname "$0")
shim=${FRAME_LOG_SHIM:-/tmp/frame_log.so}
log=${FRAME_LOG:-/tmp/frame_log.txt}
[ -f "$shim" ] || gcc -O2 -shared -fPIC -o "$shim" "$here/frame_log.c" -ldl
data=$(mktemp -d)
: > "$log"
start=$(date +%s%N)
XDG_DATA_HOME=$data SDL_AUDIODRIVER=dummy FRAME_LOG=$log LD_PRELOAD=$shim "$@" &
game=$!
# A tap every 100 ms in a corner where the main menu has no button, until a
# frame shows the menu's sky (brightness over 40; logos and video are darker).
tries=0
until awk '$2 > 40 { found = 1 } END { exit !found }' "$log"; do
    xdotool mousemove 20 20 click 1 2>/dev/null || true
    sleep 0.1
    tries=$((tries + 1))
    [ $tries -lt 300 ] || { echo "no main menu after 30 s" >&2; break; }
done
rate=""
if [ -n "${MENU_SECONDS:-}" ]; then
    sleep 1
    cpu() { awk '{ print $14 + $15 }' /proc/$game/stat; }
    ticks=$(getconf CLK_TCK)
    f0=$(wc -l < "$log"); c0=$(cpu); t0=$(date +%s%N)
    sleep "$MENU_SECONDS"
    f1=$(wc -l < "$log"); c1=$(cpu); t1=$(date +%s%N)
    rate=$(awk -v f=$((f1 - f0)) -v c=$((c1 - c0)) -v t=$((t1 - t0)) -v hz="$ticks" \
        'BEGIN { printf " %.1f %.2f", f / (t / 1e9), c / hz / (t / 1e9) }')
fi
kill $game; wait $game 2>/dev/null || true
rm -rf "$data"
awk -v start="$start" '
    { t = ($1 - start) / 1e6 }
    NR == 1 { first = t }
    NR > 1 && !menu && t - last > gap { gap = t - last }
    !menu && $2 > 40 { menu = t; frames = NR }
    { last = t }
    END { printf "%.0f %.0f %.0f %d", first, menu, gap, frames }' "$log"
echo "$rate"
