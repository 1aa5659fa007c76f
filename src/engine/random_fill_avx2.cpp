#include "engine/random_fill_kernels.h"

#if defined(__x86_64__)
#include <immintrin.h>

// Keeps every vector in a register: the stack of a Windows thread is only 16-byte aligned, and the
// compiler's spills of 32-byte vectors assume more.
__attribute__((target("avx2"))) void
detail::FillRandomBlocksAvx2(std::uint8_t* out, std::size_t blocks, std::uint32_t state) {
    constexpr std::size_t lanes = Avx2BlockBytes / 4;
    std::uint32_t initial[4 * lanes];
    LayOutLaneStates(state, initial, lanes);
    __m256i s0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(initial));
    __m256i s1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(initial + lanes));
    __m256i s2 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(initial + 2 * lanes));
    __m256i s3 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(initial + 3 * lanes));

    constexpr RandomJump jump = RandomJumpOf(Avx2BlockBytes);
    const __m256i multiplier = _mm256_set1_epi32(static_cast<int>(jump.multiplier));
    const __m256i increment = _mm256_set1_epi32(static_cast<int>(jump.increment));
    const __m256i lowByte = _mm256_set1_epi16(0xFF);
    for (std::size_t block = 0; block < blocks; ++block) {
        const __m256i first =
            _mm256_packs_epi32(_mm256_srai_epi32(s0, 16), _mm256_srai_epi32(s1, 16));
        const __m256i second =
            _mm256_packs_epi32(_mm256_srai_epi32(s2, 16), _mm256_srai_epi32(s3, 16));
        const __m256i bytes = _mm256_packus_epi16(_mm256_and_si256(first, lowByte),
                                                  _mm256_and_si256(second, lowByte));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + block * Avx2BlockBytes), bytes);
        s0 = _mm256_add_epi32(_mm256_mullo_epi32(s0, multiplier), increment);
        s1 = _mm256_add_epi32(_mm256_mullo_epi32(s1, multiplier), increment);
        s2 = _mm256_add_epi32(_mm256_mullo_epi32(s2, multiplier), increment);
        s3 = _mm256_add_epi32(_mm256_mullo_epi32(s3, multiplier), increment);
    }
}
#endif
