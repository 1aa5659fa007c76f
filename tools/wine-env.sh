# Sourced: the Wine environment of one build folder ($1), with its own prefix.
ferrolet_build_dir=$(cd "${1:?build folder}" && pwd)
export WINEPREFIX="$ferrolet_build_dir/wineprefix"
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
