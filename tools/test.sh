#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite under Wine.
# Usage: tools/test.sh [build folder, default build] [extra ctest arguments...]
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
root=$(dirname "$here")
build=$(realpath -m "${1:-$root/build}")
shift || true

"$here/setup-deps.sh"
"$here/configure-build.sh" "$build"
"$here/wine-prefix.sh" "$build"
# The dialog tests also run in a second prefix whose display reports 120 DPI (wine-run-dpi.sh).
FERROLET_WINE_DPI=120 "$here/wine-prefix.sh" "$build"

source "$here/wine-env.sh" "$build"
source "$here/xvfb-start.sh"
cleanup() {
  wineserver -k 2>/dev/null || true
  (export FERROLET_WINE_DPI=120 && source "$here/wine-env.sh" "$build" && wineserver -k 2>/dev/null) || true
  [ -n "$FERROLET_XVFB_PID" ] && kill "$FERROLET_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
# Each prefix gets one server for the whole run, started, with its services, by short programs
# whose output goes nowhere (a service started by a test would inherit and hold CTest's output
# pipes), windows that the X server shows without a window manager's round trips (without this,
# hiding any top-level window costs about 2 s under Xvfb), and a desktop held open until the end
# (Wine closes an idle desktop a second after its last user ends, and a test starting a new one
# would race with the old one's closing). Each step waits for the one before, so no test starts
# while a prefix is still coming up.
prepare_prefix() {
  wineserver -p >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    >/dev/null 2>&1 </dev/null || true
  # The black-box tests drive the real program as a person would, with the frame a window manager
  # would give it, and their click offsets assume that layout.
  wine reg add 'HKCU\Software\Wine\AppDefaults\Ferrolet.exe\X11 Driver' /v Managed /t REG_SZ \
    /d Y /f >/dev/null 2>&1 </dev/null || true
  local ready="$WINEPREFIX.desktop-ready"
  rm -f "$ready"
  wine "$build/tests/ferrolet_desktop_holder.exe" >"$ready" 2>/dev/null </dev/null &
  for _ in $(seq 600); do
    grep -q ready "$ready" 2>/dev/null && return 0
    sleep 0.1
  done
  echo "test.sh: the Wine desktop of $WINEPREFIX did not come up" >&2
  return 1
}
(export FERROLET_WINE_DPI=120 && source "$here/wine-env.sh" "$build" && prepare_prefix)
prepare_prefix

cd "$build"
# No test reads the terminal; a console program under Wine would otherwise drive it.
ctest --output-on-failure --timeout 600 -j2 "$@" </dev/null
