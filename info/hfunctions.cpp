#include "hfunctions.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "platform/file_version.h"
#include "platform/host_error.h"
#include "platform/sysinfo.h"

bool QueryMemoryStatus(TMemoryStatusEx& status) {
    if (status.dwLength < kMemoryStatusMinLength) {
        errno = EINVAL;
        return false;
    }
    platform::HostMemory memory;
    if (!platform::QueryHostMemory(memory)) return false;

    TMemoryStatusEx filled = {};
    filled.dwLength = status.dwLength;
    filled.dwMemoryLoad = memory.load;
    filled.ullTotalPhys = memory.totalPhys;
    filled.ullAvailPhys = memory.availPhys;
    filled.ullTotalPageFile = memory.totalSwap;
    filled.ullAvailPageFile = memory.freeSwap;
    filled.ullTotalVirtual = memory.totalVirtual;
    filled.ullAvailVirtual = memory.availVirtual;
    filled.ullAvailExtendedVirtual = 0;
    const size_t length = std::min<size_t>(status.dwLength, sizeof status);
    std::memcpy(&status, &filled, length);
    return true;
}

bool GetFileVersionNumbers(const QString& fileName, uint16_t& major, uint16_t& minor,
                           uint16_t& release, uint16_t& build) {
    const std::vector<unsigned char> block =
        platform::ReadVersionResource(QFile::encodeName(fileName).toStdString());
    if (block.empty()) return false;
    if (const auto root = platform::QueryRootBlock(block)) {
        major = static_cast<uint16_t>(root->fileVersionMS >> 16);
        minor = static_cast<uint16_t>(root->fileVersionMS & 0xFFFF);
        release = static_cast<uint16_t>(root->fileVersionLS >> 16);
        build = static_cast<uint16_t>(root->fileVersionLS & 0xFFFF);
    }
    return true;
}

std::string OSErrorText(int code) {
    if (code == 0) return "Ein Aufruf einer Betriebssystemfunktion ist fehlgeschlagen";
    return "Systemfehler.  Code: " + std::to_string(code) + ".\r\n" +
           platform::SystemErrorText(code);
}

void RaiseLastOSError() { throw std::runtime_error(OSErrorText(errno)); }
