#!/usr/bin/env bash
# Soak run, not part of CI: a tree of FILES files in FOLDERS folders up to DEPTH levels deep and
# one file of BIG bytes, shredded end to end through the real job in one run, with the process's
# memory sampled every second. Afterwards nothing may be left.
#   bench/soak/soak.sh BUILD_FOLDER [FILES=100000] [FOLDERS=10000] [DEPTH=50] [BIG=4G]
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
tools=$here/../../tools
build=$(readlink -f "${1:?build folder}")
files=${2:-100000}
folders=${3:-10000}
depth=${4:-50}
big=${5:-4G}
program=$build/bench/soak/soak_job.exe
[ -f "$program" ] || { echo "soak: $program is not built"; exit 1; }

source "$tools/wine-session.sh"
wine_session_use "$build"
wine_session_prefix >/dev/null
wine_session_display
trap wine_session_end EXIT

base=$WINEPREFIX/drive_c/ferrolet-soak
rm -rf "$base"
mkdir -p "$base"
started=$SECONDS
python3 - "$base/tree" "$files" "$folders" "$depth" <<'PY'
import os, sys
root, files, folders, depth = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
os.mkdir(root)
made, chain, paths = 1, 0, [root]
# Chains of nested folders: every fourth one reaches the full depth, the others vary.
while made < folders:
    levels = depth if chain % 4 == 0 else 1 + (chain * 7) % depth
    path = root
    for level in range(min(levels, folders - made)):
        path = os.path.join(path, f"c{chain:04d}l{level:02d}")
        os.mkdir(path)
        paths.append(path)
        made += 1
    chain += 1
for i in range(files):
    size = 512 + (i * 37) % 4096
    with open(os.path.join(paths[i % len(paths)], f"file{i:06d}.dat"), "wb") as f:
        f.write(bytes([i % 251]) * size)
print(f"tree: {files} files in {made} folders (the tree's own included), "
      f"deepest {max(p.count(os.sep) for p in paths) - root.count(os.sep)} levels")
PY
dd if=/dev/zero of="$base/big.bin" bs=16M count=$(( $(numfmt --from=iec "$big") / (16 << 20) )) \
   conv=fsync status=none
echo "big file: $(stat -c %s "$base/big.bin") bytes; prepared in $((SECONDS - started)) s"
sync

wine_session_start
status=0
wine "$program" 'C:\ferrolet-soak\tree' 'C:\ferrolet-soak\big.bin' | tr -d '\r' || status=$?
left=$(find "$base" -mindepth 1 | wc -l)
echo "entries left under $base: $left"
[ "$left" -eq 0 ] || status=1
rm -rf "$base"
exit "$status"
