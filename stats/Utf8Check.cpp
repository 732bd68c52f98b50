#include "Utf8Check.h"

#include <simdjson.h>

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

}  // namespace

bool CheckUtf8(std::string_view bytes) { return simdjson::validate_utf8(bytes.data(), bytes.size()); }

bool CheckUtf8OneByOne(std::string_view bytes) {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    for (size_t i = 0; i < bytes.size();) {
        if (in[i] < 0x80) {
            ++i;
            continue;
        }
        const size_t len = SequenceLength(in + i, bytes.size() - i);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

size_t Utf8PieceEnd(std::string_view bytes, size_t from, size_t size) {
    if (bytes.size() - from <= size) return bytes.size();
    const auto continuationAt = [&](size_t i) {
        return i < bytes.size() && IsContinuation(static_cast<unsigned char>(bytes[i]));
    };
    size_t end = from + size;
    for (int back = 0; back < 3 && end > from + 1 && continuationAt(end); ++back) --end;
    for (int ahead = 0; ahead < 3 && continuationAt(end); ++ahead) ++end;
    return end;
}
