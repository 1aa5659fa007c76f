#include "engine/pass_writer.h"

#include "engine/allocated_ranges.h"
#include "engine/file_system.h"
#include "engine/overwrite_methods.h"
#include "engine/random.h"
#include "engine/stop_request.h"

#include <algorithm>
#include <cstring>

namespace {

// The one overwrite chunk of a method call, from the file-system table and given back through
// it. Remembers which fixed byte it holds, so that passes of the same byte fill it once.
class ChunkBuffer {
public:
    explicit ChunkBuffer(std::size_t size)
        : bytes_(static_cast<std::uint8_t*>(FileSystem.AllocateChunk(size))), size_(size) {}
    ~ChunkBuffer() {
        if (bytes_ != nullptr) {
            FileSystem.FreeChunk(bytes_);
        }
    }
    ChunkBuffer(const ChunkBuffer&) = delete;
    ChunkBuffer& operator=(const ChunkBuffer&) = delete;

    bool IsValid() const { return bytes_ != nullptr; }

    // The bytes of the next chunk of a pass of fill.
    const std::uint8_t* Fill(PassFill fill, std::size_t chunk) {
        if (fill.random) {
            FillRandom(bytes_, chunk);
            held_ = NoFixedByte;
        } else if (held_ != fill.value) {
            std::memset(bytes_, fill.value, size_);
            held_ = fill.value;
        }
        return bytes_;
    }

private:
    std::uint8_t* bytes_;
    std::size_t size_;
    static constexpr int NoFixedByte = -1;
    int held_ = NoFixedByte;
};

std::size_t ChunkFor(std::int64_t remaining) {
    return static_cast<std::size_t>(
        std::min<std::int64_t>(remaining, static_cast<std::int64_t>(OverwriteChunkSize)));
}

bool SeekTo(HANDLE file, std::int64_t offset) {
    const auto low = static_cast<DWORD>(offset & 0xFFFFFFFF);
    const auto high = static_cast<LONG>(offset >> 32);
    LONG reachedHigh = high;
    SetLastError(NO_ERROR);
    const DWORD reached =
        FileSystem.SetFilePointer(file, static_cast<LONG>(low), &reachedHigh, FILE_BEGIN);
    return GetLastError() == NO_ERROR && reached == low && reachedHigh == high;
}

bool RewindFile(HANDLE file) {
    return FileSystem.SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0;
}

bool WriteLength(HANDLE file, ChunkBuffer& buffer, std::int64_t length, PassFill fill) {
    for (std::int64_t remaining = length; remaining > 0;) {
        // A stop asked for in the middle of a big file is heeded within one chunk.
        if (StopRequested()) {
            return false;
        }
        const std::size_t chunk = ChunkFor(remaining);
        DWORD written = 0;
        if (!FileSystem.WriteFile(file, buffer.Fill(fill, chunk), static_cast<DWORD>(chunk),
                                  &written, nullptr) ||
            written != chunk) {
            return false;
        }
        remaining -= static_cast<std::int64_t>(chunk);
    }
    return true;
}

bool WritePass(HANDLE file, const OverwriteRanges& where, ChunkBuffer& buffer, PassFill fill,
               PassStart start) {
    if (!where.sparse && start == PassStart::Rewound && !RewindFile(file)) {
        return false;
    }
    for (const ByteRange& range : where.ranges) {
        if ((where.sparse && !SeekTo(file, range.offset)) ||
            !WriteLength(file, buffer, range.length, fill)) {
            return false;
        }
    }
    // The pass is on the disk before the next one, or the truncation, begins.
    return FileSystem.FlushFileBuffers(file) != FALSE;
}

} // namespace

bool WritePasses(HANDLE file, std::span<const PassFill> passes, PassStart start) {
    LARGE_INTEGER size{};
    if (!FileSystem.GetFileSizeEx(file, &size) || size.QuadPart < 0) {
        return false;
    }
    const OverwriteRanges where =
        size.QuadPart > 0 ? RangesToOverwrite(file, size.QuadPart) : OverwriteRanges{};
    std::int64_t largest = 0;
    for (const ByteRange& range : where.ranges) {
        largest = std::max(largest, range.length);
    }
    if (largest == 0) {
        // Nothing to write; the position ends where the passes would have left it.
        return passes.empty() || start != PassStart::Rewound || where.sparse || RewindFile(file);
    }
    ChunkBuffer buffer(ChunkFor(largest));
    if (!buffer.IsValid()) {
        return false;
    }
    for (const PassFill& fill : passes) {
        if (!WritePass(file, where, buffer, fill, start)) {
            return false;
        }
    }
    return true;
}
