#pragma once
// Facts about the running system for the information window: the system's name and version
// numbers, the native processor architecture and the memory figures.
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// The running system as the user knows it: the distribution's name and the kernel's
// version numbers.
struct HostOsVersion {
    std::string name;       // for example "Debian GNU/Linux 12 (bookworm)"
    std::string shortName;  // for example "Debian GNU/Linux"
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;
};

// Reads /etc/os-release (or /usr/lib/os-release) and the kernel release.
HostOsVersion QueryHostOsVersion();
// The version from the text of an os-release file and a kernel release such as
// "6.1.0-18-amd64". The name is PRETTY_NAME, else NAME, else "Linux"; the short name is
// NAME, else "Linux". Numbers that are missing or too large for 32 bits read as 0.
HostOsVersion ParseHostOsVersion(const std::string& osRelease, const std::string& kernelRelease);

// Processor architecture codes of the system-information record.
constexpr uint16_t kArchitectureIntel = 0;
constexpr uint16_t kArchitectureArm = 5;
constexpr uint16_t kArchitectureIa64 = 6;
constexpr uint16_t kArchitectureAmd64 = 9;
constexpr uint16_t kArchitectureArm64 = 12;
constexpr uint16_t kArchitectureUnknown = 0xFFFF;

// The code for a machine name as uname reports it ("x86_64", "aarch64", "i686", ...).
uint16_t ArchitectureCode(const std::string& machine);

struct HostSystemFacts {
    uint16_t architecture = kArchitectureUnknown;  // of the machine, not of this process
    uint32_t pageSize = 0;
    uint32_t processorCount = 0;
};
HostSystemFacts QueryHostSystemFacts();

// Memory figures in bytes. Swap stands where other systems keep their page file.
struct HostMemory {
    uint32_t load = 0;  // percentage of physical memory in use
    uint64_t totalPhys = 0;
    uint64_t availPhys = 0;
    uint64_t totalSwap = 0;
    uint64_t freeSwap = 0;
    uint64_t totalVirtual = 0;  // address space this process may use
    uint64_t availVirtual = 0;
};

// The physical and swap figures (and the load) from the text of /proc/meminfo; no value when
// MemTotal is missing. Available memory is MemAvailable, or on old kernels without it
// MemFree + Buffers + Cached.
std::optional<HostMemory> ParseMemInfo(const std::string& meminfo);

// Reads the current figures. False with errno set when the system does not give them.
bool QueryHostMemory(HostMemory& memory);

}  // namespace platform
