#!/usr/bin/env bash
# Runs a command on its own X server: Xvfb on a free display number with a
# 1920x1080 screen, and openbox managing it unless --no-wm is given. The
# server and the window manager are stopped when the command ends, whatever
# its outcome; the command's exit status is returned.
#   x11-session.sh [--no-wm] [--screen WxH] command [args...]
set -euo pipefail

wm=1
screen=1920x1080
while [ $# -gt 0 ]; do
  case "$1" in
    --no-wm) wm=0; shift ;;
    --screen) screen=$2; shift 2 ;;
    *) break ;;
  esac
done

work=$(mktemp -d)
xvfb_pid=
wm_pid=
stop() {
  [ -z "$wm_pid" ] || kill "$wm_pid" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  [ -z "$wm_pid" ] || wait "$wm_pid" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || wait "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap stop EXIT

# Waits up to five seconds for a file to have content.
await() {
  for _ in $(seq 100); do
    [ -s "$1" ] && return 0
    sleep 0.05
  done
  echo "x11-session: $2 did not start" >&2
  return 1
}

# Xvfb picks the free display itself and writes its number when it is ready.
Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
await "$work/display" Xvfb || { cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"

if [ "$wm" -eq 1 ]; then
  # Its own empty configuration folder: the defaults, whoever runs it.
  XDG_CONFIG_HOME="$work" openbox --sm-disable --startup "touch $work/managing" >"$work/wm.log" 2>&1 &
  wm_pid=$!
  # --startup runs once openbox manages the screen; touch leaves the file empty.
  for _ in $(seq 100); do [ -e "$work/managing" ] && break; sleep 0.05; done
  [ -e "$work/managing" ] || { echo "x11-session: openbox did not start" >&2; cat "$work/wm.log" >&2; exit 1; }
fi

rc=0
SDL_VIDEODRIVER=x11 "$@" || rc=$?
exit "$rc"
