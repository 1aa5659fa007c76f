#include "engine/pass_writer.h"

#include "engine/file_system.h"
#include "engine/overwrite_methods.h"
#include "engine/random.h"
#include "engine/stop_request.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// One overwrite chunk from the file-system table, given back through it.
class ChunkBuffer {
public:
    explicit ChunkBuffer(std::size_t size)
        : bytes_(static_cast<std::uint8_t*>(FileSystem.AllocateChunk(size))) {}
    ~ChunkBuffer() { Release(); }
    ChunkBuffer(const ChunkBuffer&) = delete;
    ChunkBuffer& operator=(const ChunkBuffer&) = delete;
    ChunkBuffer(ChunkBuffer&& other) noexcept : bytes_(std::exchange(other.bytes_, nullptr)) {}
    ChunkBuffer& operator=(ChunkBuffer&& other) noexcept {
        if (this != &other) {
            Release();
            bytes_ = std::exchange(other.bytes_, nullptr);
        }
        return *this;
    }

    std::uint8_t* Get() const { return bytes_; }

    void Release() {
        if (bytes_ != nullptr) {
            FileSystem.FreeChunk(bytes_);
        }
        bytes_ = nullptr;
    }

private:
    std::uint8_t* bytes_;
};

std::size_t ChunkFor(std::int64_t remaining) {
    return static_cast<std::size_t>(
        std::min<std::int64_t>(remaining, static_cast<std::int64_t>(OverwriteChunkSize)));
}

// Writes every chunk of the pass from one buffer. A fixed byte is set once for the whole pass;
// random bytes are drawn anew for each chunk, so the sequence runs on across chunks.
bool WriteChunks(HANDLE file, std::int64_t size, PassFill fill) {
    ChunkBuffer buffer(ChunkFor(size));
    if (buffer.Get() == nullptr) {
        return false;
    }
    if (!fill.random) {
        std::memset(buffer.Get(), fill.value, ChunkFor(size));
    }
    for (std::int64_t remaining = size; remaining > 0;) {
        // A stop asked for in the middle of a big file is heeded within one chunk.
        if (StopRequested()) {
            return false;
        }
        const std::size_t chunk = ChunkFor(remaining);
        if (fill.random) {
            FillRandom(buffer.Get(), chunk);
        }
        DWORD written = 0;
        if (!FileSystem.WriteFile(file, buffer.Get(), static_cast<DWORD>(chunk), &written,
                                  nullptr) ||
            written != chunk) {
            return false;
        }
        remaining -= static_cast<std::int64_t>(chunk);
    }
    return true;
}

} // namespace

bool QueryOverwriteSize(HANDLE file, std::int64_t& size) {
    LARGE_INTEGER value{};
    if (!FileSystem.GetFileSizeEx(file, &value) || value.QuadPart < 0) {
        return false;
    }
    size = value.QuadPart;
    return true;
}

bool RewindFile(HANDLE file) {
    return FileSystem.SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0;
}

bool WritePass(HANDLE file, std::int64_t size, PassFill fill) {
    if (size == 0) {
        return true;
    }
    // The buffer is given back before the flush, which can take long on a big file.
    return WriteChunks(file, size, fill) && FileSystem.FlushFileBuffers(file) != FALSE;
}
