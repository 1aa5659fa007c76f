#!/usr/bin/env bash
# What stays of a sparse file and of an NTFS-compressed file after each method: both are made on
# an NTFS image through ntfs-3g, shredded through the engine under Wine (the mounted image is a
# Wine drive), and the raw image is then searched for their random marker blocks. A plain delete
# is the control. Not part of the test suite: it reports, it does not judge.
#   tools/residue-ntfs-layouts.sh BUILD_FOLDER
# Exit status: 0 reported, 1 failed to run, 77 skipped (the machine allows no FUSE).
set -uo pipefail
here=$(dirname "$(readlink -f "$0")")
build=$(readlink -f "${1:?build folder}")
cases=(zeros random dod3 dod7 gutmann delete)

check_name="NTFS layout residue check"
source "$here/residue-mount.sh"
residue_require mkfs.ntfs ntfs-3g
driver=$build/tests/proof/residue_driver.exe
[ -f "$driver" ] || { echo "$check_name: $driver is not built"; exit 1; }
residue_setup
residue_probe_mounts ntfs

printf '%-8s %-22s %-22s\n' case "compressed: left" "sparse: left"
for c in "${cases[@]}"; do
  image=$work/ntfs.img
  make_image ntfs "$image" 64M || { echo "cannot create the image"; exit 1; }
  mount_image ntfs "$image" || { echo "cannot mount the image"; exit 1; }
  python3 "$here/residue-ntfs-layouts.py" populate "$mnt" "$work/markers.json" >"$work/made.txt" ||
    exit 1
  [ "$c" = zeros ] && sed 's/^/  made /' "$work/made.txt"
  unmount_image || exit 1
  python3 "$here/residue-ntfs-layouts.py" scan "$image" "$work/markers.json" >"$work/before.txt"
  if grep -q '^RESULT [a-z]* 0 ' "$work/before.txt"; then
    echo "FAIL: a marker did not reach the image"; cat "$work/before.txt"; exit 1
  fi
  mount_image ntfs "$image" || exit 1
  wine "$driver" "$c" "${drive_root}packed\\compressed.bin" "${drive_root}sparse.bin" |
    tr -d '\r' >"$work/driver.txt"
  left=$(find "$mnt" -mindepth 1 ! -name packed ! -name '$*' | sed "s|^$mnt/||" | tr '\n' ' ')
  unmount_image || exit 1
  python3 "$here/residue-ntfs-layouts.py" scan "$image" "$work/markers.json" >"$work/after.txt"
  compressed=$(awk '$2 == "compressed" {print $3 " of " $4}' "$work/after.txt")
  sparse=$(awk '$2 == "sparse" {print $3 " of " $4}' "$work/after.txt")
  printf '%-8s %-22s %-22s %s\n' "$c" "$compressed" "$sparse" "${left:+still there: $left}"
  rm -f "$image"
done
