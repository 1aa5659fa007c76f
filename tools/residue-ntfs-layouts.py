#!/usr/bin/env python3
"""Sparse and NTFS-compressed files for tools/residue-ntfs-layouts.sh.

  residue-ntfs-layouts.py populate MOUNTPOINT MARKERS   makes packed/compressed.bin in a folder
                                                        marked for compression, and sparse.bin
                                                        with two allocated ranges; writes their
                                                        random marker blocks to MARKERS and
                                                        prints each file's NTFS attributes
  residue-ntfs-layouts.py scan IMAGE MARKERS            counts, per file, the marker pieces of
                                                        512 bytes still on the raw image

Markers are random, so they do not compress: NTFS keeps them as they are inside a compressed
unit, and every piece found on the image is a piece of the file's old data.
"""
import json
import os
import struct
import sys

PIECE = 512
COMPRESSED_ATTRIBUTE = 0x800
SPARSE_ATTRIBUTE = 0x200


def ntfs_attributes(path):
    return struct.unpack(">I", os.getxattr(path, "system.ntfs_attrib_be"))[0]


def populate(mountpoint, markers_path):
    packed = os.path.join(mountpoint, "packed")
    os.mkdir(packed)
    os.setxattr(packed, "system.ntfs_attrib_be",
                struct.pack(">I", ntfs_attributes(packed) | COMPRESSED_ATTRIBUTE))
    markers = {"compressed": [], "sparse": []}
    # Eight compression units of 64 KiB, each one random block of 4 KiB among zeros.
    with open(os.path.join(packed, "compressed.bin"), "wb") as f:
        for _ in range(8):
            block = os.urandom(4096)
            markers["compressed"].append(block.hex())
            f.write(block + bytes(60 * 1024))
    # 16 MiB of length, data in two ranges of 64 KiB at 1 MiB and 9 MiB.
    with open(os.path.join(mountpoint, "sparse.bin"), "wb") as f:
        f.truncate(16 * 1024 * 1024)
        for offset in (1 << 20, 9 << 20):
            block = os.urandom(64 * 1024)
            markers["sparse"].append(block.hex())
            f.seek(offset)
            f.write(block)
    with open(markers_path, "w") as f:
        json.dump(markers, f)
    for name in ("packed/compressed.bin", "sparse.bin"):
        path = os.path.join(mountpoint, name)
        attributes = ntfs_attributes(path)
        blocks = os.stat(path).st_blocks * 512
        print(f"{name}: attributes 0x{attributes:x}"
              f"{' compressed' if attributes & COMPRESSED_ATTRIBUTE else ''}"
              f"{' sparse' if attributes & SPARSE_ATTRIBUTE else ''},"
              f" {os.path.getsize(path)} bytes long, {blocks} allocated")


def scan(image, markers_path):
    with open(image, "rb") as f:
        data = f.read()
    with open(markers_path) as f:
        markers = json.load(f)
    for name, blocks in markers.items():
        pieces = found = 0
        for block in blocks:
            raw = bytes.fromhex(block)
            for start in range(0, len(raw), PIECE):
                pieces += 1
                found += raw[start:start + PIECE] in data
        print(f"RESULT {name} {found} {pieces}")


if __name__ == "__main__":
    if sys.argv[1] == "populate":
        populate(sys.argv[2], sys.argv[3])
    elif sys.argv[1] == "scan":
        scan(sys.argv[2], sys.argv[3])
    else:
        sys.exit(f"unknown command {sys.argv[1]}")
