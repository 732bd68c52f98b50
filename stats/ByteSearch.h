#pragma once
// Searches over a text's bytes, a vector of bytes at a time: for line breaks, and for tags.
// A line ends at a CR, or at an LF that does not follow a CR directly (the LF of CR LF
// belongs to the CR).
#include <cstddef>
#include <cstdint>
#include <string_view>

// The vector unit a search runs on: none (one 64-byte block at a time in plain code), SSE2
// (16 bytes) or AVX2 (32).
enum class TVectorUnit { None, Sse2, Avx2 };
// The widest unit this processor has.
TVectorUnit BestVectorUnit();

// The number of line ends in `bytes`; `crBefore` says that the byte before them is a CR.
uint64_t CountLineEnds(std::string_view bytes, bool crBefore, TVectorUnit unit = BestVectorUnit());
// The index of the first CR or LF in `bytes`, or their size when there is none.
size_t FindLineBreak(std::string_view bytes, TVectorUnit unit = BestVectorUnit());
// The index of the last CR or LF in `bytes`, or npos when there is none.
size_t FindLastLineBreak(std::string_view bytes, TVectorUnit unit = BestVectorUnit());
// The index of the first occurrence of `needle` in `bytes`, or npos. The search looks for
// the needle's first byte together with its byte at `pivot` (below the needle's size), so a
// pivot whose byte seldom stands at that distance behind the first one makes it fast.
size_t FindBytes(std::string_view bytes, std::string_view needle, size_t pivot,
                 TVectorUnit unit = BestVectorUnit());
