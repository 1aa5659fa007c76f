#include "engine/random.h"
#include "engine/random_fill.h"

namespace {
thread_local std::uint32_t randomState = 1;

constexpr std::uint32_t Multiplier = 214013u;
constexpr std::uint32_t Increment = 2531011u;
} // namespace

std::uint32_t& detail::ThreadRandomState() {
    return randomState;
}

int NextRandom() {
    randomState = randomState * Multiplier + Increment;
    return static_cast<int>((randomState >> 16) & 0x7FFFu);
}

void FillRandomScalar(std::uint8_t* buffer, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        buffer[i] = static_cast<std::uint8_t>(NextRandom());
    }
}

void FillRandom(std::uint8_t* buffer, std::size_t count) {
    FillRandomVia(CurrentRandomFillPath(), buffer, count);
}
