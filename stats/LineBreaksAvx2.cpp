// The line-break searches with AVX2; this file alone is compiled for AVX2, and it runs only
// where the processor has it.
#include "LineBreakUnits.h"

#if defined(__x86_64__)
#include <immintrin.h>

namespace avx2_unit {
namespace {

void BreakMasks(const unsigned char* block, uint64_t& cr, uint64_t& lf) {
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block + 32));
    const auto mask = [&](char c) {
        const __m256i wanted = _mm256_set1_epi8(c);
        return static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(low, wanted)))) |
               static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(high, wanted))))
                   << 32;
    };
    cr = mask('\r');
    lf = mask('\n');
}

#include "LineBreakBlocks.inc"

}  // namespace

uint64_t CountLineEnds(const unsigned char* in, size_t n, bool crBefore) { return CountLineEndsIn(in, n, crBefore); }
size_t FindLineBreak(const unsigned char* in, size_t n) { return FindLineBreakIn(in, n); }
size_t FindLastLineBreak(const unsigned char* in, size_t n) { return FindLastLineBreakIn(in, n); }

}  // namespace avx2_unit
#endif
