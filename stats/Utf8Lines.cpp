#include "Utf8Lines.h"

#include <cstdint>
#if defined(__x86_64__)
#include <immintrin.h>
#define KALVERO_X86_VECTORS 1
#endif

namespace {

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The length of the well-formed sequence that starts with the non-ASCII byte s[0], or 0.
size_t SequenceLength(const unsigned char* s, size_t left) {
    const unsigned char b0 = s[0];
    if (b0 >= 0xC2 && b0 <= 0xDF) return left >= 2 && IsContinuation(s[1]) ? 2 : 0;
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (left < 3 || !IsContinuation(s[1]) || !IsContinuation(s[2])) return 0;
        if (b0 == 0xE0 && s[1] < 0xA0) return 0;  // overlong
        if (b0 == 0xED && s[1] > 0x9F) return 0;  // surrogate
        return 3;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        if (left < 4 || !IsContinuation(s[1]) || !IsContinuation(s[2]) || !IsContinuation(s[3])) {
            return 0;
        }
        if (b0 == 0xF0 && s[1] < 0x90) return 0;  // overlong
        if (b0 == 0xF4 && s[1] > 0x8F) return 0;  // beyond U+10FFFF
        return 4;
    }
    return 0;
}

// Checks from `i` to the end one byte or sequence at a time.
bool CheckFrom(const unsigned char* in, size_t n, size_t i, size_t& breaks) {
    while (i < n) {
        const unsigned char b = in[i];
        if (b < 0x80) {
            breaks += (b == '\r' || b == '\n') ? 1 : 0;
            ++i;
            continue;
        }
        const size_t len = SequenceLength(in + i, n - i);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

// Follows the breaks of a text and records its lines.
class LineCutter {
public:
    LineCutter(TCutLines& lines, size_t base, size_t expectedLines) : lines_(lines), base_(base) {
        lines_.starts.Clear();
        lines_.crLfBreaks.Clear();
        lines_.starts.Reserve(expectedLines + 1);
        lines_.crLfBreaks.Reserve(expectedLines);
    }

    // Sees the CR, LF or NUL byte `c` at `pos`; false at a NUL, which ends the text.
    bool Control(unsigned char c, size_t pos) {
        if (c == '\r') {
            EndLine();
            lineStart_ = pos + 1;
            crAt_ = pos;
        } else if (c == '\n') {
            if (crAt_ + 1 == pos && lines_.crLfBreaks.Size() > 0) {
                lines_.crLfBreaks.Set(lines_.crLfBreaks.Size() - 1, true);
            } else {
                EndLine();
            }
            lineStart_ = pos + 1;
        } else if (c == 0) {
            Finish(pos);
            return false;
        }
        return true;
    }

    // The text ends at `end`: a last line without a break counts, with a break of one byte
    // thought behind it.
    void Finish(size_t end) {
        if (finished_) return;
        finished_ = true;
        size_t next = lineStart_;
        if (lineStart_ < end) {
            EndLine();
            next = end + 1;
        }
        if (!lines_.starts.Empty()) lines_.starts.Push(base_ + next);
    }

private:
    void EndLine() {
        lines_.starts.Push(base_ + lineStart_);
        lines_.crLfBreaks.Push(false);
    }

    TCutLines& lines_;
    size_t base_;
    size_t lineStart_ = 0;
    size_t crAt_ = SIZE_MAX - 1;
    bool finished_ = false;
};

bool IsLineControl(unsigned char b) { return b == '\r' || b == '\n' || b == 0; }

void CutFrom(const unsigned char* in, size_t n, size_t i, LineCutter& cutter) {
    for (; i < n; ++i) {
        if (IsLineControl(in[i]) && !cutter.Control(in[i], i)) return;
    }
    cutter.Finish(n);
}

#if KALVERO_X86_VECTORS

// Runs of 32 ASCII bytes are passed at once, counting their breaks; a non-ASCII byte is
// checked with the sequence it starts, and the next run begins behind that sequence.
__attribute__((target("avx2,popcnt"))) bool CheckAvx2(const unsigned char* in, size_t n, size_t& breaks) {
    const __m256i cr = _mm256_set1_epi8('\r');
    const __m256i lf = _mm256_set1_epi8('\n');
    size_t i = 0;
    while (i + 32 <= n) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i));
        const auto high = static_cast<uint32_t>(_mm256_movemask_epi8(v));
        auto br = static_cast<uint32_t>(
            _mm256_movemask_epi8(_mm256_or_si256(_mm256_cmpeq_epi8(v, cr), _mm256_cmpeq_epi8(v, lf))));
        if (high == 0) {
            breaks += static_cast<size_t>(__builtin_popcount(br));
            i += 32;
            continue;
        }
        const auto ascii = static_cast<unsigned>(__builtin_ctz(high));
        br &= (uint32_t{1} << ascii) - 1;
        breaks += static_cast<size_t>(__builtin_popcount(br));
        i += ascii;
        const size_t len = SequenceLength(in + i, n - i);
        if (len == 0) return false;
        i += len;
    }
    return CheckFrom(in, n, i, breaks);
}

