#pragma once
// The byte searches of each vector unit, behind the choice in ByteSearch.cpp.
#include <cstddef>
#include <cstdint>

#define KALVERO_BYTE_SEARCH_UNIT(unit)                                                                \
    namespace unit {                                                                                  \
    uint64_t CountLineEnds(const unsigned char* in, size_t n, bool crBefore);                         \
    size_t FindLineBreak(const unsigned char* in, size_t n);                                          \
    size_t FindLastLineBreak(const unsigned char* in, size_t n);                                      \
    size_t FindBytes(const unsigned char* in, size_t n, const unsigned char* needle, size_t m, size_t pivot); \
    }

KALVERO_BYTE_SEARCH_UNIT(plain_unit)
#if defined(__x86_64__)
KALVERO_BYTE_SEARCH_UNIT(sse2_unit)
KALVERO_BYTE_SEARCH_UNIT(avx2_unit)
#endif
#undef KALVERO_BYTE_SEARCH_UNIT

// The entry points of a unit, defined in its file behind the unit's EqualMask and the
// included block searches.
#define KALVERO_BYTE_SEARCH_ENTRIES                                                                  \
    uint64_t CountLineEnds(const unsigned char* in, size_t n, bool crBefore) {                        \
        return CountLineEndsIn(in, n, crBefore);                                                     \
    }                                                                                                \
    size_t FindLineBreak(const unsigned char* in, size_t n) { return FindLineBreakIn(in, n); }       \
    size_t FindLastLineBreak(const unsigned char* in, size_t n) { return FindLastLineBreakIn(in, n); } \
    size_t FindBytes(const unsigned char* in, size_t n, const unsigned char* needle, size_t m, size_t pivot) { \
        return FindBytesIn(in, n, needle, m, pivot);                                                 \
    }
