# Sourced by the scripts that drive the real Ferrolet.exe with X input from xdotool, with $root
# (the source tree), $build (the build folder) and $probe (the window probe) set: prepares Wine and
# the display, and gives the helpers that wait for windows and rows.
source "$root/tools/wine-session.sh"
wine_session_use "$build"
wine_session_display
wine_session_prefix

fail() { echo "FAIL: $*" >&2; exit 1; }
# wait_for SECONDS COMMAND...: polls until COMMAND succeeds; fails after SECONDS.
wait_for() {
  local end=$((SECONDS + $1)); shift
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < end)) || return 1
    sleep 0.1
  done
}
window_gone() { ! xdotool search --onlyvisible --name "$1"; }
find_window() { timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n1; }
probe_rows() { wine "$probe" rows | tr -d '\r'; }
has_rows() { [ "$(probe_rows | wc -l)" -eq "$1" ]; }

# The program started with `wine "$exe" &`, once its id is stored here.
pid=
# stop_blackbox PATH...: ends the program if it still runs, removes the paths and stops the display
# this script started; meant for the EXIT trap.
stop_blackbox() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$@"
  [ -n "$FERROLET_XVFB_PID" ] && kill "$FERROLET_XVFB_PID" 2>/dev/null || true
}
