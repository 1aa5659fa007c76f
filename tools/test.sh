#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite under Wine.
# Usage: tools/test.sh [build folder, default build] [extra ctest arguments...]
# The tests run in two prefixes of the build, at 96 and at 120 DPI (the dialog tests run in both),
# each with its server, services and desktop up before the first test starts (tools/wine-session.sh).
# Every test runs once, so that a failure shows. The one exception is a Wine start that ended with
# exit status 1 and no output at all where the address layout could not be fixed: that program is
# started once more, and the summary names it.
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
root=$(dirname "$here")
source "$here/wine-session.sh"
wine_session_fixed_layout bash "$(readlink -f "$0")" "$@"
build=$(realpath -m "${1:-$root/build}")
shift || true

"$here/setup-deps.sh"
"$here/configure-build.sh" "$build"

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
export FERROLET_WINE_RETRY_LOG=$build/Testing/wine-reruns.txt
mkdir -p "$build/Testing"
: >"$FERROLET_WINE_RETRY_LOG"
# No test reads the terminal; a console program under Wine would otherwise drive it.
status=0
ctest --output-on-failure --timeout 600 -j2 "$@" </dev/null || status=$?
if wine_session_layout_fixed; then
  echo "Wine ran without address randomization; no test program was started again."
elif [ -s "$FERROLET_WINE_RETRY_LOG" ]; then
  echo "Wine ran with address randomization. Started once more after exit status 1 without output:"
  sed 's/^/  /' "$FERROLET_WINE_RETRY_LOG"
else
  echo "Wine ran with address randomization; no test program had to be started again."
fi
exit "$status"
