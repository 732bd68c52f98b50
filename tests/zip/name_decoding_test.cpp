// From raw name bytes to entry names: OEM 850 to ANSI 1252 as Windows converts, UTF-8
// detection, ANSI decoding.
#include <gtest/gtest.h>

#include <string>

#include "platform/codepage.h"
#include "zip/ZANameDecoding.h"
#include "zip/ZARecords.h"

struct NameCase {
    const char* what;
    std::string raw;
    bool oemFileNames;
    uint16_t flags;
    std::u16string central;  // name from a central directory header
    std::u16string local;    // name from a local header when rebuilding
};

class StoredNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(StoredNames, DecodeAsWindowsWould) {
    const NameCase& c = GetParam();
    EXPECT_EQ(DecodeCentralDirName(c.raw, c.oemFileNames, c.flags), c.central) << c.what;
    EXPECT_EQ(DecodeLocalHeaderName(c.raw, c.oemFileNames, c.flags), c.local) << c.what;
}

constexpr uint16_t kUtf8 = ZA_FLAG_UTF8_NAME;

INSTANTIATE_TEST_SUITE_P(
    NameDecoding, StoredNames,
    ::testing::Values(
        NameCase{"OEM u-umlaut", "M\x81ll.txt", true, 0, u"M\u00fcll.txt", u"M\u00fcll.txt"},
        NameCase{"OEM off: 0x81 stays the undefined 1252 byte", "M\x81ll", false, 0,
                 u"M\u0081ll", u"M\u0081ll"},
        NameCase{"UTF-8 flag skips the OEM step", "\xC3\xA4", true, kUtf8, u"\u00e4",
                 u"\u00c3\u00a4"},
        NameCase{"UTF-8 flag, single E4 is not UTF-8: ANSI", "\xE4", true, kUtf8, u"\u00e4",
                 u"\u00e4"},
        NameCase{"no flag, OEM off, UTF-8 bytes are UTF-8 all the same", "\xC3\xA4", false, 0,
                 u"\u00e4", u"\u00c3\u00a4"},
        NameCase{"OEM box drawing and blocks take Windows' best fit",
                 "\xC9\xCD\xBB\xBA\xB0\xDB\xDC\xDF\xC5", true, 0,
                 u"+-+\u00a6\u00a6\u00a6_\u00af+", u"+-+\u00a6\u00a6\u00a6_\u00af+"},
        NameCase{"OEM dotless i, double low line, black square", "\xD5\xF2\xFE", true, 0,
                 u"i=\u00a6", u"i=\u00a6"},
        NameCase{"OEM letters that 1252 has", "\x8E\x99\x9A\xE1\x9F\xD1", true, 0,
                 u"\u00c4\u00d6\u00dc\u00df\u0192\u00d0", u"\u00c4\u00d6\u00dc\u00df\u0192\u00d0"},
        NameCase{"OEM step stops at a zero byte; the local name ends there", std::string("\x81\0\x81", 3),
                 true, 0, std::u16string(u"\u00fc\0\u0081", 3), u"\u00fc"},
        NameCase{"plain ASCII", "Finds/2024.gpx", true, 0, u"Finds/2024.gpx",
                 u"Finds/2024.gpx"},
        NameCase{"four-byte UTF-8 becomes a surrogate pair", "\xF0\x9F\x98\x80", false, kUtf8,
                 u"\U0001F600", u"\u00f0\u0178\u02dc\u20ac"}));

struct Utf8Case {
    std::string bytes;
    bool utf8;
};

class Utf8Detection : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Detection, WellFormedWithAHighByte) {
    EXPECT_EQ(IsUtf8Name(GetParam().bytes), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    NameDecoding, Utf8Detection,
    ::testing::Values(Utf8Case{"", false}, Utf8Case{"ascii only", false},
                      Utf8Case{"\xC2\x80", true}, Utf8Case{"\xC1\xBF", false},
                      Utf8Case{"\xDF\xBF", true}, Utf8Case{"\xE0\xA0\x80", true},
                      Utf8Case{"\xE0\x9F\x80", false}, Utf8Case{"\xED\xA0\x80", true},
                      Utf8Case{"\xEF\xBF\xBF", true}, Utf8Case{"\xF0\x90\x80\x80", true},
                      Utf8Case{"\xF0\x8F\x80\x80", false}, Utf8Case{"\xF4\x8F\xBF\xBF", true},
                      Utf8Case{"\xF4\x90\x80\x80", false}, Utf8Case{"\xF5\x80\x80\x80", false},
                      Utf8Case{"a\xC3", false}, Utf8Case{"\xE1\x80", false},
                      Utf8Case{"\x80", false}, Utf8Case{"\xC3\xA4\xFF", false}));

TEST(NameDecoding, EveryOemByteBecomesTheAnsiByteOfItsCharacter) {
    // Where code page 1252 has the character of an OEM byte, the conversion keeps the character;
    // elsewhere it gives one of the best-fit stand-ins.
    const std::u16string standIns = u"+-=i_\u00a6\u00af";
    for (int b = 0x80; b <= 0xFF; ++b) {
        std::string bytes(1, static_cast<char>(b));
        platform::OemToAnsiInPlace(bytes);
        const char16_t oem = platform::Cp850ToUnicode(static_cast<uint8_t>(b));
        const char16_t ansi = platform::Cp1252ToUnicode(static_cast<uint8_t>(bytes[0]));
        if (platform::UnicodeToCp1252(oem) == static_cast<uint8_t>(bytes[0]) && ansi == oem) continue;
        EXPECT_NE(standIns.find(ansi), std::u16string::npos) << "OEM byte " << b;
    }
    EXPECT_EQ(platform::UnicodeToCp1252(u'\u20ac'), 0x80);
    EXPECT_EQ(platform::UnicodeToCp1252(u'\u4e00'), '?');
}
