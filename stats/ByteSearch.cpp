#include "ByteSearch.h"

#include "ByteSearchUnits.h"

namespace plain_unit {
namespace {

uint64_t EqualMask(const unsigned char* block, unsigned char c) {
    uint64_t mask = 0;
    for (unsigned i = 0; i < 64; ++i) mask |= static_cast<uint64_t>(block[i] == c) << i;
    return mask;
}

#include "ByteSearchBlocks.inc"

}  // namespace

KALVERO_BYTE_SEARCH_ENTRIES

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
#define KALVERO_DISPATCH(call)                          \
    switch (unit) {                                     \
        case TVectorUnit::Avx2: return avx2_unit::call; \
        case TVectorUnit::Sse2: return sse2_unit::call; \
        default: return plain_unit::call;               \
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

size_t FindBytes(std::string_view bytes, std::string_view needle, size_t pivot, TVectorUnit unit) {
    if (needle.empty()) return 0;
    if (pivot >= needle.size()) pivot = needle.size() - 1;
    KALVERO_DISPATCH(FindBytes(Bytes(bytes), bytes.size(), Bytes(needle), needle.size(), pivot))
}