bool CheckSse2(const unsigned char* in, size_t n, size_t& breaks) {
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    size_t i = 0;
    while (i + 16 <= n) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const auto high = static_cast<uint32_t>(_mm_movemask_epi8(v));
        auto br = static_cast<uint32_t>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf))));
        if (high == 0) {
            breaks += static_cast<size_t>(__builtin_popcount(br));
            i += 16;
            continue;
        }
        const auto ascii = static_cast<unsigned>(__builtin_ctz(high));
        br &= (uint32_t{1} << ascii) - 1;
        breaks += static_cast<size_t>(__builtin_popcount(br));
        i += ascii;
        const size_t len = SequenceLength(in + i, n - i);
        if (len == 0) return false;
        i += len;
    }
    return CheckFrom(in, n, i, breaks);
}

// Blocks of 32 bytes are searched for CR, LF and NUL at once; only those bytes are looked at.
__attribute__((target("avx2"))) void CutAvx2(const unsigned char* in, size_t n, LineCutter& cutter) {
    const __m256i cr = _mm256_set1_epi8('\r');
    const __m256i lf = _mm256_set1_epi8('\n');
    const __m256i nul = _mm256_setzero_si256();
    size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i));
        const __m256i hit = _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi8(v, cr), _mm256_cmpeq_epi8(v, lf)),
                                            _mm256_cmpeq_epi8(v, nul));
        for (auto m = static_cast<uint32_t>(_mm256_movemask_epi8(hit)); m != 0; m &= m - 1) {
            const size_t pos = i + static_cast<size_t>(__builtin_ctz(m));
            if (!cutter.Control(in[pos], pos)) return;
        }
    }
    CutFrom(in, n, i, cutter);
}

void CutSse2(const unsigned char* in, size_t n, LineCutter& cutter) {
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i nul = _mm_setzero_si128();
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)),
                                         _mm_cmpeq_epi8(v, nul));
        for (auto m = static_cast<uint32_t>(_mm_movemask_epi8(hit)); m != 0; m &= m - 1) {
            const size_t pos = i + static_cast<size_t>(__builtin_ctz(m));
            if (!cutter.Control(in[pos], pos)) return;
        }
    }
    CutFrom(in, n, i, cutter);
}

#endif

const unsigned char* Bytes(std::string_view s) { return reinterpret_cast<const unsigned char*>(s.data()); }

}  // namespace

TVectorUnit BestVectorUnit() {
#if KALVERO_X86_VECTORS
    static const TVectorUnit best = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt")
                                        ? TVectorUnit::Avx2
                                        : TVectorUnit::Sse2;
    return best;
#else
    return TVectorUnit::None;
#endif
}

bool CheckUtf8(std::string_view bytes, size_t& breaks, TVectorUnit unit) {
    breaks = 0;
    const unsigned char* in = Bytes(bytes);
    switch (unit) {
#if KALVERO_X86_VECTORS
        case TVectorUnit::Avx2: return CheckAvx2(in, bytes.size(), breaks);
        case TVectorUnit::Sse2: return CheckSse2(in, bytes.size(), breaks);
#endif
        default: return CheckFrom(in, bytes.size(), 0, breaks);
    }
}

void CutLines(std::string_view bytes, size_t base, size_t expectedLines, TCutLines& lines, TVectorUnit unit) {
    LineCutter cutter(lines, base, expectedLines);
    const unsigned char* in = Bytes(bytes);
    switch (unit) {
#if KALVERO_X86_VECTORS
        case TVectorUnit::Avx2: CutAvx2(in, bytes.size(), cutter); break;
        case TVectorUnit::Sse2: CutSse2(in, bytes.size(), cutter); break;
#endif
        default: CutFrom(in, bytes.size(), 0, cutter); break;
    }
}
