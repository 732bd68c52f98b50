// The memory-status record, the kilobyte figures and the text of a failed system call.
#include <gtest/gtest.h>
#include <sys/sysinfo.h>

#include <QLocale>
#include <cerrno>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "info/Info_Unit.h"
#include "info/hfunctions.h"
#include "platform/host_error.h"

namespace {

constexpr unsigned char kUntouched = 0xAB;

TMemoryStatusEx SentinelRecord(uint32_t length) {
    TMemoryStatusEx status;
    std::memset(&status, kUntouched, sizeof status);
    status.dwLength = length;
    return status;
}

bool AllBytesUntouched(const void* data, size_t from, size_t to) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = from; i < to; ++i) {
        if (bytes[i] != kUntouched) return false;
    }
    return true;
}

TEST(QueryMemoryStatus, RefusesARecordTooShortForItsFields) {
    for (const uint32_t length : {0u, 32u, 55u}) {
        TMemoryStatusEx status = SentinelRecord(length);
        errno = 0;
        EXPECT_FALSE(QueryMemoryStatus(status)) << length;
        EXPECT_EQ(errno, EINVAL) << length;
        EXPECT_EQ(status.dwLength, length);
        EXPECT_TRUE(AllBytesUntouched(&status, 4, sizeof status)) << length;
    }
}

TEST(QueryMemoryStatus, WritesNothingBeyondTheStatedLength) {
    TMemoryStatusEx status = SentinelRecord(56);
    ASSERT_TRUE(QueryMemoryStatus(status));
    EXPECT_EQ(status.dwLength, 56u);
    EXPECT_TRUE(AllBytesUntouched(&status, 56, sizeof status));
    EXPECT_GT(status.ullTotalPhys, 0u);
}

TEST(QueryMemoryStatus, GivesTheSystemsPhysicalMemoryAndSwap) {
    TMemoryStatusEx status = SentinelRecord(sizeof(TMemoryStatusEx));
    ASSERT_TRUE(QueryMemoryStatus(status));
    struct sysinfo kernel {};
    ASSERT_EQ(sysinfo(&kernel), 0);
    const uint64_t unit = kernel.mem_unit ? kernel.mem_unit : 1;
    EXPECT_EQ(status.ullTotalPhys, uint64_t{kernel.totalram} * unit);
    EXPECT_EQ(status.ullTotalPageFile, uint64_t{kernel.totalswap} * unit);
    EXPECT_LE(status.ullAvailPhys, status.ullTotalPhys);
    EXPECT_LE(status.ullAvailPageFile, status.ullTotalPageFile);
    EXPECT_LE(status.ullAvailVirtual, status.ullTotalVirtual);
    EXPECT_LE(status.dwMemoryLoad, 100u);
    EXPECT_EQ(status.ullAvailExtendedVirtual, 0u);
    EXPECT_EQ(status.dwLength, sizeof(TMemoryStatusEx));
}

struct KilobyteCase {
    uint64_t bytes;
    const char* german;
};

TEST(MemoryKBText, RoundsToWholeKilobytesWithGermanGrouping) {
    const QLocale german(QLocale::German, QLocale::Germany);
    const KilobyteCase cases[] = {
        {0, "0 KB"},
        {511, "0 KB"},
        {512, "1 KB"},
        {1023, "1 KB"},
        {1024, "1 KB"},
        {1535, "1 KB"},
        {1536, "2 KB"},
        {1800, "2 KB"},
        {999 * 1024, "999 KB"},
        {1000 * 1024, "1.000 KB"},
        {64ull << 20, "65.536 KB"},
        {(4ull << 30) + 1024, "4.194.305 KB"},
        {16ull << 30, "16.777.216 KB"},
        {std::numeric_limits<uint64_t>::max(), "18.014.398.509.481.984 KB"},
    };
    for (const KilobyteCase& c : cases) {
        EXPECT_EQ(MemoryKBText(c.bytes, german), QString::fromUtf8(c.german)) << c.bytes;
    }
}

TEST(MemoryKBText, FollowsTheLocalesSeparator) {
    EXPECT_EQ(MemoryKBText(64ull << 20, QLocale(QLocale::English, QLocale::UnitedStates)),
              QStringLiteral("65,536 KB"));
    EXPECT_EQ(MemoryKBText(16ull << 30, QLocale(QLocale::French, QLocale::France)),
              QStringLiteral("16\u202F777\u202F216 KB"));
}

TEST(OSErrorText, NamesTheCodeAndTheSystemsText) {
    EXPECT_EQ(OSErrorText(EINVAL),
              "Systemfehler.  Code: 22.\r\n" + platform::SystemErrorText(EINVAL));
    EXPECT_EQ(OSErrorText(0), "Ein Aufruf einer Betriebssystemfunktion ist fehlgeschlagen");
}

TEST(OSErrorText, RaiseUsesTheLastErrorCode) {
    errno = ENOMEM;
    try {
        RaiseLastOSError();
        FAIL() << "no failure raised";
    } catch (const std::runtime_error& failure) {
        EXPECT_EQ(failure.what(), OSErrorText(ENOMEM));
    }
}

}  // namespace
