#include "ZAWindowStream.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "ZACheckedMath.h"

TZAWindowStream::TZAWindowStream(int64_t Start, int32_t Count)
    : FStart(std::max<int64_t>(Start, 0)), FWindow(static_cast<size_t>(std::max(Count, 0))) {}

int64_t TZAWindowStream::Read(void*, int64_t) { return 0; }

int64_t TZAWindowStream::Write(const void* Buffer, int64_t Count) {
    if (FPosition < 0 || Count <= 0) return 0;
    const std::optional<int64_t> end = ZACheckedAdd(FPosition, Count);
    if (!end) return 0;
    const int64_t windowEnd = ZACheckedAdd(FStart, static_cast<int64_t>(FWindow.size()))
                                  .value_or(std::numeric_limits<int64_t>::max());
    const int64_t from = std::max(FPosition, FStart);
    const int64_t to = std::min(*end, windowEnd);
    if (from < to) {
        std::memcpy(FWindow.data() + (from - FStart),
                    static_cast<const uint8_t*>(Buffer) + (from - FPosition),
                    static_cast<size_t>(to - from));
    }
    FPosition = *end;
    FSize = std::max(FSize, *end);
    return Count;
}

void TZAWindowStream::SetSize(int64_t NewSize) {
    FSize = std::max<int64_t>(NewSize, 0);
    FPosition = std::min(FPosition, FSize);
}
