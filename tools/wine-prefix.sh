#!/usr/bin/env bash
# Creates the Wine prefix of a build folder once; later calls return at once.
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
source "$here/wine-env.sh" "${1:?build folder}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating Wine prefix $WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
