#pragma once
// Inflate of an entry's raw deflate data. The extraction reads the data as if a zlib stream
// header (0x78 0x01) stood in front of it, so the end of the data behaves as in a zlib
// stream: the 4 bytes after the last deflate block are its Adler-32 trailer, which the
// entry's data never carries. Here zlib runs in raw mode, without keeping an Adler-32 of the
// whole output, and the bytes after the last block are taken as such a trailer: fewer than
// 4 are swallowed, 4 or more are a data error, with the return codes that zlib gives for a
// stream behind that header.
#include <cstdint>

#include <zlib.h>

class TZARawInflate {
public:
    TZARawInflate() = default;
    ~TZARawInflate() { End(); }
    TZARawInflate(const TZARawInflate&) = delete;
    TZARawInflate& operator=(const TZARawInflate&) = delete;

    // Starts a stream (32 KiB window); false when zlib cannot.
    bool Init();
    // Releases the stream; harmless when none is active.
    void End();
    bool Active() const { return FActive; }

    // Input, output and totals are those of this stream; total_in leaves out the header.
    z_stream& Stream() { return FStream; }
    // One zlib inflate call without flushing: Z_OK, Z_STREAM_END, Z_BUF_ERROR (no input used
    // and no output made) or a negative error.
    int Inflate();

private:
    // The call that decoded the last deflate block goes on into the trailer.
    int TakeTrailer(bool madeProgress);

    z_stream FStream{};
    bool FActive = false;
    bool FBodyEnded = false;  // the last deflate block has been decoded
    int FTrailerBytes = 0;    // bytes after it seen so far
};
