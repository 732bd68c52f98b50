#pragma once
// The display name of the running system's version, and the probe of the native system
// information that tells a 64-bit machine from a 32-bit one.
#include <QString>
#include <cstdint>

// Platform ids of the version record.
constexpr uint32_t VER_PLATFORM_WIN32s = 0;
constexpr uint32_t VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr uint32_t VER_PLATFORM_WIN32_NT = 2;

constexpr uint16_t PROCESSOR_ARCHITECTURE_AMD64 = 9;

// The basic version-information record (size 276). The service-pack text is read up to its
// first zero unit.
struct TOSVersionInfo {
    uint32_t dwOSVersionInfoSize;
    uint32_t dwMajorVersion;
    uint32_t dwMinorVersion;
    uint32_t dwBuildNumber;
    uint32_t dwPlatformId;
    char16_t szCSDVersion[128];
};
static_assert(sizeof(TOSVersionInfo) == 276);

// The native system-information record. Only the processor architecture is ever read.
struct TSystemInfo {
    uint16_t wProcessorArchitecture;
    uint16_t wReserved;
    uint32_t dwPageSize;
    void* lpMinimumApplicationAddress;
    void* lpMaximumApplicationAddress;
    uintptr_t dwActiveProcessorMask;
    uint32_t dwNumberOfProcessors;
    uint32_t dwProcessorType;
    uint32_t dwAllocationGranularity;
    uint16_t wProcessorLevel;
    uint16_t wProcessorRevision;
};

// All zero until ProbeNativeSystemInfo fills it; never changed afterwards.
extern TSystemInfo NativeSystemInfo;

// Fills NativeSystemInfo with the machine's facts. Runs once at start-up.
void ProbeNativeSystemInfo();

// The name of the version in `info` by the naming table, followed by the optional suffixes
// " (major.minor)", " (Build: n)" and " (service pack)"; with `ShortName` only the short
// name. `processorArchitecture` tells a 64-bit Windows 7 apart.
QString GetWindowsVersionName(const TOSVersionInfo& info, uint16_t processorArchitecture,
                              bool WithVersion, bool WithBuild, bool WithServicePack,
                              bool ShortName);

// The same for the running system, asked afresh on every call. This host keeps no Windows
// version record: the name is the distribution's, the numbers are the kernel's, in the same
// format.
QString GetWindowsVersionName(bool WithVersion, bool WithBuild, bool WithServicePack,
                              bool ShortName);
