#include "zip_walk.h"

#include <algorithm>
#include <cstdlib>

#include "zip/ZADirManager.h"
#include "zip/ZAExcept.h"
#include "zip/ZAHashedStringList.h"
#include "zip/ZAStream.h"
#include "zip/ZipArchiver.h"

namespace {

// Stops the run the way a sanitizer would: the walk found the directory out of step.
[[noreturn]] void Inconsistent(const char* what) {
    std::fprintf(stderr, "directory inconsistent: %s\n", what);
    std::abort();
}

void WalkDirectory(TZADirManager& dm) {
    TZADirArray& dir = dm.CDir;
    uint64_t checksum = 0;
    for (int32_t i = 0; i < dir.Count(); ++i) {
        const TDirItem& item = *dir.ItemPtr(i);
        checksum += item.EffectiveCompSize() + item.EffectiveUnCompSize() +
                    item.EffectiveRelOffsetLH() + item.EffectiveDiskNumberStart() +
                    item.CompressionMethod + item.Comment.size() + item.ExtraFields.size();
        for (const TZAExtraFieldDataBlock& block : item.ExtraFields) {
            if (block.dataSize != block.pData.size()) Inconsistent("extra block size");
        }
        int32_t found = -1;
        if (!dir.FileExists(item.Name, found)) Inconsistent("entry not found by its name");
        if (found < i || LowerAscii(dir.ItemPtr(found)->Name) != LowerAscii(item.Name)) {
            Inconsistent("lookup gave another name");
        }
    }
    if (checksum == 1) std::fprintf(stderr, " ");  // keeps the walk from being optimised away
}

// Discards what is written, up to a limit; further writes fall short, which the archiver
// answers with its disk-full error. Keeps entries that inflate hugely from slowing the walk.
class TCappedSink : public TNullStream {
public:
    int64_t Write(const void* Buffer, int64_t Count) override {
        const int64_t n = std::max<int64_t>(0, std::min(Count, kLimit - Size()));
        return TNullStream::Write(Buffer, n);
    }

private:
    static constexpr int64_t kLimit = 4 << 20;
};

// Reads the first entries with the password the encrypted seeds use, so that decryption and
// the password attempts are reached. With no prompt installed, a password that does not
// work skips the entry.
void ReadEntries(TZipArchiver& archiver, TZADirManager& dm) {
    archiver.SetPassword(kFuzzPassword);
    const int32_t count = std::min(dm.CDir.Count(), 8);
    for (int32_t i = 0; i < count; ++i) {
        const ZAString name = dm.CDir.ItemPtr(i)->Name;
        TCappedSink sink;
        try {
            archiver.ExtractToStream(name, sink);
        } catch (const EZAError&) {
        }
        if (!archiver.Active()) return;
    }
}

}  // namespace

WalkResult WalkArchive(const uint8_t* data, size_t size, bool openCorrupted) {
    WalkResult result;
    TZAMemoryStream stream;
    stream.WriteBuffer(data, static_cast<int64_t>(size));
    stream.SetPosition(0);
    TZipArchiver archiver;
    archiver.SetOpenCorruptedArchives(openCorrupted);
    try {
        archiver.OpenArchive(stream, false);
        TZADirManager* dm = archiver.DirManager();
        if (!dm) Inconsistent("open without a directory manager");
        WalkDirectory(*dm);
        result.opened = true;
        result.entries = dm->CDir.Count();
        ReadEntries(archiver, *dm);
    } catch (const EZAError& e) {
        result.refusal = e.what();
    }
    archiver.CloseArchive();
    return result;
}
