// The host's side of the system facts: its name and version numbers, the architecture probe
// and the memory figures of /proc/meminfo.
#include <gtest/gtest.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <string>

#include "info/GetWindowsVersions.h"
#include "platform/sysinfo.h"

namespace {

struct OsVersionCase {
    const char* label;
    const char* osRelease;
    const char* kernel;
    const char* name;
    const char* shortName;
    uint32_t major, minor, build;
};

const OsVersionCase kOsVersionCases[] = {
    {"debian_quoted", "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian GNU/Linux\"\n",
     "6.1.0-18-amd64", "Debian GNU/Linux 12 (bookworm)", "Debian GNU/Linux", 6, 1, 0},
    {"unquoted_and_crlf", "NAME=Fedora\r\nPRETTY_NAME=Fedora Linux 40\r\n", "6.8.5-301.fc40.x86_64",
     "Fedora Linux 40", "Fedora", 6, 8, 5},
    {"single_quotes_and_escapes", "PRETTY_NAME='Arch Linux'\nNAME=\"Say \\\"hi\\\"\"\n",
     "6.9.1-arch1-1", "Arch Linux", "Say \"hi\"", 6, 9, 1},
    {"comments_and_blank_lines", "# vendor file\n\n  NAME=\"Alpine Linux\"\n", "5.15.0",
     "Alpine Linux", "Alpine Linux", 5, 15, 0},
    {"no_pretty_name", "NAME=\"openSUSE Leap\"\nID=opensuse\n", "5.14.21-150500.55-default",
     "openSUSE Leap", "openSUSE Leap", 5, 14, 21},
    {"empty_pretty_name_falls_back", "PRETTY_NAME=\"\"\nNAME=Gentoo\n", "6.6.30-gentoo", "Gentoo",
     "Gentoo", 6, 6, 30},
    {"no_os_release", "", "4.19", "Linux", "Linux", 4, 19, 0},
    {"kernel_major_only", "NAME=X\n", "7", "X", "X", 7, 0, 0},
    {"kernel_not_numeric", "NAME=X\n", "custom-kernel", "X", "X", 0, 0, 0},
    {"kernel_number_beyond_32_bits", "NAME=X\n", "6.99999999999.3", "X", "X", 6, 0, 3},
};

class OsVersionParsing : public ::testing::TestWithParam<OsVersionCase> {};

TEST_P(OsVersionParsing, TakesNameAndKernelNumbers) {
    const OsVersionCase& c = GetParam();
    const platform::HostOsVersion version = platform::ParseHostOsVersion(c.osRelease, c.kernel);
    EXPECT_EQ(version.name, c.name);
    EXPECT_EQ(version.shortName, c.shortName);
    EXPECT_EQ(version.major, c.major);
    EXPECT_EQ(version.minor, c.minor);
    EXPECT_EQ(version.build, c.build);
}

INSTANTIATE_TEST_SUITE_P(Files, OsVersionParsing, ::testing::ValuesIn(kOsVersionCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(RunningSystemName, ShowsTheKernelNumbersInTheNamingFormat) {
    struct utsname names {};
    ASSERT_EQ(uname(&names), 0);
    const platform::HostOsVersion version = platform::QueryHostOsVersion();
    const std::string numbers = std::to_string(version.major) + "." + std::to_string(version.minor);
    // The numbers are the kernel's own, read independently here.
    EXPECT_EQ(std::string(names.release).rfind(numbers, 0), 0u) << names.release;

    const QString line = GetWindowsVersionName(true, true, true, false);
    const QString expectedSuffix = QStringLiteral(" (%1.%2) (Build: %3)")
                                       .arg(version.major)
                                       .arg(version.minor)
                                       .arg(version.build);
    EXPECT_EQ(line, QString::fromStdString(version.name) + expectedSuffix);
    EXPECT_FALSE(version.name.empty());
    EXPECT_EQ(GetWindowsVersionName(true, true, true, true),
              QString::fromStdString(version.shortName));
}

struct ArchitectureCase {
    const char* machine;
    uint16_t code;
};

TEST(Architecture, MachineNamesMapToTheirCodes) {
    const ArchitectureCase cases[] = {
        {"x86_64", 9},       {"amd64", 9},     {"aarch64", 12}, {"arm64", 12},
        {"i386", 0},         {"i686", 0},      {"armv7l", 5},   {"ia64", 6},
        {"riscv64", 0xFFFF}, {"i786", 0xFFFF}, {"", 0xFFFF},    {"x86", 0xFFFF},
    };
    for (const ArchitectureCase& c : cases) {
        EXPECT_EQ(platform::ArchitectureCode(c.machine), c.code) << c.machine;
    }
}

TEST(Architecture, ProbeFillsTheRecordOnceAtStartUp) {
    NativeSystemInfo = {};
    ProbeNativeSystemInfo();
    struct utsname names {};
    ASSERT_EQ(uname(&names), 0);
    EXPECT_EQ(NativeSystemInfo.wProcessorArchitecture, platform::ArchitectureCode(names.machine));
    EXPECT_EQ(NativeSystemInfo.dwPageSize, static_cast<uint32_t>(sysconf(_SC_PAGESIZE)));
    EXPECT_EQ(NativeSystemInfo.dwNumberOfProcessors,
              static_cast<uint32_t>(sysconf(_SC_NPROCESSORS_ONLN)));
}

struct MemInfoCase {
    const char* label;
    const char* text;
    bool valid;
    uint64_t totalPhys, availPhys, totalSwap, freeSwap;
    uint32_t load;
};

const MemInfoCase kMemInfoCases[] = {
    {"modern_kernel",
     "MemTotal:       16384000 kB\nMemFree:         1000000 kB\nMemAvailable:    4096000 kB\n"
     "Buffers:          100 kB\nSwapTotal:       2097152 kB\nSwapFree:        1048576 kB\n",
     true, 16384000ull * 1024, 4096000ull * 1024, 2097152ull * 1024, 1048576ull * 1024, 75},
    {"old_kernel_without_mem_available",
     "MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 50 kB\nCached: 250 kB\nSwapTotal: 0 kB\n"
     "SwapFree: 0 kB\n",
     true, 1000ull * 1024, 400ull * 1024, 0, 0, 60},
    {"above_4_gib_without_swap_lines", "MemTotal: 67108864 kB\nMemAvailable: 67108864 kB\n", true,
     64ull << 30, 64ull << 30, 0, 0, 0},
    {"key_prefix_is_not_the_key", "MemTotalX: 5 kB\nMemTotal: 8 kB\nMemAvailable: 2 kB\n", true,
     8192, 2048, 0, 0, 75},
    {"no_total", "MemFree: 100 kB\n", false, 0, 0, 0, 0, 0},
    {"empty", "", false, 0, 0, 0, 0, 0},
    {"value_too_large", "MemTotal: 99999999999999999999 kB\n", false, 0, 0, 0, 0, 0},
};

class MemInfoParsing : public ::testing::TestWithParam<MemInfoCase> {};

TEST_P(MemInfoParsing, ReadsBytesOfPhysicalMemoryAndSwap) {
    const MemInfoCase& c = GetParam();
    const auto memory = platform::ParseMemInfo(c.text);
    ASSERT_EQ(memory.has_value(), c.valid);
    if (!c.valid) return;
    EXPECT_EQ(memory->totalPhys, c.totalPhys);
    EXPECT_EQ(memory->availPhys, c.availPhys);
    EXPECT_EQ(memory->totalSwap, c.totalSwap);
    EXPECT_EQ(memory->freeSwap, c.freeSwap);
    EXPECT_EQ(memory->load, c.load);
}

INSTANTIATE_TEST_SUITE_P(Texts, MemInfoParsing, ::testing::ValuesIn(kMemInfoCases),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
