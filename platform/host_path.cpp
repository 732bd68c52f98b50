#include "host_path.h"

#include <unistd.h>

#include <cctype>
#include <climits>
#include <vector>

namespace platform {

std::string ExecutablePath() {
    std::vector<char> buf(PATH_MAX + 1);
    const ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0) return {};
    return std::string(buf.data(), static_cast<size_t>(n));
}

std::string ExecutableFolder() {
    const std::string exe = ExecutablePath();
    const auto slash = exe.rfind(kPathSeparator);
    return slash == std::string::npos ? std::string("./") : exe.substr(0, slash + 1);
}

std::string ExtractFileExt(const std::string& path) {
    const auto dot = path.rfind('.');
    if (dot == std::string::npos) return {};
    const auto slash = path.rfind(kPathSeparator);
    if (slash != std::string::npos && slash > dot) return {};
    return path.substr(dot);
}

std::string ExtractFileName(const std::string& path) {
    const auto slash = path.rfind(kPathSeparator);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ApplicationTitle(const std::string& executablePath) {
    std::string name = ExtractFileName(executablePath);
    const auto dot = name.find('.');
    if (dot != std::string::npos) name.resize(dot);
    // Linux executables are named in lower case; the title starts with a capital all the same.
    if (!name.empty() && static_cast<unsigned char>(name[0]) < 0x80) {
        name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    }
    for (size_t i = 1; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c < 0x80) name[i] = static_cast<char>(std::tolower(c));
    }
    return name;
}

}  // namespace platform
