# Sourced: the Wine environment of one build folder ($1), with its own prefix.
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
