// Which bytes of a file an overwrite pass covers: for a sparse file only the ranges that hold
// data, so that a pass never allocates its holes; for every other file the whole length.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

struct ByteRange {
    std::int64_t offset;
    std::int64_t length;

    bool operator==(const ByteRange&) const = default;
};

struct OverwriteRanges {
    // False: the whole file, written from wherever the caller left the position.
    bool sparse = false;
    // In ascending order, within the file's size; for the whole file the one range [0, size).
    std::vector<ByteRange> ranges;
};

// The ranges of the open file, size bytes long (more than 0), that each pass writes. A sparse
// file's allocated ranges as its file system lists them (FSCTL_QUERY_ALLOCATED_RANGES, asked
// again from the end of the last range while the answer is ERROR_MORE_DATA); the whole file
// where the file is not sparse, or where its attributes or its ranges cannot be had.
OverwriteRanges RangesToOverwrite(HANDLE file, std::int64_t size);
