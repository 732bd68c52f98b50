#include "sysinfo.h"

#include <sys/resource.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>

namespace platform {
namespace {

std::string ReadTextFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// An os-release value: unquoted, or in single or double quotes (with backslash escapes
// inside double quotes).
std::string UnquoteValue(const std::string& raw) {
    if (raw.size() >= 2 && raw.front() == '\'' && raw.back() == '\'') {
        return raw.substr(1, raw.size() - 2);
    }
    if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"') {
        std::string value;
        for (size_t i = 1; i + 1 < raw.size(); ++i) {
            if (raw[i] == '\\' && i + 2 < raw.size()) ++i;
            value += raw[i];
        }
        return value;
    }
    return raw;
}

std::map<std::string, std::string> ParseOsRelease(const std::string& text) {
    std::map<std::string, std::string> values;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') continue;
        const auto eq = line.find('=', start);
        if (eq == std::string::npos) continue;
        values[line.substr(start, eq - start)] = UnquoteValue(line.substr(eq + 1));
    }
    return values;
}

// Reads a decimal number at `pos` and moves past it; 0 when there is none or it does not fit.
uint32_t TakeNumber(const std::string& text, size_t& pos) {
    uint64_t value = 0;
    bool overflow = false;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        if (!overflow) value = value * 10 + static_cast<uint64_t>(text[pos] - '0');
        overflow = overflow || value > std::numeric_limits<uint32_t>::max();
        ++pos;
    }
    return overflow ? 0 : static_cast<uint32_t>(value);
}

std::string FirstNonEmpty(const std::map<std::string, std::string>& values,
                          std::initializer_list<const char*> keys) {
    for (const char* key : keys) {
        const auto it = values.find(key);
        if (it != values.end() && !it->second.empty()) return it->second;
    }
    return "Linux";
}

// Value of a "Key:   1234 kB" line of /proc/meminfo in bytes.
std::optional<uint64_t> MemInfoBytes(const std::string& text, const std::string& key) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, key.size() + 1, key + ":") != 0) continue;
        size_t pos = line.find_first_of("0123456789", key.size() + 1);
        if (pos == std::string::npos) return std::nullopt;
        uint64_t value = 0;
        while (pos < line.size() && line[pos] >= '0' && line[pos] <= '9') {
            if (value > std::numeric_limits<uint64_t>::max() / 10) return std::nullopt;
            value = value * 10 + static_cast<uint64_t>(line[pos] - '0');
            ++pos;
        }
        const bool kilobytes = line.find("kB", pos) != std::string::npos;
        if (kilobytes && value > std::numeric_limits<uint64_t>::max() / 1024) return std::nullopt;
        return kilobytes ? value * 1024 : value;
    }
    return std::nullopt;
}

uint32_t LoadPercent(uint64_t total, uint64_t available) {
    if (total == 0 || available >= total) return 0;
    const long double used = static_cast<long double>(total - available);
    return static_cast<uint32_t>(used * 100 / static_cast<long double>(total) + 0.5L);
}

// Address space left to this process: its limit (or the user space of the machine) less
// what it has mapped already.
void FillVirtual(HostMemory& memory) {
    uint64_t total = sizeof(void*) == 8 ? (uint64_t{1} << 47) : (uint64_t{3} << 30);
    struct rlimit limit {};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        limit.rlim_cur < total) {
        total = limit.rlim_cur;
    }
    const std::string status = ReadTextFile("/proc/self/status");
    const uint64_t mapped = MemInfoBytes(status, "VmSize").value_or(0);
    memory.totalVirtual = total;
    memory.availVirtual = mapped < total ? total - mapped : 0;
}

}  // namespace

