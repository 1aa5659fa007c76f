#include "engine/random_fill_kernels.h"

#if defined(__x86_64__)
#include <immintrin.h>

namespace {

// The unmasked shift's header form trips GCC 12's uninitialised-value warning; with every lane
// selected the masked form is the same instruction.
__attribute__((target("avx512f"))) inline __m512i HighHalves(__m512i states) {
    return _mm512_maskz_srai_epi32(static_cast<__mmask16>(0xFFFF), states, 16);
}

} // namespace

// Like the AVX2 kernel, everything stays in registers; the packs need AVX-512BW.
__attribute__((target("avx512f,avx512bw"))) void
detail::FillRandomBlocksAvx512(std::uint8_t* out, std::size_t blocks, std::uint32_t state) {
    constexpr std::size_t lanes = Avx512BlockBytes / 4;
    std::uint32_t initial[4 * lanes];
    LayOutLaneStates(state, initial, lanes);
    __m512i s0 = _mm512_loadu_si512(initial);
    __m512i s1 = _mm512_loadu_si512(initial + lanes);
    __m512i s2 = _mm512_loadu_si512(initial + 2 * lanes);
    __m512i s3 = _mm512_loadu_si512(initial + 3 * lanes);

    constexpr RandomJump jump = RandomJumpOf(Avx512BlockBytes);
    const __m512i multiplier = _mm512_set1_epi32(static_cast<int>(jump.multiplier));
    const __m512i increment = _mm512_set1_epi32(static_cast<int>(jump.increment));
    const __m512i lowByte = _mm512_set1_epi16(0xFF);
    for (std::size_t block = 0; block < blocks; ++block) {
        const __m512i first = _mm512_packs_epi32(HighHalves(s0), HighHalves(s1));
        const __m512i second = _mm512_packs_epi32(HighHalves(s2), HighHalves(s3));
        const __m512i bytes = _mm512_packus_epi16(_mm512_and_si512(first, lowByte),
                                                  _mm512_and_si512(second, lowByte));
        _mm512_storeu_si512(out + block * Avx512BlockBytes, bytes);
        s0 = _mm512_add_epi32(_mm512_mullo_epi32(s0, multiplier), increment);
        s1 = _mm512_add_epi32(_mm512_mullo_epi32(s1, multiplier), increment);
        s2 = _mm512_add_epi32(_mm512_mullo_epi32(s2, multiplier), increment);
        s3 = _mm512_add_epi32(_mm512_mullo_epi32(s3, multiplier), increment);
    }
}
#endif
