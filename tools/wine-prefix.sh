#!/usr/bin/env bash
# Creates the Wine prefix of a build folder once; later calls return at once.
# With FERROLET_WINE_DPI set, the build's prefix for that display resolution (see wine-env.sh).
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
source "$here/wine-env.sh" "${1:?build folder}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating Wine prefix $WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
if [ -n "${FERROLET_WINE_DPI:-}" ] && [ "$FERROLET_WINE_DPI" != 96 ]; then
  dpi_value=$(printf 'dword:%08x' "$FERROLET_WINE_DPI")
  if ! grep -qi "^\"LogPixels\"=$dpi_value" "$WINEPREFIX/user.reg"; then
    wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD \
      /d "$FERROLET_WINE_DPI" /f >/dev/null 2>&1
    # The display reads its resolution when the server starts; let this one end.
    wineserver -w
  fi
fi
