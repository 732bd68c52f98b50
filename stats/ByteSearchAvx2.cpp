// The byte searches with AVX2; this file alone is compiled for AVX2, and it runs only where
// the processor has it.
#include "ByteSearchUnits.h"

#if defined(__x86_64__)
#include <immintrin.h>

namespace avx2_unit {
namespace {

uint64_t EqualMask(const unsigned char* block, unsigned char c) {
    const __m256i wanted = _mm256_set1_epi8(static_cast<char>(c));
    const auto half = [&](const unsigned char* at) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
        return static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, wanted))));
    };
    return half(block) | half(block + 32) << 32;
}

#include "ByteSearchBlocks.inc"

}  // namespace

KALVERO_BYTE_SEARCH_ENTRIES

}  // namespace avx2_unit
#endif
