#include "case_lookup.h"

#include <dirent.h>

#include <memory>

#include "host_files.h"

namespace platform {
namespace {

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringAsciiCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size(); ++i) {
        if (b[i] == '\0' || FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return b[i] == '\0';
}

}  // namespace

std::string FindFileIgnoringCase(const std::string& path) {
    if (FileExists(path)) return path;
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") return {};
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return {};
    std::string found;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!EqualIgnoringAsciiCase(name, entry->d_name)) continue;
        const std::string candidate =
            slash == std::string::npos ? std::string(entry->d_name) : folder + entry->d_name;
        if (!FileExists(candidate)) continue;  // a folder of that name is no volume
        if (!found.empty()) return {};
        found = candidate;
    }
    return found;
}

}  // namespace platform
