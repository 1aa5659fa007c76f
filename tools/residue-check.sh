#!/usr/bin/env bash
# Forensic residue check: shreds known files on real ext4, NTFS and FAT32 images with each of the
# five methods, then searches the raw images for their contents and names. A plain delete of the
# same data is the control that proves the search can see what is left behind.
#   tools/residue-check.sh BUILD_FOLDER
# Exit status: 0 passed, 1 failed, 77 skipped (the machine allows no loop mounts or FUSE).
set -uo pipefail
here=$(dirname "$(readlink -f "$0")")
build=$(readlink -f "${1:?build folder}")
skip_code=77
methods=(zeros random dod3 dod7 gutmann)
cases=("${methods[@]}" delete)

skip() {
  echo "residue check SKIPPED: $*"
  exit "$skip_code"
}

[ "$(id -u)" -eq 0 ] || skip "it must run as root to mount file-system images (running as uid $(id -u))"
[ -e /dev/loop-control ] || skip "this machine has no loop devices (/dev/loop-control is missing)"
[ -c /dev/fuse ] || skip "this machine has no /dev/fuse, so NTFS and FAT32 cannot be mounted"
for tool in mkfs.ext4 debugfs mkfs.ntfs ntfs-3g ntfscluster mkfs.fat fusefat fusermount \
            mountpoint python3 wine; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (tools/setup-deps.sh installs it)"
done
driver=$build/tests/proof/residue_driver.exe
[ -f "$driver" ] || { echo "residue check: $driver is not built"; exit 1; }

source "$here/wine-env.sh" "$build"
"$here/wine-prefix.sh" "$build" >/dev/null

work=$(mktemp -d /tmp/ferrolet-residue.XXXXXX)
mnt=$work/mnt
mkdir -p "$mnt"
daemon=
drive=
cleanup() {
  if mountpoint -q "$mnt"; then
    fusermount -u "$mnt" 2>/dev/null || umount "$mnt" 2>/dev/null || umount -l "$mnt"
  fi
  [ -n "$daemon" ] && wait "$daemon" 2>/dev/null
  [ -n "$drive" ] && rm -f "$WINEPREFIX/dosdevices/$drive"
  rm -rf "$work"
}
trap cleanup EXIT

# The first drive letter from r: on that the prefix does not use yet.
for letter in r s t u v w x y; do
  if [ ! -e "$WINEPREFIX/dosdevices/$letter:" ] && [ ! -L "$WINEPREFIX/dosdevices/$letter:" ]; then
    drive=$letter:
    break
  fi
done
[ -n "$drive" ] || { echo "residue check: no free drive letter in $WINEPREFIX/dosdevices"; exit 1; }
drive_root=${drive^^}\\

make_image() { # fs image
  case $1 in
    ext4) truncate -s 32M "$2" && mkfs.ext4 -q -F -b 4096 -E lazy_itable_init=0,lazy_journal_init=0 "$2" ;;
    ntfs) truncate -s 32M "$2" && mkfs.ntfs -q -F -Q -s 512 "$2" >/dev/null 2>&1 ;;
    fat32) truncate -s 40M "$2" && mkfs.fat -F 32 -S 512 -s 1 "$2" >/dev/null ;;
  esac
}

mount_image() { # fs image
  local deadline=$((SECONDS + 20))
  daemon=
  case $1 in
    ext4) mount -o loop "$2" "$mnt" || return 1 ;;
    ntfs) ntfs-3g -o no_detach "$2" "$mnt" >"$work/daemon.log" 2>&1 & daemon=$! ;;
    fat32) fusefat -f -o rw+ "$2" "$mnt" >"$work/daemon.log" 2>&1 & daemon=$! ;;
  esac
  until mountpoint -q "$mnt"; do
    if [ -n "$daemon" ] && ! kill -0 "$daemon" 2>/dev/null; then
      cat "$work/daemon.log"; daemon=; return 1
    fi
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}

# Unmounts and, for FUSE, waits for the daemon to exit: only then is every write in the image.
unmount_image() {
  local deadline=$((SECONDS + 30))
  if [ -n "$daemon" ]; then
    until fusermount -u "$mnt" 2>/dev/null; do
      [ $SECONDS -lt $deadline ] || { echo "cannot unmount $mnt"; return 1; }
      sleep 0.2
    done
    wait "$daemon"
    daemon=
  else
    until umount "$mnt" 2>/dev/null; do
      [ $SECONDS -lt $deadline ] || { echo "cannot unmount $mnt"; return 1; }
      sleep 0.2
    done
  fi
}

# Probe once that mounting works here at all; a container without the right to mount skips.
probe=$work/probe.img
make_image ext4 "$probe" && mount_image ext4 "$probe" && unmount_image ||
  skip "loop-mounting an ext4 image is not permitted on this machine"
make_image fat32 "$probe" && mount_image fat32 "$probe" && unmount_image ||
  skip "FUSE mounts (fusefat) are not permitted on this machine"
rm -f "$probe"

results=$build/residue-results.txt
: >"$results"
status=0
ln -sfn "$mnt" "$WINEPREFIX/dosdevices/$drive"

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
