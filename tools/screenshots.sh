#!/usr/bin/env bash
# Saves PNG screenshots of the main window, the progress dialog and the About dialog as Wine shows
# them on displays at 96 and at 120 DPI, so that a person can look at the layout.
# Usage: tools/screenshots.sh [build folder, default build] [output folder, default <build>/screenshots]
# Each resolution has its own Wine prefix in the build folder (wineprefix-shots-<dpi>dpi) in which
# Wine draws the window frames itself, since a virtual display has no window manager to do it.
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
root=$(dirname "$here")
build=$(mkdir -p "${1:-$root/build}" && cd "${1:-$root/build}" && pwd)
out=$(mkdir -p "${2:-$build/screenshots}" && cd "${2:-$build/screenshots}" && pwd)

"$here/setup-deps.sh"
"$here/configure-build.sh" "$build" ferrolet_dialog_showcase
showcase="$build/tests/dialogs/ferrolet_dialog_showcase.exe"
source "$here/wine-session.sh"
trap wine_session_end EXIT
wine_session_display

# Waits for the window titled $2 to show, saves it to $3 once it has painted, and ends the program
# with the prefix's server.
shoot() {
  local dialog=$1 title=$2 file=$3 window
  wine "$showcase" "$dialog" >/dev/null 2>&1 &
  window=$(wine_session_find_window "$title") || { echo "no window titled $title appeared" >&2; return 1; }
  wine_session_screenshot "$window" "$file"
  echo "$file: $(identify -format '%w x %h' "$file")"
  wine_session_stop
}

for dpi in 96 120; do
  wine_session_use "$build" "$dpi" shots
  wine_session_prefix
  wine_session_start
  wine_session_setting 'HKCU\Software\Wine\X11 Driver' Decorated N
  shoot main '^Ferrolet Free v1\.0$' "$out/main-${dpi}dpi.png"
  shoot about '^About Ferrolet$' "$out/about-${dpi}dpi.png"
  shoot progress '^Shredding Files\.\.\.$' "$out/progress-${dpi}dpi.png"
done
