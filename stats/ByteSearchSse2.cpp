// The byte searches with SSE2, which every x86-64 processor has.
#include "ByteSearchUnits.h"

#if defined(__x86_64__)
#include <emmintrin.h>

namespace sse2_unit {
namespace {

uint64_t EqualMask(const unsigned char* block, unsigned char c) {
    const __m128i wanted = _mm_set1_epi8(static_cast<char>(c));
    uint64_t mask = 0;
    for (unsigned part = 0; part < 4; ++part) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * part));
        mask |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, wanted)))) << (16 * part);
    }
    return mask;
}

#include "ByteSearchBlocks.inc"

}  // namespace

KALVERO_BYTE_SEARCH_ENTRIES

}  // namespace sse2_unit
#endif
