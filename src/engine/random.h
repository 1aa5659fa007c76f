// The per-thread pseudo-random source of fill bytes and name letters.
#pragma once

#include <cstddef>
#include <cstdint>

// Advances the calling thread's generator (every thread starts at state 1) and returns 0..32767.
int NextRandom();

// Fills count bytes with the low byte of one NextRandom draw each, in order, leaving the thread's
// state exactly where count calls of NextRandom would.
void FillRandom(std::uint8_t* buffer, std::size_t count);

// The byte-by-byte reference fill that FillRandom must match.
void FillRandomScalar(std::uint8_t* buffer, std::size_t count);

namespace detail {
// The calling thread's generator state; only the fill implementations touch it directly.
std::uint32_t& ThreadRandomState();
} // namespace detail
