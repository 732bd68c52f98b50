// The line-break searches with SSE2, which every x86-64 processor has.
#include "LineBreakUnits.h"

#if defined(__x86_64__)
#include <emmintrin.h>

namespace sse2_unit {
namespace {

void BreakMasks(const unsigned char* block, uint64_t& cr, uint64_t& lf) {
    const __m128i wantedCr = _mm_set1_epi8('\r');
    const __m128i wantedLf = _mm_set1_epi8('\n');
    cr = 0;
    lf = 0;
    for (unsigned part = 0; part < 4; ++part) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * part));
        cr |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, wantedCr)))) << (16 * part);
        lf |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, wantedLf)))) << (16 * part);
    }
}

#include "LineBreakBlocks.inc"

}  // namespace

uint64_t CountLineEnds(const unsigned char* in, size_t n, bool crBefore) { return CountLineEndsIn(in, n, crBefore); }
size_t FindLineBreak(const unsigned char* in, size_t n) { return FindLineBreakIn(in, n); }
size_t FindLastLineBreak(const unsigned char* in, size_t n) { return FindLastLineBreakIn(in, n); }

}  // namespace sse2_unit
#endif
