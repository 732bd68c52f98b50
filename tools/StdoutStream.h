#pragma once
// Standard output as the stream `kalvero-zip cat` writes an entry to.
#include <cstdint>

#include "zip/ZAStream.h"

// Takes at most Limit bytes (-1: no limit). A write that fails or passes the limit reports
// fewer bytes, which the archiver answers with its disk-full handshake. The bytes go straight
// to the file descriptor, one system call per piece the archiver hands over, without a copy
// into a buffer of the C library; when standard output is a pipe, its buffer is enlarged so
// that a reader on another core takes each piece without the two sides waiting on each other
// many times per piece.
class TStdoutStream : public TZAStream {
public:
    // The pipe buffer asked for; the kernel may refuse it (then the pipe stays as it is).
    static constexpr int kPipeBufferSize = 1 << 20;

    explicit TStdoutStream(int64_t Limit, int Fd = 1);
    int64_t Read(void*, int64_t) override { return 0; }
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Size() const override { return FPosition; }
    void SetSize(int64_t) override {}
    bool LimitReached() const { return FLimitReached; }

private:
    int FFd;
    int64_t FLimit;
    bool FLimitReached = false;
};

// Enlarges the buffer of the pipe Fd to at least Size bytes when Fd is a pipe with a smaller
// one; anything else, or a refusal, leaves Fd as it is.
void EnlargePipeBuffer(int Fd, int Size);
