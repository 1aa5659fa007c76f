#!/usr/bin/env bash
# Unlistable-folder check: a folder of mode 000 inside a chosen folder, with Wine's server run
# without the capabilities that let root read it anyway, so that listing it fails for real. The
# fault suite's case shreds the chosen folder through the real job; the locked folder's contents
# must stay whole and the row must stay, reported.
#   tools/residue-unlistable.sh BUILD_FOLDER
# Exit status: 0 passed, 1 failed, 77 skipped (not root, or no capsh).
set -uo pipefail
here=$(dirname "$(readlink -f "$0")")
build=$(readlink -f "${1:?build folder}")
check_name="unlistable-folder check"
skip() {
  echo "$check_name SKIPPED: $*"
  exit 77
}
[ "$(id -u)" -eq 0 ] || skip "it needs root to drop root's capabilities (running as uid $(id -u))"
command -v capsh >/dev/null || skip "capsh is not installed (tools/setup-deps.sh installs it)"
program=$build/tests/proof/unlistable_folder_tests.exe
[ -f "$program" ] || { echo "$check_name: $program is not built"; exit 1; }
source "$here/wine-session.sh"
wine_session_use "$build"
wine_session_prefix >/dev/null
wine_session_display

# A prefix of its own, so that its wineserver starts without the capabilities; the big Windows
# folder is shared by hard links, everything else is copied.
work=$(mktemp -d /tmp/ferrolet-unlistable.XXXXXX)
prefix=$work/prefix
cleanup() {
  WINEPREFIX=$prefix wineserver -k 2>/dev/null
  chmod -R u+rwx "$work" 2>/dev/null
  rm -rf "$work"
  [ -n "$FERROLET_XVFB_PID" ] && kill "$FERROLET_XVFB_PID" 2>/dev/null
}
trap cleanup EXIT
mkdir -p "$prefix/drive_c/users"
for entry in "$WINEPREFIX"/* "$WINEPREFIX"/.update-timestamp; do
  [ "$(basename "$entry")" = drive_c ] || cp -a "$entry" "$prefix/"
done
for entry in "$WINEPREFIX"/drive_c/*; do
  case $(basename "$entry") in
    windows | "Program Files" | "Program Files (x86)" | ProgramData) cp -al "$entry" "$prefix/drive_c/" ;;
  esac
done
for user in "$WINEPREFIX"/drive_c/users/*; do
  mkdir -p "$prefix/drive_c/users/$(basename "$user")/Temp"
done

root=$prefix/drive_c/unlistable
mkdir -p "$root/work/chosen/locked"
echo "above the chosen folder" >"$root/above.txt"
echo "beside the chosen folder" >"$root/work/beside.txt"
echo "chosen" >"$root/work/chosen/a.txt"
echo "chosen" >"$root/work/chosen/b.txt"
echo "behind a folder that cannot be listed" >"$root/work/chosen/locked/c.txt"
chmod 000 "$root/work/chosen/locked"

# Into a file, not a pipe: a Wine service started by this run may hold a pipe open after it ends.
FERROLET_UNLISTABLE_ROOT='C:\unlistable' WINEPREFIX=$prefix \
  capsh --drop=cap_dac_override,cap_dac_read_search,cap_fowner -- -c 'wine "$0"' "$program" \
  >"$work/run.txt" 2>&1
status=$?
tr -d '\r' <"$work/run.txt" | grep -v '^[0-9a-f]*:\(err\|fixme\)'
grep -q '^\[  PASSED  \] 1 test' "$work/run.txt" || { echo "FAIL: the case did not run and pass"; status=1; }
chmod 755 "$root"/work/*/locked
contents=$(cat "$root"/work/*/locked/c.txt 2>/dev/null)
if [ "$contents" != "behind a folder that cannot be listed" ]; then
  echo "FAIL: the locked folder's file did not stay whole"
  status=1
fi
if [ "$status" -eq 0 ]; then
  echo "$check_name PASSED: the locked folder's contents stayed, the row stayed and was reported"
else
  echo "$check_name FAILED"
fi
exit "$status"
