#include "engine/overwrite_methods.h"

#include "engine/pass_writer.h"

#include <array>

namespace {

constexpr std::array<PassFill, 1> ZerosPasses{BytePass(0x00)};
constexpr std::array<PassFill, 1> RandomPasses{RandomPass};
constexpr std::array<PassFill, 3> Dod3Passes{BytePass(0x00), BytePass(0xFF), RandomPass};
constexpr std::array<PassFill, 7> Dod7Passes{BytePass(0x00), BytePass(0xFF), RandomPass,
                                             BytePass(0x96), BytePass(0x00), BytePass(0xFF),
                                             RandomPass};

// Passes 5 to 31, three sub-passes each; every sub-pass fills the whole file with one byte.
constexpr std::array<std::uint8_t, 81> GutmannPatterns{
    0x55, 0x55, 0x55, 0xAA, 0xAA, 0xAA, 0x92, 0x49, 0x24, 0x49, 0x24, 0x92, 0x24, 0x92,
    0x49, 0x00, 0x00, 0x00, 0x11, 0x11, 0x11, 0x22, 0x22, 0x22, 0x33, 0x33, 0x33, 0x44,
    0x44, 0x44, 0x55, 0x55, 0x55, 0x66, 0x66, 0x66, 0x77, 0x77, 0x77, 0x88, 0x88, 0x88,
    0x99, 0x99, 0x99, 0xAA, 0xAA, 0xAA, 0xBB, 0xBB, 0xBB, 0xCC, 0xCC, 0xCC, 0xDD, 0xDD,
    0xDD, 0xEE, 0xEE, 0xEE, 0xFF, 0xFF, 0xFF, 0x92, 0x49, 0x24, 0x49, 0x24, 0x92, 0x24,
    0x92, 0x49, 0x6D, 0xB6, 0xDB, 0xB6, 0xDB, 0x6D, 0xDB, 0x6D, 0xB6};
constexpr std::size_t GutmannRandomSubPassesEachEnd = 12; // passes 1-4 and 32-35, three each

constexpr auto GutmannPasses = [] {
    std::array<PassFill, GutmannRandomSubPassesEachEnd * 2 + GutmannPatterns.size()> subPasses{};
    std::size_t next = 0;
    for (std::size_t i = 0; i < GutmannRandomSubPassesEachEnd; ++i) {
        subPasses[next++] = RandomPass;
    }
    for (std::uint8_t value : GutmannPatterns) {
        subPasses[next++] = BytePass(value);
    }
    for (std::size_t i = 0; i < GutmannRandomSubPassesEachEnd; ++i) {
        subPasses[next++] = RandomPass;
    }
    return subPasses;
}();

} // namespace

bool OverwriteZeros(HANDLE& file) {
    return WritePasses(file, ZerosPasses, PassStart::Here);
}

bool OverwriteRandom(HANDLE& file) {
    return WritePasses(file, RandomPasses, PassStart::Here);
}

bool OverwriteDod3(HANDLE& file) {
    return WritePasses(file, Dod3Passes, PassStart::Rewound);
}

bool OverwriteDod7(HANDLE& file) {
    return WritePasses(file, Dod7Passes, PassStart::Rewound);
}

bool OverwriteGutmann(HANDLE& file) {
    return WritePasses(file, GutmannPasses, PassStart::Rewound);
}

const ShredMethod ShredMethods[ShredMethodCount] = {OverwriteZeros, OverwriteRandom, OverwriteDod3,
                                                    OverwriteDod7, OverwriteGutmann};

std::span<const PassFill> PassesOf(ShredMethod method) {
    if (method == OverwriteZeros) {
        return ZerosPasses;
    }
    if (method == OverwriteRandom) {
        return RandomPasses;
    }
    if (method == OverwriteDod3) {
        return Dod3Passes;
    }
    if (method == OverwriteDod7) {
        return Dod7Passes;
    }
    if (method == OverwriteGutmann) {
        return GutmannPasses;
    }
    return {};
}
