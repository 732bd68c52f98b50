#include "LineBreaks.h"

#include "LineBreakUnits.h"

namespace plain_unit {
namespace {

void BreakMasks(const unsigned char* block, uint64_t& cr, uint64_t& lf) {
    cr = 0;
    lf = 0;
    for (unsigned i = 0; i < 64; ++i) {
        cr |= static_cast<uint64_t>(block[i] == '\r') << i;
        lf |= static_cast<uint64_t>(block[i] == '\n') << i;
    }
}

#include "LineBreakBlocks.inc"

}  // namespace

uint64_t CountLineEnds(const unsigned char* in, size_t n, bool crBefore) { return CountLineEndsIn(in, n, crBefore); }
size_t FindLineBreak(const unsigned char* in, size_t n) { return FindLineBreakIn(in, n); }
size_t FindLastLineBreak(const unsigned char* in, size_t n) { return FindLastLineBreakIn(in, n); }

}  // namespace plain_unit

namespace {

const unsigned char* Bytes(std::string_view s) { return reinterpret_cast<const unsigned char*>(s.data()); }

}  // namespace

TVectorUnit BestVectorUnit() {
#if defined(__x86_64__)
    static const TVectorUnit best = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt")
                                        ? TVectorUnit::Avx2
                                        : TVectorUnit::Sse2;
    return best;
#else
    return TVectorUnit::None;
#endif
}

#if defined(__x86_64__)
#define KALVERO_DISPATCH(call)                              \
    switch (unit) {                                         \
        case TVectorUnit::Avx2: return avx2_unit::call;     \
        case TVectorUnit::Sse2: return sse2_unit::call;     \
        default: return plain_unit::call;                   \
    }
#else
#define KALVERO_DISPATCH(call) return plain_unit::call;
#endif

uint64_t CountLineEnds(std::string_view bytes, bool crBefore, TVectorUnit unit) {
    KALVERO_DISPATCH(CountLineEnds(Bytes(bytes), bytes.size(), crBefore))
}

size_t FindLineBreak(std::string_view bytes, TVectorUnit unit) {
    KALVERO_DISPATCH(FindLineBreak(Bytes(bytes), bytes.size()))
}

size_t FindLastLineBreak(std::string_view bytes, TVectorUnit unit) {
    KALVERO_DISPATCH(FindLastLineBreak(Bytes(bytes), bytes.size()))
}
