// The version naming table over version records, with its suffixes and short names.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "info/GetWindowsVersions.h"

namespace {

TOSVersionInfo MakeRecord(uint32_t platformId, uint32_t major, uint32_t minor, uint32_t build,
                          std::u16string_view csd) {
    TOSVersionInfo info = {};
    info.dwOSVersionInfoSize = sizeof info;
    info.dwPlatformId = platformId;
    info.dwMajorVersion = major;
    info.dwMinorVersion = minor;
    info.dwBuildNumber = build;
    std::copy_n(csd.begin(), std::min(csd.size(), std::size(info.szCSDVersion)), info.szCSDVersion);
    return info;
}

struct Flags {
    bool version, build, servicePack, shortName;
};
constexpr Flags kWindowFlags{true, true, true, false};  // what the information window asks
constexpr Flags kNameOnly{false, false, false, false};
constexpr Flags kShortName{true, true, true, true};

struct NamingCase {
    const char* label;
    uint32_t platformId, major, minor, build;
    std::u16string_view csd;
    uint16_t architecture;
    Flags flags;
    const char16_t* expected;
};

const NamingCase kNamingCases[] = {
    {"win32s", 0, 3, 10, 0, u"", 0, kWindowFlags, u"Win32s unter Windows 3.x (3.10) (Build: 0)"},
    {"win32s_short", 0, 3, 10, 0, u"", 0, kShortName, u""},
    {"failed_query_reads_as_win32s", 0, 0, 0, 0, u"", 0, kNameOnly, u"Win32s unter Windows 3.x"},
    {"win95_csd_inside_name_and_again_in_parentheses", 1, 4, 0, 950, u" B", 0, kWindowFlags,
     u"Windows 95  B  (4.0) (Build: 950) ( B)"},
    {"win95_short", 1, 4, 0, 950, u" B", 0, kShortName, u"95"},
    {"win95_any_major", 1, 7, 0, 1, u"", 0, kNameOnly, u"Windows 95  "},
    {"win98se_exact_A", 1, 4, 10, 67766446, u"A", 0, kWindowFlags,
     u"Windows 98SE  (4.10) (Build: 67766446) (A)"},
    {"win98_A_between_blanks", 1, 4, 10, 67766446, u" A ", 0, kWindowFlags,
     u"Windows 98  (4.10) (Build: 67766446) ( A )"},
    {"win98_lower_case_a", 1, 4, 10, 1, u"a", 0, kNameOnly, u"Windows 98 "},
    {"win98_short", 1, 4, 10, 1, u"A", 0, kShortName, u"98"},
    {"winme", 1, 4, 90, 3000, u"", 0, kNameOnly, u"Windows ME "},
    {"winme_short", 1, 4, 90, 3000, u"", 0, kShortName, u"ME"},
    {"platform1_unlisted_minor", 1, 4, 3, 1, u"", 0, kWindowFlags, u" (4.3) (Build: 1)"},
    {"nt3", 2, 3, 51, 1057, u"", 0, kNameOnly, u"Windows NT"},
    {"nt4_minor_not_tested", 2, 4, 7, 1381, u"Service Pack 6", 0, kWindowFlags,
     u"Windows NT (4.7) (Build: 1381) (Service Pack 6)"},
    {"nt_short", 2, 4, 0, 1381, u"", 0, kShortName, u"NT"},
    {"win2000", 2, 5, 0, 2195, u"", 0, kWindowFlags, u"Windows 2000 (5.0) (Build: 2195)"},
    {"win2000_short", 2, 5, 0, 2195, u"", 0, kShortName, u"2000"},
    {"xp", 2, 5, 1, 2600, u"Service Pack 3", 0, kWindowFlags,
     u"Windows XP (5.1) (Build: 2600) (Service Pack 3)"},
    {"xp_short", 2, 5, 1, 2600, u"Service Pack 3", 0, kShortName, u"XP"},
    {"server2003_unlisted", 2, 5, 2, 3790, u"", 0, kWindowFlags, u" (5.2) (Build: 3790)"},
    {"vista_x64_not_tested", 2, 6, 0, 6002, u"", 9, kWindowFlags,
     u"Windows Vista (6.0) (Build: 6002)"},
    {"vista_short", 2, 6, 0, 6002, u"", 0, kShortName, u"Vista"},
    {"win7_x64", 2, 6, 1, 7601, u"Service Pack 1", 9, kWindowFlags,
     u"Windows 7 x64 Edition (6.1) (Build: 7601) (Service Pack 1)"},
    {"win7_x86", 2, 6, 1, 7600, u"", 0, kWindowFlags, u"Windows 7 (6.1) (Build: 7600)"},
    {"win7_itanium", 2, 6, 1, 7600, u"", 6, kNameOnly, u"Windows 7"},
    {"win7_short_x64", 2, 6, 1, 7600, u"", 9, kShortName, u"Win7"},
    {"win8_unlisted", 2, 6, 2, 9200, u"", 0, kWindowFlags, u" (6.2) (Build: 9200)"},
    {"win81_unlisted", 2, 6, 3, 9600, u"", 0, kNameOnly, u""},
    {"win10_unlisted_short", 2, 10, 0, 19045, u"", 9, kShortName, u""},
    {"unknown_platform", 3, 6, 1, 7600, u"", 9, kWindowFlags, u" (6.1) (Build: 7600)"},
    {"build_unsigned_unmasked",
     1,
     4,
     90,
     3221228125u,
     u"",
     0,
     {false, true, false, false},
     u"Windows ME  (Build: 3221228125)"},
    {"version_only",
     2,
     5,
     1,
     2600,
     u"Service Pack 2",
     0,
     {true, false, false, false},
     u"Windows XP (5.1)"},
    {"service_pack_only",
     2,
     5,
     1,
     2600,
     u"Service Pack 2",
     0,
     {false, false, true, false},
     u"Windows XP (Service Pack 2)"},
    {"large_numbers_plain_decimal", 2, 4294967295u, 4294967295u, 4294967295u, u"", 0, kWindowFlags,
     u" (4294967295.4294967295) (Build: 4294967295)"},
};

class NamingTable : public ::testing::TestWithParam<NamingCase> {};

TEST_P(NamingTable, GivesTheTableNameWithItsSuffixes) {
    const NamingCase& c = GetParam();
    const TOSVersionInfo info = MakeRecord(c.platformId, c.major, c.minor, c.build, c.csd);
    EXPECT_EQ(GetWindowsVersionName(info, c.architecture, c.flags.version, c.flags.build,
                                    c.flags.servicePack, c.flags.shortName),
              QString::fromUtf16(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Records, NamingTable, ::testing::ValuesIn(kNamingCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(NamingRecord, ServicePackTextEndsAtItsFirstZeroUnit) {
    TOSVersionInfo info = MakeRecord(2, 5, 1, 2600, u"SP1");
    // Bytes after the terminator belong to no text.
    std::u16string_view rest = u"garbage";
    std::copy(rest.begin(), rest.end(), info.szCSDVersion + 4);
    EXPECT_EQ(GetWindowsVersionName(info, 0, false, false, true, false),
              QStringLiteral("Windows XP (SP1)"));
}

TEST(NamingRecord, ServicePackTextFillingTheWholeFieldIsReadWithinIt) {
    const std::u16string full(128, u'x');
    TOSVersionInfo info = MakeRecord(2, 5, 1, 2600, full);
    const QString name = GetWindowsVersionName(info, 0, false, false, true, false);
    EXPECT_EQ(name, QStringLiteral("Windows XP (") + QString(128, u'x') + u')');
}

}  // namespace
