#include "ZAOverlap.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "ZADirArray.h"
#include "ZARecords.h"

namespace {

struct TSpan {
    uint32_t Volume;
    uint64_t Start;
    uint64_t End;  // one past the last byte; saturated
    int32_t Item;
};

uint64_t SaturatedAdd(uint64_t a, uint64_t b) {
    uint64_t sum = 0;
    return __builtin_add_overflow(a, b, &sum) ? std::numeric_limits<uint64_t>::max() : sum;
}

}  // namespace

std::vector<bool> ZAFindOverlappingEntries(const TZADirArray& Dir, bool SameVolume) {
    const int32_t count = Dir.Count();
    std::vector<bool> overlapping(static_cast<size_t>(count), false);
    std::vector<TSpan> spans;
    spans.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        const TDirItem& item = *Dir.ItemPtr(i);
        // The batch reads no data of a folder entry; and behind a stub whose size the offsets
        // leave out, a folder's offset is the only one not moved, so it may point anywhere.
        if (item.IsDirectory()) continue;
        const uint64_t start = item.EffectiveRelOffsetLH();
        const uint64_t end = SaturatedAdd(SaturatedAdd(start, TZAZipLocalHeader::Size),
                                          item.EffectiveCompSize());
        spans.push_back({SameVolume ? 0 : item.EffectiveDiskNumberStart(), start, end, i});
    }
    std::sort(spans.begin(), spans.end(), [](const TSpan& a, const TSpan& b) {
        return a.Volume != b.Volume ? a.Volume < b.Volume : a.Start < b.Start;
    });
    // Walking the spans by start, an entry overlaps an earlier one exactly when it starts
    // before the furthest end seen so far on its volume; the entry that reaches that end
    // overlaps it as well.
    const TSpan* furthest = nullptr;
    for (const TSpan& span : spans) {
        if (furthest && furthest->Volume == span.Volume && span.Start < furthest->End) {
            overlapping[static_cast<size_t>(span.Item)] = true;
            overlapping[static_cast<size_t>(furthest->Item)] = true;
        }
        if (!furthest || furthest->Volume != span.Volume || span.End > furthest->End)
            furthest = &span;
    }
    return overlapping;
}
