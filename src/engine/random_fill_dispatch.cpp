#include "engine/random.h"
#include "engine/random_fill.h"
#include "engine/random_fill_kernels.h"

#include <atomic>

#if defined(__x86_64__)
#include <cpuid.h>
#endif

namespace {

struct ProcessorFeatures {
    bool sse2 = false;
    bool avx2 = false;
    bool avx512 = false;
};

#if defined(__x86_64__)
// XCR0: the register state the system saves on a thread switch. Vector instructions on registers
// it does not save are unusable whatever the processor reports.
std::uint64_t SavedRegisterState() {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

ProcessorFeatures DetectProcessorFeatures() {
    constexpr std::uint32_t OsXsaveBit = 1u << 27;
    constexpr std::uint32_t Avx2Bit = 1u << 5;
    constexpr std::uint32_t Avx512FBit = 1u << 16;
    constexpr std::uint32_t Avx512BwBit = 1u << 30;
    constexpr std::uint64_t SseAndAvxState = 0x6;     // XMM and upper YMM halves
    constexpr std::uint64_t Avx512State = 0xE0 | 0x6; // plus opmasks and all ZMM registers

    ProcessorFeatures features;
    features.sse2 = true; // part of x86-64 itself
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0 || (ecx & OsXsaveBit) == 0) {
        return features;
    }
    const std::uint64_t saved = SavedRegisterState();
    if (__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) == 0) {
        return features;
    }
    features.avx2 = (ebx & Avx2Bit) != 0 && (saved & SseAndAvxState) == SseAndAvxState;
    features.avx512 =
        (ebx & Avx512FBit) != 0 && (ebx & Avx512BwBit) != 0 && (saved & Avx512State) == Avx512State;
    return features;
}
#else
ProcessorFeatures DetectProcessorFeatures() {
    return {};
}
#endif

const ProcessorFeatures& Features() {
    static const ProcessorFeatures features = DetectProcessorFeatures();
    return features;
}

// -1 until a path is chosen: FillRandom then takes the fastest.
std::atomic<int> chosenPath{-1};

using BlockKernel = void (*)(std::uint8_t*, std::size_t, std::uint32_t);

struct VectorPath {
    BlockKernel kernel;
    std::size_t blockBytes;
};

VectorPath VectorPathOf(RandomFillPath path) {
    switch (path) {
    case RandomFillPath::Sse2:
        return {detail::FillRandomBlocksSse2, detail::Sse2BlockBytes};
    case RandomFillPath::Avx2:
        return {detail::FillRandomBlocksAvx2, detail::Avx2BlockBytes};
    case RandomFillPath::Avx512:
        return {detail::FillRandomBlocksAvx512, detail::Avx512BlockBytes};
    case RandomFillPath::Scalar:
        break;
    }
    return {nullptr, 0};
}

} // namespace

void detail::LayOutLaneStates(std::uint32_t state, std::uint32_t* lanes,
                              std::size_t lanesPerVector) {
    const std::size_t blockBytes = 4 * lanesPerVector;
    for (std::size_t position = 0; position < blockBytes; ++position) {
        state = ApplyJump({RandomMultiplier, RandomIncrement}, state);
        const std::size_t vector = (position % 16) / 4;
        const std::size_t lane = 4 * (position / 16) + position % 4;
        lanes[vector * lanesPerVector + lane] = state;
    }
}

bool RandomFillPathSupported(RandomFillPath path) {
    switch (path) {
    case RandomFillPath::Scalar:
        return true;
    case RandomFillPath::Sse2:
        return Features().sse2;
    case RandomFillPath::Avx2:
        return Features().avx2;
    case RandomFillPath::Avx512:
        return Features().avx512;
    }
    return false;
}

RandomFillPath FastestRandomFillPath() {
    if (Features().avx512) {
        return RandomFillPath::Avx512;
    }
    if (Features().avx2) {
        return RandomFillPath::Avx2;
    }
    if (Features().sse2) {
        return RandomFillPath::Sse2;
    }
    return RandomFillPath::Scalar;
}

RandomFillPath CurrentRandomFillPath() {
    const int chosen = chosenPath.load(std::memory_order_relaxed);
    return chosen < 0 ? FastestRandomFillPath() : static_cast<RandomFillPath>(chosen);
}

bool SetRandomFillPath(RandomFillPath path) {
    if (!RandomFillPathSupported(path)) {
        return false;
    }
    chosenPath.store(static_cast<int>(path), std::memory_order_relaxed);
    return true;
}

const char* RandomFillPathName(RandomFillPath path) {
    switch (path) {
    case RandomFillPath::Scalar:
        return "scalar";
    case RandomFillPath::Sse2:
        return "sse2";
    case RandomFillPath::Avx2:
        return "avx2";
    case RandomFillPath::Avx512:
        return "avx512";
    }
    return "unknown";
}

void FillRandomVia(RandomFillPath path, std::uint8_t* buffer, std::size_t count) {
    const VectorPath vector =
        RandomFillPathSupported(path) ? VectorPathOf(path) : VectorPath{nullptr, 0};
    // Below a few blocks, laying out the lanes costs more than it saves.
    if (vector.kernel == nullptr || count < 4 * vector.blockBytes) {
        FillRandomScalar(buffer, count);
        return;
    }
    std::uint32_t& state = detail::ThreadRandomState();
    const std::size_t blocks = count / vector.blockBytes;
    const std::size_t vectorBytes = blocks * vector.blockBytes;
    vector.kernel(buffer, blocks, state);
    state = detail::ApplyJump(detail::RandomJumpOf(vectorBytes), state);
    FillRandomScalar(buffer + vectorBytes, count - vectorBytes);
}
