#include "engine/pass_writer.h"

#include "engine/file_system.h"
#include "engine/overwrite_methods.h"
#include "engine/random.h"

#include <algorithm>
#include <cstring>

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
    for (std::int64_t remaining = size; remaining > 0;) {
        const auto chunk = static_cast<std::size_t>(
            std::min<std::int64_t>(remaining, static_cast<std::int64_t>(OverwriteChunkSize)));
        auto* buffer = static_cast<std::uint8_t*>(FileSystem.AllocateChunk(chunk));
        if (buffer == nullptr) {
            return false;
        }
        if (fill.random) {
            FillRandom(buffer, chunk);
        } else {
            std::memset(buffer, fill.value, chunk);
        }
        DWORD written = 0;
        const BOOL ok =
            FileSystem.WriteFile(file, buffer, static_cast<DWORD>(chunk), &written, nullptr);
        FileSystem.FreeChunk(buffer);
        if (!ok || written != chunk) {
            return false;
        }
        remaining -= static_cast<std::int64_t>(chunk);
    }
    return size == 0 || FileSystem.FlushFileBuffers(file) != FALSE;
}
