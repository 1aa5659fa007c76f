#include "engine/random_fill_kernels.h"

#if defined(__x86_64__)
#include <immintrin.h>

namespace {

// SSE2 has no 32-bit low multiply: multiply the even and the odd lanes as 64-bit products and
// put their low halves back together.
__attribute__((target("sse2"))) inline __m128i MultiplyLow(__m128i values, __m128i multiplier) {
    const __m128i even = _mm_mul_epu32(values, multiplier);
    const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(values, 32), multiplier);
    return _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                              _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
}

} // namespace

__attribute__((target("sse2"))) void
detail::FillRandomBlocksSse2(std::uint8_t* out, std::size_t blocks, std::uint32_t state) {
    constexpr std::size_t lanes = Sse2BlockBytes / 4;
    std::uint32_t initial[4 * lanes];
    LayOutLaneStates(state, initial, lanes);
    __m128i s0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(initial));
    __m128i s1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(initial + lanes));
    __m128i s2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(initial + 2 * lanes));
    __m128i s3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(initial + 3 * lanes));

    constexpr RandomJump jump = RandomJumpOf(Sse2BlockBytes);
    const __m128i multiplier = _mm_set1_epi32(static_cast<int>(jump.multiplier));
    const __m128i increment = _mm_set1_epi32(static_cast<int>(jump.increment));
    const __m128i lowByte = _mm_set1_epi16(0xFF);
    for (std::size_t block = 0; block < blocks; ++block) {
        // Bits 16..31 of each state survive the signed pack unchanged; the mask keeps 16..23.
        const __m128i first = _mm_packs_epi32(_mm_srai_epi32(s0, 16), _mm_srai_epi32(s1, 16));
        const __m128i second = _mm_packs_epi32(_mm_srai_epi32(s2, 16), _mm_srai_epi32(s3, 16));
        const __m128i bytes =
            _mm_packus_epi16(_mm_and_si128(first, lowByte), _mm_and_si128(second, lowByte));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + block * Sse2BlockBytes), bytes);
        s0 = _mm_add_epi32(MultiplyLow(s0, multiplier), increment);
        s1 = _mm_add_epi32(MultiplyLow(s1, multiplier), increment);
        s2 = _mm_add_epi32(MultiplyLow(s2, multiplier), increment);
        s3 = _mm_add_epi32(MultiplyLow(s3, multiplier), increment);
    }
}
#endif
