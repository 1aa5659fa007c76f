# Sourced by the scripts that drive the real Ferrolet.exe with X input from xdotool, with $root
# (the source tree), $build (the build folder) and $probe (the window probe) set: prepares Wine and
# the display, and gives the helpers that wait for windows and rows.
source "$root/tools/wine-session.sh"
wine_session_use "$build"
wine_session_display
wine_session_prefix

fail() { echo "FAIL: $*" >&2; exit 1; }
source "$root/tests/support/window_waits.sh"
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
