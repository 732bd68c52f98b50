#include "ZATypes.h"

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(cp));
    }
}

ZAString Utf8ToUtf16(std::string_view s) {
    ZAString out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        const auto b0 = static_cast<unsigned char>(s[i]);
        char32_t cp = 0xFFFD;
        size_t len = 1;
        auto cont = [&](size_t k) {
            return i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
        };
        auto bits = [&](size_t k) { return static_cast<char32_t>(s[i + k] & 0x3F); };
        if (b0 < 0x80) {
            cp = b0;
        } else if (b0 >= 0xC2 && b0 < 0xE0 && cont(1)) {
            cp = ((b0 & 0x1Fu) << 6) | bits(1);
            len = 2;
        } else if (b0 >= 0xE0 && b0 < 0xF0 && cont(1) && cont(2)) {
            const char32_t v = ((b0 & 0x0Fu) << 12) | (bits(1) << 6) | bits(2);
            if (v >= 0x800 && (v < 0xD800 || v > 0xDFFF)) {
                cp = v;
                len = 3;
            }
        } else if (b0 >= 0xF0 && b0 < 0xF5 && cont(1) && cont(2) && cont(3)) {
            const char32_t v = ((b0 & 0x07u) << 18) | (bits(1) << 12) | (bits(2) << 6) | bits(3);
            if (v >= 0x10000 && v <= 0x10FFFF) {
                cp = v;
                len = 4;
            }
        }
        AppendUtf16(out, cp);
        i += len;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t cp = s[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}
