#include "host_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "host_error.h"

namespace platform {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

std::string ReadWholeFile(const std::string& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) throw HostError(FileOpenErrorText(path, errno));
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) throw HostError(FileOpenErrorText(path, errno));
    if (S_ISDIR(st.st_mode)) throw HostError(FileOpenErrorText(path, EISDIR));
    // Deny writers while reading; a lock that cannot be had is not a reason to refuse.
    ::flock(fd.get(), LOCK_SH | LOCK_NB);

    std::string bytes;
    if (S_ISREG(st.st_mode) && st.st_size > 0) bytes.reserve(static_cast<size_t>(st.st_size));
    char chunk[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            throw HostError(FileOpenErrorText(path, errno));
        }
        bytes.append(chunk, static_cast<size_t>(n));
    }
    return bytes;
}

}  // namespace platform
