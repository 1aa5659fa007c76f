#!/usr/bin/env bash
# Drives the real Ferrolet.exe the way a person does, with X input from xdotool:
# the window appears with its caption, Alt+F ("Add &File") opens the open-file dialog, a typed
# path and Enter add the row, a click on "&Exit" ends the process with exit code 0.
# Usage: blackbox.sh BUILD_DIR FERROLET_EXE WINDOW_PROBE_EXE
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
root=$(dirname "$(dirname "$here")")
build=${1:?build folder}
exe=${2:?Ferrolet.exe}
probe=${3:?window probe}

source "$root/tests/support/blackbox_lib.sh"

folder=$(mktemp -d "$WINEPREFIX/drive_c/ferrolet-blackbox.XXXXXX")
head -c 3000 /dev/urandom >"$folder/sample.txt"
windows_path="C:\\$(basename "$folder")\\sample.txt"

trap 'stop_blackbox "$folder"' EXIT

wine "$exe" &
pid=$!

main=$(find_window '^Ferrolet Free v1\.0$') || fail "the main window did not appear"
[ "$(xdotool getwindowname "$main")" = "Ferrolet Free v1.0" ] || fail "wrong caption"
wait_for 10 has_rows 0 || fail "the list does not start empty"
echo "main window $main is up with an empty list"

# No window manager runs here: give the window the keyboard focus explicitly.
wait_for 10 xdotool windowfocus "$main" || fail "cannot focus the main window"
xdotool key --clearmodifiers alt+f
open=$(find_window '^Open$') || fail "Alt+F did not open the open-file dialog"
echo "open-file dialog $open is up"

wait_for 10 xdotool windowfocus "$open" || fail "cannot focus the open-file dialog"
xdotool type --delay 15 "$windows_path"
xdotool key Return
wait_for 20 window_gone '^Open$' || fail "the open-file dialog did not close"
wait_for 20 has_rows 1 || fail "no row was added"
expected=$(printf 'sample.txt\t%s\t3 KB' "$windows_path")
[ "$(probe_rows)" = "$expected" ] || fail "unexpected row: $(probe_rows | cat -A)"
echo "row added: $expected"

read -r x y < <(wine "$probe" center 2 | tr -d '\r') || fail "no Exit button"
xdotool mousemove --sync "$x" "$y" click 1
wait_for 20 window_gone '^Ferrolet Free v1\.0$' || fail "Exit did not close the window"
status=0
wait_for 20 bash -c "! kill -0 $pid" || fail "the process did not end"
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || fail "exit code $status"
echo "PASS: Exit ended the process with exit code 0"
