// The one chunk every write of a free-space wipe comes from, aligned for unbuffered writes.
#pragma once

#include "engine/pass_fill.h"

#include <cstddef>
#include <cstdint>

// size bytes at an address that is a multiple of alignment, from the file-system table's chunk
// allocation (a little more than size, so that an aligned start is inside it). Remembers which
// fixed byte it holds, so that passes of the same byte fill it once.
class FillBuffer {
public:
    FillBuffer(std::size_t size, std::size_t alignment);
    ~FillBuffer();
    FillBuffer(const FillBuffer&) = delete;
    FillBuffer& operator=(const FillBuffer&) = delete;

    bool IsValid() const { return bytes_ != nullptr; }
    std::size_t Size() const { return size_; }

    // The first bytes of the buffer holding the next bytes of a pass of fill (at most Size()).
    const std::uint8_t* Fill(PassFill fill, std::size_t bytes);

private:
    void* allocation_;
    std::uint8_t* bytes_ = nullptr;
    std::size_t size_;
    static constexpr int NoFixedByte = -1;
    int held_ = NoFixedByte;
};
