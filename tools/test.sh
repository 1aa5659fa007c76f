#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite under Wine.
# Usage: tools/test.sh [build folder, default build] [extra ctest arguments...]
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
root=$(dirname "$here")
build=${1:-$root/build}
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
  (FERROLET_WINE_DPI=120 && source "$here/wine-env.sh" "$build" && wineserver -k 2>/dev/null) || true
  [ -n "$FERROLET_XVFB_PID" ] && kill "$FERROLET_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
# A server that is already running for the prefix (an earlier run's) serves as well.
wineserver -p >/dev/null 2>&1 || true
# Start the prefix's services now, with no test's output pipes for them to inherit and hold open.
wine cmd /c exit >/dev/null 2>&1 || true

cd "$build"
ctest --output-on-failure --timeout 600 -j2 "$@"