HostOsVersion ParseHostOsVersion(const std::string& osRelease, const std::string& kernelRelease) {
    const auto values = ParseOsRelease(osRelease);
    HostOsVersion version;
    version.name = FirstNonEmpty(values, {"PRETTY_NAME", "NAME"});
    version.shortName = FirstNonEmpty(values, {"NAME"});
    size_t pos = 0;
    version.major = TakeNumber(kernelRelease, pos);
    if (pos < kernelRelease.size() && kernelRelease[pos] == '.') {
        version.minor = TakeNumber(kernelRelease, ++pos);
        if (pos < kernelRelease.size() && kernelRelease[pos] == '.') {
            version.build = TakeNumber(kernelRelease, ++pos);
        }
    }
    return version;
}

HostOsVersion QueryHostOsVersion() {
    std::string osRelease = ReadTextFile("/etc/os-release");
    if (osRelease.empty()) osRelease = ReadTextFile("/usr/lib/os-release");
    struct utsname names {};
    const std::string kernel = uname(&names) == 0 ? names.release : "";
    return ParseHostOsVersion(osRelease, kernel);
}

uint16_t ArchitectureCode(const std::string& machine) {
    if (machine == "x86_64" || machine == "amd64") return kArchitectureAmd64;
    if (machine == "aarch64" || machine == "arm64") return kArchitectureArm64;
    if (machine == "ia64") return kArchitectureIa64;
    if (machine.size() == 4 && machine[0] == 'i' && machine.compare(2, 2, "86") == 0 &&
        machine[1] >= '3' && machine[1] <= '6') {
        return kArchitectureIntel;
    }
    if (machine.compare(0, 3, "arm") == 0) return kArchitectureArm;
    return kArchitectureUnknown;
}

HostSystemFacts QueryHostSystemFacts() {
    HostSystemFacts facts;
    struct utsname names {};
    if (uname(&names) == 0) facts.architecture = ArchitectureCode(names.machine);
    const long page = sysconf(_SC_PAGESIZE);
    facts.pageSize = page > 0 ? static_cast<uint32_t>(page) : 0;
    const long cpus = sysconf(_SC_NPROCESSORS_ONLN);
    facts.processorCount = cpus > 0 ? static_cast<uint32_t>(cpus) : 0;
    return facts;
}

std::optional<HostMemory> ParseMemInfo(const std::string& meminfo) {
    const auto total = MemInfoBytes(meminfo, "MemTotal");
    if (!total) return std::nullopt;
    HostMemory memory;
    memory.totalPhys = *total;
    if (const auto available = MemInfoBytes(meminfo, "MemAvailable")) {
        memory.availPhys = *available;
    } else {
        memory.availPhys = MemInfoBytes(meminfo, "MemFree").value_or(0) +
                           MemInfoBytes(meminfo, "Buffers").value_or(0) +
                           MemInfoBytes(meminfo, "Cached").value_or(0);
    }
    if (memory.availPhys > memory.totalPhys) memory.availPhys = memory.totalPhys;
    memory.totalSwap = MemInfoBytes(meminfo, "SwapTotal").value_or(0);
    memory.freeSwap = MemInfoBytes(meminfo, "SwapFree").value_or(0);
    memory.load = LoadPercent(memory.totalPhys, memory.availPhys);
    return memory;
}

bool QueryHostMemory(HostMemory& memory) {
    std::optional<HostMemory> figures = ParseMemInfo(ReadTextFile("/proc/meminfo"));
    if (!figures) {
        // Without /proc: the kernel's own counters (free rather than available memory).
        struct sysinfo info {};
        if (sysinfo(&info) != 0) return false;
        const uint64_t unit = info.mem_unit ? info.mem_unit : 1;
        HostMemory fallback;
        fallback.totalPhys = uint64_t{info.totalram} * unit;
        fallback.availPhys = (uint64_t{info.freeram} + uint64_t{info.bufferram}) * unit;
        fallback.totalSwap = uint64_t{info.totalswap} * unit;
        fallback.freeSwap = uint64_t{info.freeswap} * unit;
        fallback.load = LoadPercent(fallback.totalPhys, fallback.availPhys);
        figures = fallback;
    }
    FillVirtual(*figures);
    memory = *figures;
    return true;
}

}  // namespace platform
