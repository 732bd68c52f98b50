#include "zip/ZANameDecoding.h"

#include <zlib.h>

#include "platform/codepage.h"
#include "zip/ZARecords.h"

namespace {

bool IsContinuation(uint8_t b) { return b >= 0x80 && b <= 0xBF; }

// Length of the well-formed sequence at i, or 0.
size_t SequenceLength(std::string_view s, size_t i) {
    const auto b0 = static_cast<uint8_t>(s[i]);
    auto at = [&](size_t k) -> int {
        return i + k < s.size() ? static_cast<uint8_t>(s[i + k]) : -1;
    };
    auto cont = [&](size_t k) {
        const int b = at(k);
        return b >= 0 && IsContinuation(static_cast<uint8_t>(b));
    };
    auto within = [&](size_t k, int lo, int hi) {
        const int b = at(k);
        return b >= lo && b <= hi;
    };
    if (b0 <= 0x7F) return 1;
    if (b0 >= 0xC2 && b0 <= 0xDF) return cont(1) ? 2 : 0;
    if (b0 == 0xE0) return within(1, 0xA0, 0xBF) && cont(2) ? 3 : 0;
    if (b0 >= 0xE1 && b0 <= 0xEF) return cont(1) && cont(2) ? 3 : 0;
    if (b0 == 0xF0) return within(1, 0x90, 0xBF) && cont(2) && cont(3) ? 4 : 0;
    if (b0 >= 0xF1 && b0 <= 0xF3) return cont(1) && cont(2) && cont(3) ? 4 : 0;
    if (b0 == 0xF4) return within(1, 0x80, 0x8F) && cont(2) && cont(3) ? 4 : 0;
    return 0;
}

// Decodes bytes that IsUtf8Name accepted.
ZAString DecodeUtf8(std::string_view s) {
    ZAString out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        const size_t len = SequenceLength(s, i);
        auto bits = [&](size_t k) { return static_cast<uint32_t>(s[i + k]) & 0x3F; };
        const auto b0 = static_cast<uint32_t>(static_cast<uint8_t>(s[i]));
        uint32_t cp;
        switch (len) {
            case 2: cp = ((b0 & 0x1F) << 6) | bits(1); break;
            case 3: cp = ((b0 & 0x0F) << 12) | (bits(1) << 6) | bits(2); break;
            case 4: cp = ((b0 & 0x07) << 18) | (bits(1) << 12) | (bits(2) << 6) | bits(3); break;
            default: cp = b0; break;
        }
        AppendUtf16(out, cp);
        i += len ? len : 1;
    }
    return out;
}

constexpr int kHostUnix = 3;
constexpr int kHostMacOS = 19;
constexpr uint8_t kUnicodePathVersion = 1;

bool TakesOemStep(bool OEMFileNames, uint16_t genPurposeFlag) {
    return OEMFileNames && (genPurposeFlag & ZA_FLAG_UTF8_NAME) == 0;
}

}  // namespace

bool IsUtf8Name(std::string_view bytes) {
    bool high = false;
    size_t i = 0;
    while (i < bytes.size()) {
        const size_t len = SequenceLength(bytes, i);
        if (len == 0) return false;
        if (len > 1) high = true;
        i += len;
    }
    return high;
}

ZAString DecodeRawName(std::string_view bytes) {
    if (IsUtf8Name(bytes)) return DecodeUtf8(bytes);
    return platform::Cp1252ToUtf16(bytes);
}

ZAString DecodeCentralDirName(std::string bytes, bool OEMFileNames, uint16_t genPurposeFlag,
                              uint16_t VersionMadeBy) {
    const int host = VersionMadeBy >> 8;
    if ((host == kHostUnix || host == kHostMacOS) && IsUtf8Name(bytes)) return DecodeUtf8(bytes);
    if (TakesOemStep(OEMFileNames, genPurposeFlag)) platform::OemToAnsiInPlace(bytes);
    return DecodeRawName(bytes);
}

ZAString DecodeLocalHeaderName(std::string bytes, bool OEMFileNames, uint16_t genPurposeFlag) {
    if (TakesOemStep(OEMFileNames, genPurposeFlag)) platform::OemToAnsiInPlace(bytes);
    const size_t zero = bytes.find('\0');
    if (zero != std::string::npos) bytes.resize(zero);
    return platform::Cp1252ToUtf16(bytes);
}

bool DecodeUnicodePathBlock(std::span<const uint8_t> Data, std::string_view RawName,
                            ZAString& Name) {
    if (Data.size() < 5 || Data[0] != kUnicodePathVersion) return false;
    const uint32_t stored = ZALoad32(Data.data() + 1);
    const uint32_t actual = static_cast<uint32_t>(
        crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(RawName.data()),
              static_cast<uInt>(RawName.size())));
    if (stored != actual) return false;
    const std::string_view utf8(reinterpret_cast<const char*>(Data.data() + 5), Data.size() - 5);
    for (size_t i = 0; i < utf8.size(); i += SequenceLength(utf8, i))
        if (SequenceLength(utf8, i) == 0) return false;
    Name = DecodeUtf8(utf8);
    return true;
}
