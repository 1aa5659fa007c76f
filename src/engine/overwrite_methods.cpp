#include "engine/overwrite_methods.h"

#include "engine/pass_writer.h"

#include <array>

bool OverwriteZeros(HANDLE& file) {
    const std::array<PassFill, 1> passes{BytePass(0x00)};
    return WritePasses(file, passes, PassStart::Here);
}

bool OverwriteRandom(HANDLE& file) {
    const std::array<PassFill, 1> passes{RandomPass};
    return WritePasses(file, passes, PassStart::Here);
}

bool OverwriteDod3(HANDLE& file) {
    const std::array<PassFill, 3> passes{BytePass(0x00), BytePass(0xFF), RandomPass};
    return WritePasses(file, passes, PassStart::Rewound);
}

bool OverwriteDod7(HANDLE& file) {
    const std::array<PassFill, 7> passes{BytePass(0x00), BytePass(0xFF), RandomPass, BytePass(0x96),
                                         BytePass(0x00), BytePass(0xFF), RandomPass};
    return WritePasses(file, passes, PassStart::Rewound);
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
    return WritePasses(file, subPasses, PassStart::Rewound);
}

const ShredMethod ShredMethods[ShredMethodCount] = {OverwriteZeros, OverwriteRandom, OverwriteDod3,
                                                    OverwriteDod7, OverwriteGutmann};
