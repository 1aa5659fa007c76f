#!/usr/bin/env bash
# Forensic residue check: shreds known files on real ext4, NTFS and FAT32 images with each of the
# five methods, then searches the raw images for their contents and names. A plain delete of the
# same data is the control that proves the search can see what is left behind.
#   tools/residue-check.sh BUILD_FOLDER
# Exit status: 0 passed, 1 failed, 77 skipped (the machine allows no loop mounts or FUSE).
set -uo pipefail
here=$(dirname "$(readlink -f "$0")")
build=$(readlink -f "${1:?build folder}")
methods=(zeros random dod3 dod7 gutmann)
cases=("${methods[@]}" delete)

check_name="residue check"
source "$here/residue-mount.sh"
residue_require mkfs.ext4 debugfs mkfs.ntfs ntfs-3g ntfscluster mkfs.fat fusefat
driver=$build/tests/proof/residue_driver.exe
[ -f "$driver" ] || { echo "residue check: $driver is not built"; exit 1; }
residue_setup
residue_probe_mounts ext4 ntfs fat32

results=$build/residue-results.txt
: >"$results"
status=0

for fs in ext4 ntfs fat32; do
  echo "== $fs"
  image=$work/$fs.img
  make_image "$fs" "$image" || { echo "cannot create the $fs image"; exit 1; }
  mount_image "$fs" "$image" || { echo "cannot mount the $fs image"; exit 1; }
  declare -A items=()
  for c in "${cases[@]}"; do
    items[$c]=$(python3 "$here/residue-image.py" populate "$mnt" "$c") || exit 1
  done
  unmount_image || exit 1

  # The data must be on the image before anything is shredded, or finding none proves nothing.
  if ! python3 "$here/residue-image.py" scan "$fs" "$image" before "${cases[@]}" >"$work/before.txt"; then
    grep -v '^RESULT' "$work/before.txt"
    echo "FAIL: the known data did not reach the $fs image"
    status=1
    continue
  fi

  mount_image "$fs" "$image" || exit 1
  for c in "${cases[@]}"; do
    paths=()
    while IFS= read -r item; do paths+=("$drive_root$item"); done <<<"${items[$c]}"
    if ! wine "$driver" "$c" "${paths[@]}" | tr -d '\r' >"$work/driver-$c.txt"; then
      echo "FAIL: $fs $c: items remain after the run:"
      sed 's/^/    /' "$work/driver-$c.txt"
      status=1
    fi
  done
  leftovers=$(find "$mnt" -mindepth 1 -maxdepth 1 ! -name lost+found)
  if [ -n "$leftovers" ]; then
    echo "FAIL: $fs still holds after the run:"
    echo "$leftovers" | sed 's/^/    /'
    status=1
  fi
  unmount_image || exit 1

  python3 "$here/residue-image.py" scan "$fs" "$image" after "${cases[@]}" >"$work/after.txt" || status=1
  grep -v '^RESULT' "$work/after.txt"
  grep '^RESULT' "$work/after.txt" | cut -d' ' -f2- >>"$results"
  rm -f "$image"
done

echo
echo "file system / case / marker occurrences left / names of 8 still found / where"
cat "$results"
if [ "$status" -eq 0 ]; then
  echo "residue check PASSED: no marker left by any method; the plain delete left its marker"
else
  echo "residue check FAILED"
fi
exit "$status"
