#include "tools/StdoutStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {

// The most one write call is asked to move.
constexpr int64_t kMaxWriteStep = int64_t{1} << 30;

}  // namespace

TStdoutStream::TStdoutStream(int64_t Limit, int Fd) : FFd(Fd), FLimit(Limit) {
    EnlargePipeBuffer(FFd, kPipeBufferSize);
}

int64_t TStdoutStream::Write(const void* Buffer, int64_t Count) {
    if (Count <= 0) return 0;
    int64_t allowed = Count;
    if (FLimit >= 0 && Count > FLimit - FPosition) {
        allowed = std::max<int64_t>(FLimit - FPosition, 0);
        FLimitReached = true;
    }
    const auto* bytes = static_cast<const char*>(Buffer);
    int64_t written = 0;
    while (written < allowed) {
        const auto step = static_cast<size_t>(std::min<int64_t>(allowed - written, kMaxWriteStep));
        const ssize_t n = ::write(FFd, bytes + written, step);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        written += n;
    }
    FPosition += written;
    return written;
}

void EnlargePipeBuffer(int Fd, int Size) {
    struct stat st {};
    if (::fstat(Fd, &st) != 0 || !S_ISFIFO(st.st_mode)) return;
    const int current = ::fcntl(Fd, F_GETPIPE_SZ);
    if (current < 0 || current >= Size) return;
    ::fcntl(Fd, F_SETPIPE_SZ, Size);  // refused beyond the user's limits: the pipe stays
}
