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

// Opens `path` for reading with writers kept out; fills `st`.
int OpenForReading(const std::string& path, struct stat& st) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw HostError(FileOpenErrorText(path, errno));
    int err = 0;
    if (::fstat(fd, &st) != 0) err = errno;
    else if (S_ISDIR(st.st_mode)) err = EISDIR;
    if (err != 0) {
        ::close(fd);
        throw HostError(FileOpenErrorText(path, err));
    }
    // Deny writers while reading; a lock that cannot be had is not a reason to refuse.
    ::flock(fd, LOCK_SH | LOCK_NB);
    return fd;
}

// Reads from `fd` to its end into `bytes`, which may already hold room for all of it.
void ReadToEnd(int fd, const std::string& path, TByteBuffer& bytes) {
    size_t used = 0;
    for (;;) {
        // Grow only when full: a regular file's buffer already has room for all of it.
        if (used == bytes.Size()) bytes.Resize(used + (1 << 16) + used / 2);
        const ssize_t n = ::read(fd, bytes.Data() + used, bytes.Size() - used);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            throw HostError(FileOpenErrorText(path, errno));
        }
        used += static_cast<size_t>(n);
    }
    bytes.Resize(used);
}

}  // namespace

TByteBuffer ReadWholeFile(const std::string& path) {
    struct stat st {};
    FileDescriptor fd(OpenForReading(path, st));
    TByteBuffer bytes;
    // A regular file's pages are mapped, not copied: the page cache already holds them.
    if (S_ISREG(st.st_mode) && bytes.MapFile(fd.get(), static_cast<size_t>(st.st_size))) return bytes;
    // One byte more than the size lets the end of a regular file show in the first reads.
    bytes.Resize(S_ISREG(st.st_mode) ? static_cast<size_t>(st.st_size) + 1 : 0);
    ReadToEnd(fd.get(), path, bytes);
    return bytes;
}

}  // namespace platform
