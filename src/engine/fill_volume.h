// What the free-space fill needs to know of a volume before it starts.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

struct FillVolume {
    std::uint32_t sectorBytes = 0;
    std::uint32_t clusterBytes = 0;
    // The most one fill file holds: a whole number of clusters, within what the file system
    // allows one file.
    std::uint64_t fileCap = 0;
    bool ntfs = false; // whether small files live in its file table's records
};

// The most one fill file holds on any volume, so that the volume is full only while the last
// file takes its passes, not for the whole of a long method. Below FAT32's limit of 4 GiB less
// one byte per file, so that file system needs no cap of its own.
constexpr std::uint64_t FillFileBytes = 1ull << 30;

// Reads root's sector and cluster sizes and its file system; false and the last error when it
// cannot.
bool ReadFillVolume(const std::wstring& root, FillVolume& volume);

// The free space of the volume at root counted as the fill can use it (a caller's quota
// included); false and the last error on failure.
bool ReadFillableSpace(const std::wstring& root, std::uint64_t& bytes);

// Whether a failed write, or a create, met a full volume (or the user's quota).
bool IsDiskFull(DWORD error);
