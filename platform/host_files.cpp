#include "host_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "host_error.h"

namespace platform {
namespace {

// The nearest existing ancestor of `path` (the path itself when it exists).
std::string NearestExisting(const std::string& path) {
    std::string p = ExpandFileName(path);
    struct stat st {};
    while (!p.empty() && ::stat(p.c_str(), &st) != 0) {
        const auto slash = p.find_last_of('/');
        if (slash == std::string::npos || p == "/") return "/";
        p = slash == 0 ? "/" : p.substr(0, slash);
    }
    return p.empty() ? "/" : p;
}

bool ReadFlagFile(const std::string& file, bool& value) {
    FILE* f = std::fopen(file.c_str(), "r");
    if (!f) return false;
    int c = std::fgetc(f);
    std::fclose(f);
    if (c == EOF) return false;
    value = c == '1';
    return true;
}

}  // namespace

std::string ExpandFileName(const std::string& path) {
    std::string full = path;
    if (full.empty() || full[0] != '/') {
        char cwd[PATH_MAX];
        if (::getcwd(cwd, sizeof cwd)) full = std::string(cwd) + "/" + full;
    }
    std::vector<std::string> parts;
    size_t i = 0;
    while (i <= full.size()) {
        const size_t j = full.find('/', i);
        const std::string part = full.substr(i, j == std::string::npos ? std::string::npos : j - i);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        if (j == std::string::npos) break;
        i = j + 1;
    }
    std::string out;
    for (const auto& part : parts) out += "/" + part;
    if (out.empty()) out = "/";
    if (full.size() > 1 && full.back() == '/' && out != "/") out += '/';
    return out;
}

int OpenFileWithMode(const std::string& path, uint16_t mode) {
    int flags = O_CLOEXEC;
    const bool create = mode == kFileModeCreate;
    if (create) {
        flags |= O_RDWR | O_CREAT | O_TRUNC;
    } else {
        switch (mode & 3) {
            case 0: flags |= O_RDONLY; break;
            case 1: flags |= O_WRONLY; break;
            default: flags |= O_RDWR; break;
        }
    }
    // Without O_NONBLOCK, opening a FIFO for reading would wait for a writer; the flag is
    // cleared again once the file is open.
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_NONBLOCK, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (fd < 0) {
        const int err = errno;
        const std::string full = ExpandFileName(path);
        throw HostError(create ? FileCreateErrorText(full, err) : FileOpenErrorText(full, err));
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        const std::string full = ExpandFileName(path);
        throw HostError(create ? FileCreateErrorText(full, EISDIR)
                               : FileOpenErrorText(full, EISDIR));
    }
    return fd;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool CanOpenForWriting(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

bool IsOnRemovableMedia(const std::string& path) {
    struct stat st {};
    if (::stat(NearestExisting(path).c_str(), &st) != 0) return false;
    const std::string dev = "/sys/dev/block/" + std::to_string(major(st.st_dev)) + ":" +
                            std::to_string(minor(st.st_dev));
    bool removable = false;
    if (ReadFlagFile(dev + "/removable", removable)) return removable;
    // A partition: the flag sits on the whole disk, one level up.
    char resolved[PATH_MAX];
    if (::realpath(dev.c_str(), resolved) &&
        ReadFlagFile(std::string(resolved) + "/../removable", removable))
        return removable;
    return false;
}

int64_t FreeSpace(const std::string& path) {
    struct statvfs vfs {};
    if (::statvfs(NearestExisting(path).c_str(), &vfs) != 0) return -1;
    return static_cast<int64_t>(vfs.f_bavail) * static_cast<int64_t>(vfs.f_frsize);
}

}  // namespace platform
