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
# Each prefix gets one server for the whole run, windows that the X server shows without a window
# manager's round trips (without this, hiding any top-level window costs about 2 s under Xvfb), and
# a desktop process held open until the end. Wine otherwise closes an idle desktop and restarts it
# from whichever test next opens a window, where it would inherit and hold CTest's output pipes.
prepare_prefix() {
  wineserver -p >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    >/dev/null 2>&1 </dev/null || true
  # The black-box tests drive the real program as a person would, with the frame a window manager
  # would give it, and their click offsets assume that layout.
  wine reg add 'HKCU\Software\Wine\AppDefaults\Ferrolet.exe\X11 Driver' /v Managed /t REG_SZ \
    /d Y /f >/dev/null 2>&1 </dev/null || true
  wine explorer.exe /desktop >/dev/null 2>&1 </dev/null &
}
(export FERROLET_WINE_DPI=120 && source "$here/wine-env.sh" "$build" && prepare_prefix)
prepare_prefix
cleanup() {
  wineserver -k 2>/dev/null || true
  (export FERROLET_WINE_DPI=120 && source "$here/wine-env.sh" "$build" && wineserver -k 2>/dev/null) || true
  [ -n "$FERROLET_XVFB_PID" ] && kill "$FERROLET_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT

cd "$build"
ctest --output-on-failure --timeout 600 -j2 "$@"
