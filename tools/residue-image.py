#!/usr/bin/env python3
"""Lays out the residue check's files on a mounted image, and scans the raw image afterwards.

  residue-image.py populate MOUNTPOINT CASE...      writes every case's files and folder tree and
                                                     prints one top-level item name per line
  residue-image.py scan FS IMAGE PHASE CASE...       counts each case's marker and finds its names
                                                     (UTF-8, UTF-16LE and, on FAT, the long-name
                                                     entries as stored); PHASE is "before" or
                                                     "after"; prints a report and one line
                                                     "RESULT fs case markers names where" per case

Every case gets its own marker and its own names, so several cases share one image without
mixing up whose bytes are found.
"""
import os
import re
import struct
import subprocess
import sys

# Size in bytes of each file of a case, by its place in the layout.
SMALL, MEDIUM, LARGE, EMPTY = 300, 70_003, 20_011, 0


def case_code(case):
    return {"zeros": "Zro", "random": "Rnd", "dod3": "Dd3", "dod7": "Dd7",
            "gutmann": "Gut", "delete": "Del"}[case]


def marker(case):
    return f"FRLMARK-{case}-".encode()


def layout(case):
    """(relative path, size or None for a folder); the top-level items come first."""
    c = case_code(case)
    vault = f"{c} Gamma Vault"
    return [
        (f"{c} Alpha Secret Report.txt", SMALL),
        (f"{c} Beta Ledger 2026.dat", MEDIUM),
        (vault, None),
        (f"{vault}/{c} Delta Minutes.txt", 5_001),
        (f"{vault}/{c} Epsilon Empty.txt", EMPTY),
        (f"{vault}/{c} Zeta Archive", None),
        (f"{vault}/{c} Zeta Archive/{c} Eta Payroll.csv", LARGE),
        (f"{vault}/{c} Zeta Archive/{c} Theta Drafts", None),
    ]


def top_level(case):
    return [p for p, _ in layout(case) if "/" not in p]


def names(case):
    return [p.rsplit("/", 1)[-1] for p, _ in layout(case)]


def contents(case, index, size):
    record = marker(case) + f"{index:02d}-this sentence must not survive the shredder.\n".encode()
    return (record * (size // len(record) + 1))[:size]


def populate(mountpoint, cases):
    for case in cases:
        for index, (rel, size) in enumerate(layout(case)):
            path = os.path.join(mountpoint, rel)
            if size is None:
                os.mkdir(path)
            else:
                with open(path, "wb") as f:
                    f.write(contents(case, index, size))
        for item in top_level(case):
            print(item)


def fat_long_name_entries(data):
    """{13-character piece as stored: [(deleted, offset)]} of every long-name directory entry.

    A long name is stored in pieces of 13 UTF-16LE characters, one per 32-byte entry; the
    entries of one name may straddle clusters that are not adjacent on the disk, so the pieces
    are matched one by one rather than as a run."""
    pieces = {}
    for m in re.finditer(rb"(?s)(?=.{11}\x0f\x00.{13}\x00\x00)", data):
        off = m.start()
        if off % 32:
            continue
        entry = data[off:off + 32]
        piece = entry[1:11] + entry[14:26] + entry[28:32]
        pieces.setdefault(piece, []).append((entry[0] == 0xE5, off))
    return pieces


def fat_pieces(name):
    """The 26-byte pieces in which FAT stores name: NUL after the last character, then 0xFFFF."""
    raw = name.encode("utf-16le")
    pieces = []
    for start in range(0, len(raw), 26):
        piece = raw[start:start + 26]
        if len(piece) < 26:
            piece += b"\0\0"
            piece += b"\xff" * (26 - len(piece))
        pieces.append(piece)
    return pieces


class Locator:
    """Names the file-system structure that holds a byte offset of the image."""

    def __init__(self, fs, image, data):
        self.fs, self.image, self.cache = fs, image, {}
        if fs == "ext4":
            self.unit = 1024 << struct.unpack_from("<I", data, 1024 + 24)[0]
        elif fs == "ntfs":
            self.unit = struct.unpack_from("<H", data, 11)[0] * data[13]
        else:
            self.unit = 1

    def where(self, offset):
        block = offset // self.unit
        if block not in self.cache:
            self.cache[block] = self._lookup(block)
        return self.cache[block]

    def _run(self, *args):
        return subprocess.run(args, capture_output=True, text=True).stdout

    def _lookup(self, block):
        if self.fs == "ext4":
            out = self._run("debugfs", "-R", f"icheck {block}", self.image)
            m = re.search(rf"^{block}\s+(\d+)", out, re.M)
            if not m:
                return "unallocated block"
            inode = int(m.group(1))
            if inode == 8:
                return "journal"
            path = re.search(rf"^{inode}\s+(\S.*)$",
                             self._run("debugfs", "-R", f"ncheck {inode}", self.image), re.M)
            return f"directory {path.group(1) if path else '<' + str(inode) + '>'}"
        if self.fs == "ntfs":
            out = self._run("ntfscluster", "-c", str(block), self.image)
            owners = sorted(set(re.findall(r"^Inode \d+ (\S+)", out, re.M)))
            return ", ".join(owners) if owners else "unallocated cluster"
        return ""


def scan(fs, image, phase, cases):
    with open(image, "rb") as f:
        data = f.read()
    locator = Locator(fs, image, data)
    long_names = fat_long_name_entries(data) if fs == "fat32" else {}
    failed = False
    for case in cases:
        markers = data.count(marker(case))
        hits = []
        for name in names(case):
            for form, needle in (("UTF-8", name.encode()), ("UTF-16LE", name.encode("utf-16le"))):
                for m in re.finditer(re.escape(needle), data):
                    hits.append((name, form, locator.where(m.start()) or f"offset {m.start()}"))
            pieces = fat_pieces(name)
            if long_names and all(p in long_names for p in pieces):
                entries = [e for p in pieces for e in long_names[p]]
                state = ("entries marked deleted" if all(d for d, _ in entries)
                         else "entries not marked deleted")
                hits.append((name, "FAT long name", state))
        where = sorted({h[2].split(" /")[0] if fs == "ext4" else h[2] for h in hits})
        names_left = len({h[0] for h in hits})
        print(f"  {fs} {case} {phase}: marker {markers} times; {names_left} of "
              f"{len(names(case))} names")
        for name, form, place in sorted(set(hits)):
            print(f"      name {name!r} as {form} in {place} ({hits.count((name, form, place))}x)")
        if phase == "before":
            ok = markers > 0 and names_left == len(names(case))
        elif case == "delete":
            ok = markers > 0
        else:
            ok = markers == 0
        failed |= not ok
        summary = "; ".join(where) if where else "-"
        print(f"RESULT {fs} {case} {markers} {names_left} {summary}")
    return 1 if failed else 0


def main(argv):
    if len(argv) >= 3 and argv[1] == "populate":
        populate(argv[2], argv[3:])
        return 0
    if len(argv) >= 5 and argv[1] == "scan":
        return scan(argv[2], argv[3], argv[4], argv[5:])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
