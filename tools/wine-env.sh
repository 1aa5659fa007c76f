# Sourced: the Wine environment of one build folder ($1), with its own prefix, and a UTF-8 locale.
# FERROLET_WINE_DPI (other than 96) selects a second prefix of the build whose display reports
# that resolution: <build>/wineprefix-<dpi>dpi.
ferrolet_build_dir=$(cd "${1:?build folder}" && pwd)
export WINEPREFIX="$ferrolet_build_dir/wineprefix"
if [ -n "${FERROLET_WINE_DPI:-}" ] && [ "$FERROLET_WINE_DPI" != 96 ]; then
  export WINEPREFIX="$ferrolet_build_dir/wineprefix-${FERROLET_WINE_DPI}dpi"
fi
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
# Without a UTF-8 locale (a fresh container sets none) Wine cannot map Linux names outside ASCII.
# C.UTF-8 is built into Debian's C library; a working UTF-8 locale already chosen is kept.
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
  export LANG=C.UTF-8 LC_ALL=C.UTF-8
fi
