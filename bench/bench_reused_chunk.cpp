#include "bench_reused_chunk.h"

#include "engine/file_system.h"
#include "engine/overwrite_methods.h"

#include <cstring>

namespace {

void* reusedChunk = nullptr;

void* AllocateReusedChunk(std::size_t size) {
    return size <= OverwriteChunkSize ? reusedChunk : nullptr;
}

void KeepReusedChunk(void*) {}

} // namespace

bool UseOneReusedChunk() {
    if (reusedChunk == nullptr) {
        // Lives until the process ends: the bench runs one measurement per process.
        reusedChunk =
            VirtualAlloc(nullptr, OverwriteChunkSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (reusedChunk == nullptr) {
            return false;
        }
        std::memset(reusedChunk, 0, OverwriteChunkSize);
    }
    FileSystem.AllocateChunk = &AllocateReusedChunk;
    FileSystem.FreeChunk = &KeepReusedChunk;
    return true;
}
