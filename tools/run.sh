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
source "$here/wine-session.sh"
wine_session_use "$build"
wine_session_prefix
wine_session_display
virtual=${FERROLET_XVFB_PID:+yes}

pid=
cleanup() {
  if [ -n "$virtual" ]; then
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    # Wine's own helper processes of this prefix hold the virtual display too.
    wine_session_end
  fi
}
trap cleanup EXIT

wine "$build/Ferrolet.exe" &
pid=$!
window=$(wine_session_find_window '^Ferrolet Free v1\.0$') ||
  { echo "Ferrolet's window did not appear" >&2; exit 1; }
shot=$(mktemp --tmpdir ferrolet-window-XXXXXX.png)
wine_session_screenshot "$window" "$shot"
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
