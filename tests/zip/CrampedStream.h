#pragma once
// A memory stream that takes at most Room bytes in all; further writes fall short, as on a
// disk that is full.
#include <algorithm>
#include <cstdint>

#include "zip/ZAStream.h"

class CrampedStream : public TZAMemoryStream {
public:
    int64_t Write(const void* Buffer, int64_t Count) override {
        const int64_t n = std::max<int64_t>(0, std::min(Count, Room - Size()));
        return TZAMemoryStream::Write(Buffer, n);
    }
    int64_t Room = 0;
};
