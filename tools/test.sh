#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite under Wine.
# Usage: tools/test.sh [build folder, default build] [extra ctest arguments...]
# The tests run in two prefixes of the build, at 96 and at 120 DPI (the dialog tests run in both),
# each with its server, services and desktop up before the first test starts (tools/wine-session.sh).
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
root=$(dirname "$here")
build=$(realpath -m "${1:-$root/build}")
shift || true

"$here/setup-deps.sh"
"$here/configure-build.sh" "$build"

source "$here/wine-session.sh"
trap wine_session_end EXIT
for dpi in 96 120; do
  wine_session_use "$build" "$dpi"
  wine_session_prefix
done
wine_session_display
for dpi in 120 96; do
  wine_session_use "$build" "$dpi"
  wine_session_start
  # Windows are shown as the X server maps them: without a window manager, Wine waits about 2 s on
  # every hide of a managed window. The black-box tests drive the real program as a person would,
  # with the frame a window manager would give it, and their click offsets assume that layout.
  wine_session_setting 'HKCU\Software\Wine\X11 Driver' Managed N
  wine_session_setting 'HKCU\Software\Wine\AppDefaults\Ferrolet.exe\X11 Driver' Managed Y
  wine_session_hold_desktop "$build/tests/ferrolet_desktop_holder.exe"
done

cd "$build"
# No test reads the terminal; a console program under Wine would otherwise drive it. A test that
# fails is run once more before it counts as failed: very rarely a Wine process dies before its
# first line of output, and a test that really fails fails twice.
ctest --output-on-failure --timeout 600 -j2 --repeat until-pass:2 "$@" </dev/null
