#include "engine/overwrite_methods.h"

#include "engine/pass_writer.h"

#include <array>
#include <span>

namespace {

// Every pass rewinds to byte 0 first and covers the whole file.
bool WriteRewoundPasses(HANDLE file, std::span<const PassFill> passes) {
    std::int64_t size = 0;
    if (!QueryOverwriteSize(file, size)) {
        return false;
    }
    for (const PassFill& pass : passes) {
        if (!RewindFile(file) || !WritePass(file, size, pass)) {
            return false;
        }
    }
    return true;
}

// One pass from wherever the caller left the position (right after the open: byte 0).
bool WriteSinglePass(HANDLE file, PassFill pass) {
    std::int64_t size = 0;
    return QueryOverwriteSize(file, size) && WritePass(file, size, pass);
}

} // namespace

bool OverwriteZeros(HANDLE& file) {
    return WriteSinglePass(file, BytePass(0x00));
}

bool OverwriteRandom(HANDLE& file) {
    return WriteSinglePass(file, RandomPass);
}

bool OverwriteDod3(HANDLE& file) {
    const std::array<PassFill, 3> passes{BytePass(0x00), BytePass(0xFF), RandomPass};
    return WriteRewoundPasses(file, passes);
}

bool OverwriteDod7(HANDLE& file) {
    const std::array<PassFill, 7> passes{BytePass(0x00), BytePass(0xFF), RandomPass, BytePass(0x96),
                                         BytePass(0x00), BytePass(0xFF), RandomPass};
    return WriteRewoundPasses(file, passes);
}

bool OverwriteGutmann(HANDLE& file) {
    // Passes 5 to 31, three sub-passes each; every sub-pass fills the whole file with one byte.
    const std::array<std::uint8_t, 81> patterns{
        0x55, 0x55, 0x55, 0xAA, 0xAA, 0xAA, 0x92, 0x49, 0x24, 0x49, 0x24, 0x92, 0x24, 0x92,
        0x49, 0x00, 0x00, 0x00, 0x11, 0x11, 0x11, 0x22, 0x22, 0x22, 0x33, 0x33, 0x33, 0x44,
        0x44, 0x44, 0x55, 0x55, 0x55, 0x66, 0x66, 0x66, 0x77, 0x77, 0x77, 0x88, 0x88, 0x88,
        0x99, 0x99, 0x99, 0xAA, 0xAA, 0xAA, 0xBB, 0xBB, 0xBB, 0xCC, 0xCC, 0xCC, 0xDD, 0xDD,
        0xDD, 0xEE, 0xEE, 0xEE, 0xFF, 0xFF, 0xFF, 0x92, 0x49, 0x24, 0x49, 0x24, 0x92, 0x24,
        0x92, 0x49, 0x6D, 0xB6, 0xDB, 0xB6, 0xDB, 0x6D, 0xDB, 0x6D, 0xB6};
    constexpr std::size_t RandomSubPassesEachEnd = 12; // passes 1-4 and 32-35, three each
    std::array<PassFill, RandomSubPassesEachEnd * 2 + patterns.size()> subPasses{};
    std::size_t next = 0;
    for (std::size_t i = 0; i < RandomSubPassesEachEnd; ++i) {
        subPasses[next++] = RandomPass;
    }
    for (std::uint8_t value : patterns) {
        subPasses[next++] = BytePass(value);
    }
    for (std::size_t i = 0; i < RandomSubPassesEachEnd; ++i) {
        subPasses[next++] = RandomPass;
    }
    return WriteRewoundPasses(file, subPasses);
}

const ShredMethod ShredMethods[ShredMethodCount] = {OverwriteZeros, OverwriteRandom, OverwriteDod3,
                                                    OverwriteDod7, OverwriteGutmann};
