#include "ZARawInflate.h"

#include <algorithm>

namespace {

// A zlib stream ends with its 4-byte Adler-32.
constexpr int kTrailerSize = 4;

}  // namespace

bool TZARawInflate::Init() {
    End();
    FStream = z_stream{};
    FBodyEnded = false;
    FTrailerBytes = 0;
    FActive = inflateInit2(&FStream, -MAX_WBITS) == Z_OK;
    return FActive;
}

void TZARawInflate::End() {
    if (FActive) inflateEnd(&FStream);
    FActive = false;
}

int TZARawInflate::Inflate() {
    if (FBodyEnded) return TakeTrailer(false);
    const uInt inBefore = FStream.avail_in;
    const uInt outBefore = FStream.avail_out;
    const int rc = inflate(&FStream, Z_NO_FLUSH);
    if (rc != Z_STREAM_END) return rc;
    FBodyEnded = true;
    return TakeTrailer(FStream.avail_in != inBefore || FStream.avail_out != outBefore);
}

// The bytes after the last block are read as the trailer, up to its 4 bytes. The data never
// carries a trailer matching its output, so a complete one is a check failure, as zlib
// reports it; a partial one leaves the stream waiting for more input.
int TZARawInflate::TakeTrailer(bool madeProgress) {
    if (FTrailerBytes == kTrailerSize) return Z_DATA_ERROR;
    const uInt take = std::min<uInt>(FStream.avail_in, static_cast<uInt>(kTrailerSize - FTrailerBytes));
    FStream.next_in += take;
    FStream.avail_in -= take;
    FStream.total_in += take;
    FTrailerBytes += static_cast<int>(take);
    if (FTrailerBytes == kTrailerSize) {
        FStream.msg = const_cast<char*>("incorrect data check");
        return Z_DATA_ERROR;
    }
    return madeProgress || take > 0 ? Z_OK : Z_BUF_ERROR;
}
