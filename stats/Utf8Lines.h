#pragma once
// The two passes of a text load at memory speed: a strict UTF-8 check of all bytes, and the
// cutting of the text into lines. The check is simdjson's validator, chosen at run time for
// the processor; the cutting uses the widest vector unit the processor offers (AVX2, else
// SSE2) to find the line controls.
#include <cstddef>
#include <string_view>

#include "LineStarts.h"

// The vector unit the cutting runs on: none (one byte at a time), SSE2 (16 bytes) or AVX2 (32).
enum class TVectorUnit { None, Sse2, Avx2 };
// The widest unit this processor has.
TVectorUnit BestVectorUnit();

// True when `bytes` are well-formed UTF-8 throughout: no invalid, overlong or truncated
// sequence, no encoded surrogate, nothing above U+10FFFF. NUL bytes are characters here.
bool CheckUtf8(std::string_view bytes);
// The same check one byte or sequence at a time: the plain statement of the rules, which the
// tests hold the fast check to.
bool CheckUtf8OneByOne(std::string_view bytes);

// The lines of a text as the line list keeps them.
struct TCutLines {
    // Start of every line; with one more entry behind the last line: where a next line would
    // start (behind the last line's break, or one behind its end when it has none).
    TLineStarts starts;
    // Whether the break after line i is CR LF (two bytes) rather than one CR or LF.
    TLineBits crLfBreaks;
};

// Cuts `bytes` into lines, positions counted from `base`: CR, LF and CR LF end a line
// (LF CR is two breaks), a break at the very end adds no empty line, and a NUL ends the
// text.
void CutLines(std::string_view bytes, size_t base, TCutLines& lines, TVectorUnit unit = BestVectorUnit());

// Both passes together, piece by piece, so that each piece is checked and cut while it is
// in the processor's cache: true and the lines when the bytes are well-formed, else false
// (the lines are then of no use). Pieces end only where a sequence starts.
bool CheckAndCutUtf8(std::string_view bytes, size_t base, TCutLines& lines, size_t pieceSize = 128 * 1024,
                     TVectorUnit unit = BestVectorUnit());
