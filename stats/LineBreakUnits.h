#pragma once
// The line-break searches of each vector unit, behind the choice in LineBreaks.cpp.
#include <cstddef>
#include <cstdint>

#define KALVERO_LINE_BREAK_UNIT(unit)                                              \
    namespace unit {                                                               \
    uint64_t CountLineEnds(const unsigned char* in, size_t n, bool crBefore);      \
    size_t FindLineBreak(const unsigned char* in, size_t n);                       \
    size_t FindLastLineBreak(const unsigned char* in, size_t n);                   \
    }

KALVERO_LINE_BREAK_UNIT(plain_unit)
#if defined(__x86_64__)
KALVERO_LINE_BREAK_UNIT(sse2_unit)
KALVERO_LINE_BREAK_UNIT(avx2_unit)
#endif
#undef KALVERO_LINE_BREAK_UNIT
