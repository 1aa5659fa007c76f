#include "engine/allocated_ranges.h"

#include "engine/file_system.h"

#include <winioctl.h>

#include <algorithm>
#include <array>

namespace {

// Ranges per answer; a file with more is listed in several calls.
constexpr std::size_t RangesPerCall = 64;

bool IsSparse(HANDLE file) {
    FILE_ATTRIBUTE_TAG_INFO tag{};
    return FileSystem.GetFileInformationByHandleEx(file, FileAttributeTagInfo, &tag, sizeof(tag)) &&
           (tag.FileAttributes & FILE_ATTRIBUTE_SPARSE_FILE) != 0;
}

// Appends the allocated ranges of [0, size) in order; false when the listing failed.
bool ListAllocatedRanges(HANDLE file, std::int64_t size, std::vector<ByteRange>& ranges) {
    std::array<FILE_ALLOCATED_RANGE_BUFFER, RangesPerCall> answer{};
    std::int64_t from = 0;
    while (from < size) {
        FILE_ALLOCATED_RANGE_BUFFER query{};
        query.FileOffset.QuadPart = from;
        query.Length.QuadPart = size - from;
        DWORD bytes = 0;
        const BOOL complete = FileSystem.DeviceIoControl(
            file, FSCTL_QUERY_ALLOCATED_RANGES, &query, sizeof(query), answer.data(),
            static_cast<DWORD>(sizeof(answer)), &bytes, nullptr);
        if (!complete && GetLastError() != ERROR_MORE_DATA) {
            return false;
        }
        const std::size_t count = std::min<std::size_t>(bytes / sizeof(answer[0]), answer.size());
        std::int64_t next = from;
        for (std::size_t i = 0; i < count; ++i) {
            // Clipped to what was asked, so that no pass writes beyond it or twice over a byte.
            const std::int64_t start = std::max(answer[i].FileOffset.QuadPart, next);
            const std::int64_t end =
                std::min(answer[i].FileOffset.QuadPart + answer[i].Length.QuadPart, size);
            if (end > start) {
                ranges.push_back(ByteRange{start, end - start});
                next = end;
            }
        }
        if (complete) {
            return true;
        }
        if (next == from) {
            return false; // more data, yet no progress
        }
        from = next;
    }
    return true;
}

} // namespace

OverwriteRanges RangesToOverwrite(HANDLE file, std::int64_t size) {
    OverwriteRanges result;
    if (IsSparse(file)) {
        result.sparse = ListAllocatedRanges(file, size, result.ranges);
    }
    if (!result.sparse) {
        result.ranges.assign(1, ByteRange{0, size});
    }
    return result;
}
