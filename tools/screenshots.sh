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
source "$here/wine-env.sh" "$build"
source "$here/xvfb-start.sh"

cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "$FERROLET_XVFB_PID" ] && kill "$FERROLET_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT

make_prefix() {
  local dpi=$1
  [ -f "$WINEPREFIX/system.reg" ] && return
  echo "Creating Wine prefix $WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
  wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f \
    >/dev/null 2>&1
  wineserver -w
}

# Waits for the window titled $2 to show, lets it paint, saves it to $3.
shoot() {
  local dialog=$1 title=$2 file=$3 window colours end
  wine "$showcase" "$dialog" >/dev/null 2>&1 &
  window=$(timeout 60 xdotool search --sync --onlyvisible --name "$title" | head -n1)
  if [ -z "$window" ]; then
    echo "no window titled $title appeared" >&2
    return 1
  fi
  end=$((SECONDS + 10))
  while :; do
    import -window "$window" "$file" 2>/dev/null || true
    colours=$(convert "$file" -format %k info: 2>/dev/null || echo 0)
    ((colours > 8 || SECONDS >= end)) && break
    sleep 0.2
  done
  # Late painting (the link, the list's header) settles within a moment.
  sleep 1
  import -window "$window" "$file"
  echo "$file: $(identify -format '%w x %h' "$file")"
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}

for dpi in 96 120; do
  export WINEPREFIX="$build/wineprefix-shots-${dpi}dpi"
  make_prefix "$dpi"
  wineserver -p >/dev/null 2>&1 || true
  wine cmd /c exit >/dev/null 2>&1 || true
  shoot main '^Ferrolet Free v1\.0$' "$out/main-${dpi}dpi.png"
  shoot about '^About Ferrolet$' "$out/about-${dpi}dpi.png"
  shoot progress '^Shredding Files\.\.\.$' "$out/progress-${dpi}dpi.png"
  wineserver -k 2>/dev/null || true
done
