#include "tools/StdoutStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

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
    const int64_t written = ZAWriteAll(FFd, Buffer, allowed);
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
