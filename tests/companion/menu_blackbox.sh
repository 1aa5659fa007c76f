#!/usr/bin/env bash
# Drives FerroletMenu.exe as a user and Explorer would: --install writes the entry and the Send To
# shortcut; 100 instances of the entry's command started at once give one Ferrolet window listing
# the 100 items; 20 more join that window; --remove leaves nothing of the install behind.
# Usage: menu_blackbox.sh BUILD_DIR FERROLETMENU_EXE WINDOW_PROBE_EXE
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
root=$(dirname "$(dirname "$here")")
build=${1:?build folder}
menu=${2:?FerroletMenu.exe}
probe=${3:?window probe}

source "$root/tests/support/blackbox_lib.sh"

classes='HKCU\Software\Classes\AllFilesystemObjects'
key="$classes\\shell\\Ferrolet.Shred"
folder=$(mktemp -d "$WINEPREFIX/drive_c/ferrolet-menu.XXXXXX")
windows_folder="C:\\$(basename "$folder")"
trap 'wine "$probe" close >/dev/null 2>&1 || true; wine "$menu" --remove || true; stop_blackbox "$folder"' EXIT

reg_query() { wine reg query "$@" 2>/dev/null | tr -d '\r'; }
windows() { wine "$probe" count | tr -d '\r'; }
shortcuts() { find "$WINEPREFIX/drive_c/users" -path '*/SendTo/Ferrolet.lnk'; }
# start_items FIRST LAST: runs the entry's command once per item, all at once, as Explorer does.
start_items() {
  companions=()
  for i in $(seq "$1" "$2"); do
    wine "$command_exe" --add "$windows_folder\\item $i.txt" &
    companions+=($!)
  done
}
# Every companion ends, and ends well.
companions_end() {
  for companion in "${companions[@]}"; do wait "$companion" || fail "a companion failed"; done
}
has_items() {
  [ "$(probe_rows | cut -f2 | sort -V)" = "$(for i in $(seq 1 "$1"); do
    printf '%s\\item %s.txt\n' "$windows_folder" "$i"; done)" ]
}

for i in $(seq 1 120); do echo "$i" >"$folder/item $i.txt"; done
had_classes=$(reg_query "$classes" >/dev/null && echo yes || echo no)
[ "$(windows)" = 0 ] || fail "a Ferrolet window is open already"

wine "$menu" --install || fail "--install failed"
entry=$(reg_query "$key" /s)
echo "$entry"
grep -qE '^\s+\(Default\)\s+REG_SZ\s+Shred with Ferrolet$' <<<"$entry" || fail "no text"
grep -qE '^\s+MultiSelectModel\s+REG_SZ\s+Player$' <<<"$entry" || fail "no MultiSelectModel"
grep -qE '^\s+Icon\s+REG_SZ\s+.*\\Ferrolet\.exe,0$' <<<"$entry" || fail "no icon"
command=$(sed -nE 's/^\s+\(Default\)\s+REG_SZ\s+(".*FerroletMenu\.exe" --add "%1")$/\1/p' \
  <<<"$(reg_query "$key\\command")")
[ -n "$command" ] || fail "no command"
command_exe=${command#\"}
command_exe=${command_exe%%\"*}
[ -n "$(shortcuts)" ] || fail "no Send To shortcut"

started=$SECONDS
start_items 1 100
wait_for 60 has_items 100 || fail "the list does not hold the 100 items: $(probe_rows | wc -l) rows"
echo "100 items listed $((SECONDS - started)) s after their 100 companions started"
companions_end
[ "$(windows)" = 1 ] || fail "$(windows) Ferrolet windows for 100 items"

start_items 101 120
wait_for 60 has_items 120 || fail "the 20 items did not join: $(probe_rows | wc -l) rows"
companions_end
[ "$(windows)" = 1 ] || fail "a second Ferrolet started for 20 more items"
echo "20 more items joined the open window"

wine "$menu" --remove || fail "--remove failed"
! reg_query "$key" >/dev/null || fail "the entry is still there"
[ "$had_classes" = yes ] || ! reg_query "$classes" >/dev/null || fail "$classes is left"
[ -z "$(shortcuts)" ] || fail "the Send To shortcut is left"
echo "PASS: installed, 120 items in one window, removed without a trace"
