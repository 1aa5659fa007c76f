#!/usr/bin/env bash
# Drives a whole shred job in the real Ferrolet.exe with X input from xdotool: a file added with
# Alt+F and a typed path, a folder added with Alt+O and the folder browser, "&Shred Now!" with
# Alt+S, the confirmation answered with Y; then the progress dialog must close by itself, both
# items must be gone from the disk and the list must be empty.
# Usage: shred_blackbox.sh BUILD_DIR FERROLET_EXE WINDOW_PROBE_EXE
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
root=$(dirname "$(dirname "$here")")
build=${1:?build folder}
exe=${2:?Ferrolet.exe}
probe=${3:?window probe}

source "$root/tests/support/blackbox_lib.sh"

# Straight under C:\, where the folder browser reaches it through My Computer and (C:).
folder_name=ferroletjob$$
file_dir=$(mktemp -d "$WINEPREFIX/drive_c/ferrolet-blackbox.XXXXXX")
folder="$WINEPREFIX/drive_c/$folder_name"
mkdir "$folder" "$folder/inner"
head -c 5000 /dev/urandom >"$file_dir/secret.bin"
head -c 3000 /dev/urandom >"$folder/a.txt"
head -c 100 /dev/urandom >"$folder/inner/b.txt"
file_path="C:\\$(basename "$file_dir")\\secret.bin"
folder_path="C:\\$folder_name"

trap 'stop_blackbox "$file_dir" "$folder"' EXIT

wine "$exe" &
pid=$!
main=$(find_window '^Ferrolet Free v1\.0$') || fail "the main window did not appear"

# No window manager runs here: give each window the keyboard focus explicitly.
wait_for 10 xdotool windowfocus "$main" || fail "cannot focus the main window"
xdotool key --clearmodifiers alt+f
open=$(find_window '^Open$') || fail "Alt+F did not open the open-file dialog"
wait_for 10 xdotool windowfocus "$open" || fail "cannot focus the open-file dialog"
xdotool type --delay 15 "$file_path"
xdotool key Return
wait_for 20 window_gone '^Open$' || fail "the open-file dialog did not close"
wait_for 20 has_rows 1 || fail "the file's row was not added"

wait_for 10 xdotool windowfocus "$main" || fail "cannot focus the main window"
xdotool key --clearmodifiers alt+o
browse=$(find_window '^Browse for Folder$') || fail "Alt+O did not open the folder browser"
# The tree takes keys only once clicked: its root item "Desktop" stands at this offset.
eval "$(xdotool getwindowgeometry --shell "$browse")"
xdotool mousemove --sync $((X + 71)) $((Y + 74)) click 1
sleep 0.3
xdotool type --delay 50 "My"
xdotool key Right Down Right
sleep 0.5
xdotool type --delay 50 "$folder_name"
sleep 0.3
xdotool key Return
wait_for 20 window_gone '^Browse for Folder$' || fail "the folder browser did not close"
wait_for 20 has_rows 2 || fail "the folder's row was not added"
expected=$(printf 'secret.bin\t%s\t5 KB\n%s\t%s\t<DIR>' "$file_path" "$folder_name" "$folder_path")
[ "$(probe_rows)" = "$expected" ] || fail "unexpected rows: $(probe_rows | cat -A)"
echo "rows added: $file_path, $folder_path"

wait_for 10 xdotool windowfocus "$main" || fail "cannot focus the main window"
xdotool key --clearmodifiers alt+s
confirm=$(find_window '^Are you sure you want to continue\?$') || fail "no confirmation"
wait_for 10 xdotool windowfocus "$confirm" || fail "cannot focus the confirmation"
xdotool key y
wait_for 20 window_gone '^Are you sure you want to continue\?$' || fail "the confirmation stayed"
wait_for 60 window_gone '^Shredding Files\.\.\.$' || fail "the progress dialog did not close"
wait_for 20 has_rows 0 || fail "the list is not empty: $(probe_rows | cat -A)"
window_gone '^Items not shredded$' || fail "a report of items not shredded was shown"
[ ! -e "$folder" ] || fail "the folder is still there: $(find "$folder")"
[ -z "$(ls -A "$file_dir")" ] || fail "the file's folder is not empty: $(ls -A "$file_dir")"
echo "the job destroyed the file and the folder and emptied the list"

# The main window is usable again: Escape ends the program like "&Exit".
wait_for 10 xdotool windowfocus "$main" || fail "cannot focus the main window after the job"
xdotool key Escape
wait_for 20 bash -c "! kill -0 $pid" || fail "the program did not end after the job"
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || fail "exit code $status"
echo "PASS: a whole job through the real program, which then ended with exit code 0"
