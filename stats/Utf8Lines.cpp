#include "Utf8Lines.h"

#include <cstdint>

#include <simdjson.h>
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
bool CheckFrom(const unsigned char* in, size_t n, size_t i) {
    while (i < n) {
        if (in[i] < 0x80) {
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
    LineCutter(TCutLines& lines, size_t base) : lines_(lines), base_(base) {
        lines_.starts.Clear();
        lines_.crLfBreaks.Clear();
    }
    bool Finished() const { return finished_; }

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

// Sees the controls of in[i..n), which lie at `offset` + their index in the text; false
// once a NUL ended the text.
bool CutFrom(const unsigned char* in, size_t n, size_t i, size_t offset, LineCutter& cutter) {
    for (; i < n; ++i) {
        if (IsLineControl(in[i]) && !cutter.Control(in[i], offset + i)) return false;
    }
    return true;
}

#if KALVERO_X86_VECTORS

// Blocks of 32 bytes are searched for CR, LF and NUL at once; only those bytes are looked at.
__attribute__((target("avx2"))) bool CutAvx2(const unsigned char* in, size_t n, size_t offset, LineCutter& cutter) {
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
            if (!cutter.Control(in[pos], offset + pos)) return false;
        }
    }
    return CutFrom(in, n, i, offset, cutter);
}

bool CutSse2(const unsigned char* in, size_t n, size_t offset, LineCutter& cutter) {
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
            if (!cutter.Control(in[pos], offset + pos)) return false;
        }
    }
    return CutFrom(in, n, i, offset, cutter);
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

bool CheckUtf8(std::string_view bytes) {
    // simdjson picks the widest validator this processor runs (AVX-512, AVX2, SSE4.2 or a
    // portable one) when it is first called.
    return simdjson::validate_utf8(bytes.data(), bytes.size());
}

bool CheckUtf8OneByOne(std::string_view bytes) { return CheckFrom(Bytes(bytes), bytes.size(), 0); }

namespace {

// Cuts the piece at `offset` of the text; false once a NUL ended the text.
bool CutPiece(std::string_view piece, size_t offset, LineCutter& cutter, TVectorUnit unit) {
    const unsigned char* in = Bytes(piece);
    switch (unit) {
#if KALVERO_X86_VECTORS
        case TVectorUnit::Avx2: return CutAvx2(in, piece.size(), offset, cutter);
        case TVectorUnit::Sse2: return CutSse2(in, piece.size(), offset, cutter);
#endif
        default: return CutFrom(in, piece.size(), 0, offset, cutter);
    }
}

// The end of a piece of about `size` bytes from `from`, at the start of a sequence: moved
// back, or forward when the piece is too short for that. Where more than three continuation
// bytes follow each other any end will do: the bytes are no UTF-8 on either side.
size_t PieceEnd(std::string_view bytes, size_t from, size_t size) {
    if (bytes.size() - from <= size) return bytes.size();
    const auto continuationAt = [&](size_t i) { return i < bytes.size() && IsContinuation(static_cast<unsigned char>(bytes[i])); };
    size_t end = from + size;
    for (int back = 0; back < 3 && end > from + 1 && continuationAt(end); ++back) --end;
    for (int ahead = 0; ahead < 3 && continuationAt(end); ++ahead) ++end;
    return end;
}

}  // namespace

void CutLines(std::string_view bytes, size_t base, TCutLines& lines, TVectorUnit unit) {
    LineCutter cutter(lines, base);
    if (CutPiece(bytes, 0, cutter, unit)) cutter.Finish(bytes.size());
}

bool CheckAndCutUtf8(std::string_view bytes, size_t base, TCutLines& lines, size_t pieceSize, TVectorUnit unit) {
    LineCutter cutter(lines, base);
    for (size_t from = 0; from < bytes.size();) {
        const size_t end = PieceEnd(bytes, from, pieceSize);
        const std::string_view piece = bytes.substr(from, end - from);
        if (!CheckUtf8(piece)) return false;
        // Behind a NUL, which ends the text, the bytes are only checked.
        if (!cutter.Finished()) CutPiece(piece, from, cutter, unit);
        from = end;
    }
    cutter.Finish(bytes.size());
    return true;
}
