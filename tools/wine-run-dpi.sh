#!/usr/bin/env bash
# Runs a Windows program of a build folder under Wine in the build's prefix whose display reports
# the given resolution: wine-run-dpi.sh DPI program.exe [arguments...]
# The prefix gets its own wineserver, kept alive a while between programs, and its services are
# started with no output pipes before the program runs, so they cannot hold CTest's pipes open.
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
export FERROLET_WINE_DPI=${1:?display resolution}
shift
build=${FERROLET_BUILD_DIR:-}
if [ -z "$build" ]; then
  dir=$(dirname "$(readlink -f "$1")")
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  [ -f "$dir/CMakeCache.txt" ] || { echo "wine-run-dpi.sh: no build folder above $1" >&2; exit 2; }
  build=$dir
fi
source "$here/wine-env.sh" "$build"
mkdir -p "$ferrolet_build_dir"
(
  flock 9
  "$here/wine-prefix.sh" "$build"
  wineserver -p60 >/dev/null 2>&1 || true
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
) 9>"$WINEPREFIX.lock"
exec wine "$@"
