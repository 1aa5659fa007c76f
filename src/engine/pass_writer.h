// Writing one overwrite pass over a whole file, the single place where passes are written.
#pragma once

#include <windows.h>

#include <cstdint>

// What one pass fills the file with: one fixed byte value, or fresh random bytes.
struct PassFill {
    bool random;
    std::uint8_t value;
};

constexpr PassFill RandomPass{true, 0};
constexpr PassFill BytePass(std::uint8_t value) {
    return PassFill{false, value};
}

// The file's size in bytes; false (and nothing else done) when it cannot be known.
bool QueryOverwriteSize(HANDLE file, std::int64_t& size);

// Moves the file position back to byte 0; false when that failed.
bool RewindFile(HANDLE file);

// Writes size bytes of fill from the current position in chunks of at most OverwriteChunkSize,
// all from one buffer of at most one chunk that the pass allocates first and releases after its
// last write, then flushes the file so the pass is on the disk before anything else happens.
// Random bytes are the low bytes of one draw each. False when the buffer cannot be allocated (then
// nothing is written), at the first chunk not written in full, when the flush fails, or before
// the next chunk once the job asks to stop (StopRequested).
bool WritePass(HANDLE file, std::int64_t size, PassFill fill);
