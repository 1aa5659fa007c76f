#!/usr/bin/env bash
# Runs a Windows program of a build folder under Wine, in that build's own prefix.
# CTest uses this as the cross-compiling emulator: wine-run.sh program.exe [arguments...]
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
build=${FERROLET_BUILD_DIR:-}
if [ -z "$build" ]; then
  dir=$(dirname "$(readlink -f "$1")")
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  [ -f "$dir/CMakeCache.txt" ] || { echo "wine-run.sh: no build folder above $1" >&2; exit 2; }
  build=$dir
fi
source "$here/wine-env.sh" "$build"
[ -f "$WINEPREFIX/system.reg" ] || "$here/wine-prefix.sh" "$build"
exec wine "$@"
