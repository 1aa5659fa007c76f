#!/usr/bin/env bash
# Disk-full check: a tiny ext4 image, full but for a sparse file, mapped as a Wine drive; the
# fault suite's disk-full case shreds the sparse file through the real job, whose overwrite then
# fails with ERROR_DISK_FULL. The file must stay whole, listed and reported.
#   tools/residue-disk-full.sh BUILD_FOLDER
# Exit status: 0 passed, 1 failed, 77 skipped (the machine allows no loop mounts).
set -uo pipefail
here=$(dirname "$(readlink -f "$0")")
build=$(readlink -f "${1:?build folder}")
check_name="disk-full check"
source "$here/residue-mount.sh"
residue_require mkfs.ext4 dd
program=$build/tests/proof/disk_full_tests.exe
[ -f "$program" ] || { echo "$check_name: $program is not built"; exit 1; }
residue_setup
residue_probe_mounts ext4
wine_session_display
[ -n "$FERROLET_XVFB_PID" ] && trap 'kill "$FERROLET_XVFB_PID" 2>/dev/null; residue_cleanup' EXIT

image=$work/full.img
make_image ext4 "$image" 8M && mount_image ext4 "$image" || { echo "cannot mount the image"; exit 1; }
mkdir "$mnt/guard"
echo "beside the sparse file" >"$mnt/beside.txt"
echo "in a folder beside" >"$mnt/guard/inner.txt"
truncate -s 64M "$mnt/sparse.bin"
dd if=/dev/zero of="$mnt/filler" bs=64k status=none 2>/dev/null
sync
echo "free space left for the sparse file's 64 MiB: $(df --output=avail -B1 "$mnt" | tail -1) bytes"

# Into a file, not a pipe: a Wine service started by this run may hold a pipe open after it ends.
FERROLET_DISK_FULL_ROOT=$drive_root wine "$program" >"$work/run.txt" 2>&1
status=$?
tr -d '\r' <"$work/run.txt"
grep -q '^\[  PASSED  \] 1 test' "$work/run.txt" || { echo "FAIL: the case did not run and pass"; status=1; }
if [ "$(stat -c %s "$mnt/sparse.bin")" != $((64 << 20)) ]; then
  echo "FAIL: the sparse file did not keep its size"
  status=1
fi
unmount_image || status=1
if [ "$status" -eq 0 ]; then
  echo "$check_name PASSED: the file that could not be overwritten stayed, listed and reported"
else
  echo "$check_name FAILED"
fi
exit "$status"
