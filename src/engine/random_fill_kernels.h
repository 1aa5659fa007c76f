// Internals of the fast random fill: jumping the generator ahead and the vector kernels.
//
// The generator is s' = s * 214013 + 2531011 (mod 2^32), and byte n of a fill is bits 16..23 of
// the state after n + 1 steps. k steps compose to one affine map s -> A_k * s + C_k, so a kernel
// keeps one state per vector lane, each a fixed number of positions apart, and moves every lane a
// whole block ahead with one multiply and one add.
#pragma once

#include <cstddef>
#include <cstdint>

namespace detail {

constexpr std::uint32_t RandomMultiplier = 214013u;
constexpr std::uint32_t RandomIncrement = 2531011u;

struct RandomJump {
    std::uint32_t multiplier;
    std::uint32_t increment;
};

constexpr std::uint32_t ApplyJump(RandomJump jump, std::uint32_t state) {
    return state * jump.multiplier + jump.increment;
}

// The map of steps generator steps, by squaring: O(log steps).
constexpr RandomJump RandomJumpOf(std::uint64_t steps) {
    RandomJump result{1u, 0u};
    RandomJump power{RandomMultiplier, RandomIncrement};
    while (steps != 0) {
        if ((steps & 1u) != 0) {
            result = {result.multiplier * power.multiplier,
                      result.increment * power.multiplier + power.increment};
        }
        power = {power.multiplier * power.multiplier,
                 power.increment * power.multiplier + power.increment};
        steps >>= 1;
    }
    return result;
}

// The kernels turn four vectors of lane states into one block of bytes with 128-bit-wide packs:
// block byte 16k + 4v + i comes from lane 4k + i of vector v. Fills lanes[v * lanesPerVector +
// lane] with the state that gives that byte, for the block that starts at state.
void LayOutLaneStates(std::uint32_t state, std::uint32_t* lanes, std::size_t lanesPerVector);

constexpr std::size_t Sse2BlockBytes = 16;
constexpr std::size_t Avx2BlockBytes = 32;
constexpr std::size_t Avx512BlockBytes = 64;

// Each fills blocks whole blocks of out with the bytes that follow state; the caller moves the
// state on. Only call a kernel whose instructions the processor supports.
void FillRandomBlocksSse2(std::uint8_t* out, std::size_t blocks, std::uint32_t state);
void FillRandomBlocksAvx2(std::uint8_t* out, std::size_t blocks, std::uint32_t state);
void FillRandomBlocksAvx512(std::uint8_t* out, std::size_t blocks, std::uint32_t state);

} // namespace detail
