#!/usr/bin/env bash
# Installs what is missing, builds Ferrolet.exe and starts it under Wine: on the current display
# when there is one, otherwise on a private virtual display. Either way it saves a screenshot of
# the main window and prints the file's path. On a virtual display nobody can use the window, so
# the program is then closed again; on a real display the script waits until you close it.
# Usage: tools/run.sh [build folder, default build]
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
root=$(dirname "$here")
build=$(mkdir -p "${1:-$root/build}" && cd "${1:-$root/build}" && pwd)

"$here/setup-deps.sh"
"$here/configure-build.sh" "$build" Ferrolet
"$here/wine-prefix.sh" "$build"
source "$here/wine-env.sh" "$build"
source "$here/xvfb-start.sh"
virtual=${FERROLET_XVFB_PID:+yes}

pid=
cleanup() {
  if [ -n "$virtual" ]; then
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    # Wine's own helper processes of this prefix hold the virtual display too.
    wineserver -k 2>/dev/null || true
    kill "$FERROLET_XVFB_PID" 2>/dev/null || true
  fi
}
trap cleanup EXIT

wine "$build/Ferrolet.exe" &
pid=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Ferrolet Free v1\.0$' | head -n1)
if [ -z "$window" ]; then
  echo "Ferrolet's window did not appear" >&2
  exit 1
fi

# The window is mapped before it has painted: take pictures until it shows more than a few
# colours, for at most ten seconds.
shot=$(mktemp --tmpdir ferrolet-window-XXXXXX.png)
end=$((SECONDS + 10))
while :; do
  import -window "$window" "$shot" 2>/dev/null || true
  colours=$(convert "$shot" -format %k info: 2>/dev/null || echo 0)
  ((colours > 8 || SECONDS >= end)) && break
  sleep 0.2
done
echo "Screenshot of the main window: $shot"

if [ -n "$virtual" ]; then
  # Escape ends the program like "&Exit".
  xdotool windowfocus "$window" 2>/dev/null || true
  xdotool key Escape
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  status=0
  wait "$pid" || status=$?
  pid=
  echo "Ferrolet ran on a virtual display $DISPLAY and ended with exit code $status"
else
  echo "Ferrolet is running on $DISPLAY; close its window to end this script"
  wait "$pid"
fi
