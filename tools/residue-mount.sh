# Sourced by the scripts that shred on real file-system images (residue-check.sh,
# residue-disk-full.sh): the skip rule, image creation, mounting, and a Wine drive for the mount.
# Needs: here (the tools folder), build (the build folder), check_name (for messages).
residue_skip_code=77

residue_skip() {
  echo "$check_name SKIPPED: $*"
  exit "$residue_skip_code"
}

# Skips plainly when the machine does not allow loop mounts and FUSE, or lacks a tool.
residue_require() { # tool...
  [ "$(id -u)" -eq 0 ] ||
    residue_skip "it must run as root to mount file-system images (running as uid $(id -u))"
  [ -e /dev/loop-control ] ||
    residue_skip "this machine has no loop devices (/dev/loop-control is missing)"
  [ -c /dev/fuse ] || residue_skip "this machine has no /dev/fuse, so NTFS and FAT32 cannot be mounted"
  local tool
  for tool in mountpoint fusermount python3 wine "$@"; do
    command -v "$tool" >/dev/null ||
      residue_skip "$tool is not installed (tools/setup-deps.sh installs it)"
  done
}

# A fresh work folder with a mount point, the build's Wine environment and a free drive letter,
# all cleaned up on exit.
residue_setup() {
  source "$here/wine-session.sh"
  wine_session_use "$build"
  wine_session_prefix >/dev/null
  work=$(mktemp -d /tmp/ferrolet-residue.XXXXXX)
  mnt=$work/mnt
  mkdir -p "$mnt"
  daemon=
  drive=
  trap residue_cleanup EXIT
  trap 'exit 1' INT TERM
  local letter
  for letter in r s t u v w x y; do
    if [ ! -e "$WINEPREFIX/dosdevices/$letter:" ] && [ ! -L "$WINEPREFIX/dosdevices/$letter:" ] &&
       ln -s "$mnt" "$WINEPREFIX/dosdevices/$letter:" 2>/dev/null; then
      drive=$letter:
      break
    fi
  done
  [ -n "$drive" ] || { echo "$check_name: no free drive letter in $WINEPREFIX/dosdevices"; exit 1; }
  drive_root=${drive^^}\\
}

residue_cleanup() {
  if mountpoint -q "$mnt"; then
    fusermount -u "$mnt" 2>/dev/null || umount "$mnt" 2>/dev/null || umount -l "$mnt"
  fi
  [ -n "$daemon" ] && wait "$daemon" 2>/dev/null
  [ -n "$drive" ] && rm -f "$WINEPREFIX/dosdevices/$drive"
  rm -rf "$work"
}

make_image() { # fs image [size]
  case $1 in
    ext4) truncate -s "${3:-32M}" "$2" &&
            mkfs.ext4 -q -F -b 4096 -E lazy_itable_init=0,lazy_journal_init=0 "$2" ;;
    ntfs) truncate -s "${3:-32M}" "$2" && mkfs.ntfs -q -F -Q -s 512 "$2" >/dev/null 2>&1 ;;
    fat32) truncate -s "${3:-40M}" "$2" && mkfs.fat -F 32 -S 512 -s 1 "$2" >/dev/null ;;
  esac
}

mount_image() { # fs image
  local deadline=$((SECONDS + 20))
  daemon=
  case $1 in
    ext4) mount -o loop "$2" "$mnt" || return 1 ;;
    ntfs) ntfs-3g -o no_detach "$2" "$mnt" >"$work/daemon.log" 2>&1 & daemon=$! ;;
    # A row's item is known by its file id from the pick to the shred. FUSE numbers an item anew
    # once the kernel forgets it (fusefat has no numbers of its own), so an item would pass for
    # another one and be left whole; noforget keeps each number for the mount's life, as a FAT
    # driver's id from the item's directory entry stays while the item is not moved.
    fat32) fusefat -f -o rw+,noforget "$2" "$mnt" >"$work/daemon.log" 2>&1 & daemon=$! ;;
  esac
  until mountpoint -q "$mnt"; do
    if [ -n "$daemon" ] && ! kill -0 "$daemon" 2>/dev/null; then
      cat "$work/daemon.log"
      daemon=
      return 1
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

# Mounting must work here at all; a container without the right to mount skips.
residue_probe_mounts() { # fs...
  local fs probe=$work/probe.img
  for fs in "$@"; do
    make_image "$fs" "$probe" && mount_image "$fs" "$probe" && unmount_image ||
      residue_skip "mounting a $fs image (loop device or FUSE) is not permitted on this machine"
    rm -f "$probe"
  done
}
