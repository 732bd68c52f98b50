// libFuzzer entry: arbitrary bytes opened as an archive and every entry read, as a whole with
// damaged entries refused and then taken as far as they go, through a small window, and found
// again by a mask. A password handler offers one fixed password per entry and then skips; the
// output of each read is capped, and no prompt is installed, so nothing waits for a user.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "zip/ZADirManager.h"
#include "zip/ZAExcept.h"
#include "zip/ZAStream.h"
#include "zip/ZipArchiver.h"

namespace {

// What one read may write before the output refuses more (the disk-full handler then gives up).
constexpr int64_t kOutputCap = 1048576;
// Entries read per input; a directory may claim many more.
constexpr int32_t kMaxEntries = 8;
constexpr int32_t kAnyAttribute = 10431;

// Counts what is written and drops it; takes at most kOutputCap bytes.
class TCappedSink : public TZAStream {
public:
    int64_t Read(void*, int64_t) override { return 0; }
    int64_t Write(const void*, int64_t Count) override {
        if (FPosition < 0 || Count <= 0) return 0;
        const int64_t n = std::min(Count, std::max<int64_t>(kOutputCap - FPosition, 0));
        FPosition += n;
        FSize = std::max(FSize, FPosition);
        return n;
    }
    int64_t Size() const override { return FSize; }
    void SetSize(int64_t NewSize) override { FSize = std::max<int64_t>(NewSize, 0); }

private:
    int64_t FSize = 0;
};

// Archiver and stream errors are answers; anything else escapes and ends the run.
template <typename Operation>
void Attempt(Operation operation) {
    try {
        operation();
    } catch (const EZAError&) {
    }
}

void ReadEntry(TZipArchiver& archiver, const ZAString& name, uint64_t statedSize,
               int& passwordOffers, int64_t windowStart) {
    for (const bool corrupted : {false, true}) {
        archiver.SetExtractCorruptedFiles(corrupted);
        passwordOffers = 0;
        TCappedSink sink;
        Attempt([&] { archiver.ExtractToStream(name, sink); });
    }
    // A window read inflates whole chunks of input, bounded only by the size the directory
    // states: entries that claim more than the cap are not read this way.
    if (statedSize <= static_cast<uint64_t>(kOutputCap)) {
        archiver.SetExtractCorruptedFiles(false);
        passwordOffers = 0;
        uint8_t window[16];
        Attempt([&] { archiver.ExtractToBuffer(name, window, sizeof window, windowStart); });
    }

    // The name's first character and a wildcard find this entry or one before it.
    const ZAString mask = name.substr(0, 1) + u"*";
    TZAArchiveItem found;
    int steps = 0;
    Attempt([&] {
        for (bool ok = archiver.FindFirst(mask, found, kAnyAttribute, u""); ok && steps < 4;
             ok = archiver.FindNext(found)) {
            ++steps;
        }
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TZAMemoryStream stream;
    stream.WriteBuffer(data, static_cast<int64_t>(size));
    stream.SetPosition(0);
    TZipArchiver archiver;
    int passwordOffers = 0;
    archiver.OnPassword = [&](TZABaseArchiver*, const ZAString&, ZAAnsiString& password,
                              bool& skip) {
        if (passwordOffers++ == 0) {
            password = "kalvero";
        } else {
            skip = true;
        }
    };
    archiver.OnDiskFull = [](TZABaseArchiver*, int32_t, const ZAString&, bool& cancel) {
        cancel = true;
    };
    Attempt([&] {
        archiver.OpenArchive(stream, false);
        std::vector<std::pair<ZAString, uint64_t>> entries;
        const TZADirArray& dir = archiver.DirManager()->CDir;
        for (int32_t i = 0; i < std::min(dir.Count(), kMaxEntries); ++i) {
            entries.emplace_back(dir.ItemPtr(i)->Name, dir.ItemPtr(i)->EffectiveUnCompSize());
        }
        // The window starts at 0 and, for every other entry, somewhere inside the output.
        int64_t windowStart = 0;
        for (const auto& [name, statedSize] : entries) {
            ReadEntry(archiver, name, statedSize, passwordOffers, windowStart);
            windowStart = windowStart == 0 ? 100 + static_cast<int64_t>(size % 4000) : 0;
        }
    });
    archiver.CloseArchive();
    return 0;
}
