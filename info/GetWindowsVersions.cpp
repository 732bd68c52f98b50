#include "GetWindowsVersions.h"

#include "platform/sysinfo.h"

TSystemInfo NativeSystemInfo = {};

namespace {

struct VersionNames {
    QString name;
    QString shortName;
};

QString CsdText(const TOSVersionInfo& info) {
    const auto capacity = static_cast<qsizetype>(std::size(info.szCSDVersion));
    qsizetype length = 0;
    while (length < capacity && info.szCSDVersion[length] != 0) ++length;
    return QString::fromUtf16(info.szCSDVersion, length);
}

VersionNames NamesFor(const TOSVersionInfo& info, const QString& csd, uint16_t architecture) {
    const uint32_t major = info.dwMajorVersion;
    const uint32_t minor = info.dwMinorVersion;
    switch (info.dwPlatformId) {
        case VER_PLATFORM_WIN32s:
            return {QStringLiteral("Win32s unter Windows 3.x"), QString()};
        case VER_PLATFORM_WIN32_WINDOWS:
            if (minor == 0)
                return {QStringLiteral("Windows 95 ") + csd + u' ', QStringLiteral("95")};
            if (minor == 10) {
                return {csd == QLatin1String("A") ? QStringLiteral("Windows 98SE ")
                                                  : QStringLiteral("Windows 98 "),
                        QStringLiteral("98")};
            }
            if (minor == 90) return {QStringLiteral("Windows ME "), QStringLiteral("ME")};
            return {};
        case VER_PLATFORM_WIN32_NT:
            if (major == 3 || major == 4)
                return {QStringLiteral("Windows NT"), QStringLiteral("NT")};
            if (major == 5 && minor == 0)
                return {QStringLiteral("Windows 2000"), QStringLiteral("2000")};
            if (major == 5 && minor == 1)
                return {QStringLiteral("Windows XP"), QStringLiteral("XP")};
            if (major == 6 && minor == 0)
                return {QStringLiteral("Windows Vista"), QStringLiteral("Vista")};
            if (major == 6 && minor == 1) {
                return {architecture == PROCESSOR_ARCHITECTURE_AMD64
                            ? QStringLiteral("Windows 7 x64 Edition")
                            : QStringLiteral("Windows 7"),
                        QStringLiteral("Win7")};
            }
            return {};
        default:
            return {};
    }
}

QString ComposeVersionName(const VersionNames& names, uint32_t major, uint32_t minor,
                           uint32_t build, const QString& csd, bool WithVersion, bool WithBuild,
                           bool WithServicePack, bool ShortName) {
    if (ShortName) return names.shortName;
    QString result = names.name;
    if (WithVersion) {
        result +=
            QStringLiteral(" (") + QString::number(major) + u'.' + QString::number(minor) + u')';
    }
    if (WithBuild) result += QStringLiteral(" (Build: ") + QString::number(build) + u')';
    if (WithServicePack && !csd.isEmpty()) result += QStringLiteral(" (") + csd + u')';
    return result;
}

}  // namespace

void ProbeNativeSystemInfo() {
    const platform::HostSystemFacts facts = platform::QueryHostSystemFacts();
    TSystemInfo info = {};
    info.wProcessorArchitecture = facts.architecture;
    info.dwPageSize = facts.pageSize;
    info.dwAllocationGranularity = facts.pageSize;
    info.dwNumberOfProcessors = facts.processorCount;
    const uint32_t maskBits = static_cast<uint32_t>(sizeof(uintptr_t) * 8);
    info.dwActiveProcessorMask = facts.processorCount >= maskBits
                                     ? ~uintptr_t{0}
                                     : (uintptr_t{1} << facts.processorCount) - 1;
    NativeSystemInfo = info;
}

QString GetWindowsVersionName(const TOSVersionInfo& info, uint16_t processorArchitecture,
                              bool WithVersion, bool WithBuild, bool WithServicePack,
                              bool ShortName) {
    const QString csd = CsdText(info);
    return ComposeVersionName(NamesFor(info, csd, processorArchitecture), info.dwMajorVersion,
                              info.dwMinorVersion, info.dwBuildNumber, csd, WithVersion, WithBuild,
                              WithServicePack, ShortName);
}

QString GetWindowsVersionName(bool WithVersion, bool WithBuild, bool WithServicePack,
                              bool ShortName) {
    const platform::HostOsVersion host = platform::QueryHostOsVersion();
    const VersionNames names{QString::fromStdString(host.name),
                             QString::fromStdString(host.shortName)};
    return ComposeVersionName(names, host.major, host.minor, host.build, QString(), WithVersion,
                              WithBuild, WithServicePack, ShortName);
}
