#include "Utf8Lines.h"

#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr unsigned char kLastControlOfInterest = 0x0D;  // NUL, LF and CR are at or below it

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

class LineSplitter {
public:
    explicit LineSplitter(std::vector<TLineSpan>& spans) : spans_(spans) {}

    // Sees the control character `c` at position `pos`.
    void Control(unsigned char c, qsizetype pos) {
        if (nulAt_ >= 0) return;
        if (c == '\r') {
            spans_.push_back({lineStart_, pos - lineStart_});
            lineStart_ = pos + 1;
            crAt_ = pos;
        } else if (c == '\n') {
            if (crAt_ != pos - 1) spans_.push_back({lineStart_, pos - lineStart_});
            lineStart_ = pos + 1;
        } else if (c == 0) {
            nulAt_ = pos;
        }
    }

    // The text ends at `end` (or at its NUL): a last line without a break counts.
    qsizetype Finish(qsizetype end) {
        if (nulAt_ >= 0) end = nulAt_;
        if (lineStart_ < end) spans_.push_back({lineStart_, end - lineStart_});
        return end;
    }

private:
    std::vector<TLineSpan>& spans_;
    qsizetype lineStart_ = 0;
    qsizetype crAt_ = -2;
    qsizetype nulAt_ = -1;
};

// An upper bound of the number of lines: one more than the CR and LF bytes. Counting first
// lets the line table be allocated once instead of growing (and being copied) many times.
size_t MaxLineCount(const unsigned char* in, size_t n) {
    size_t breaks = 0;
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
        breaks += static_cast<size_t>(__builtin_popcount(static_cast<unsigned>(mask)));
    }
#endif
    for (; i < n; ++i) breaks += (in[i] == '\r' || in[i] == '\n') ? 1 : 0;
    return breaks + 1;
}

}  // namespace

qsizetype SplitUtf8Lines(std::string_view bytes, std::vector<TLineSpan>& spans) {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    spans.clear();
    spans.reserve(MaxLineCount(in, n));
    LineSplitter lines(spans);

    size_t i = 0;
    while (i < n) {
#if defined(__SSE2__)
        // Sixteen ASCII bytes without NUL, LF or CR are passed at once. Bytes of 0x80 and
        // above are negative as signed bytes, so one comparison finds both kinds.
        if (n - i >= 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
            const __m128i special = _mm_cmplt_epi8(v, _mm_set1_epi8(kLastControlOfInterest + 1));
            if (_mm_movemask_epi8(special) == 0) {
                i += 16;
                continue;
            }
        }
#endif
        const unsigned char b = in[i];
        if (b < 0x80) {
            if (b <= kLastControlOfInterest) lines.Control(b, static_cast<qsizetype>(i));
            ++i;
            continue;
        }
        const size_t len = SequenceLength(in + i, n - i);
        if (len == 0) {
            spans.clear();
            return -1;
        }
        i += len;
    }
    return lines.Finish(static_cast<qsizetype>(n));
}
