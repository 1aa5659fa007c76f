#include "engine/fill_buffer.h"

#include "engine/file_system.h"
#include "engine/random.h"

#include <cstring>

FillBuffer::FillBuffer(std::size_t size, std::size_t alignment)
    : allocation_(FileSystem.AllocateChunk(size + alignment)), size_(size) {
    if (allocation_ != nullptr) {
        const auto address = reinterpret_cast<std::uintptr_t>(allocation_);
        const std::uintptr_t aligned = (address + alignment - 1) / alignment * alignment;
        bytes_ = static_cast<std::uint8_t*>(allocation_) + (aligned - address);
    }
}

FillBuffer::~FillBuffer() {
    if (allocation_ != nullptr) {
        FileSystem.FreeChunk(allocation_);
    }
}

const std::uint8_t* FillBuffer::Fill(PassFill fill, std::size_t bytes) {
    if (fill.random) {
        FillRandom(bytes_, bytes);
        held_ = NoFixedByte;
    } else if (held_ != fill.value) {
        std::memset(bytes_, fill.value, size_);
        held_ = fill.value;
    }
    return bytes_;
}
