#include "zip_walk.h"

#include <stdlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <string>
#include <vector>

#include "zip/ZADirManager.h"
#include "zip/ZAExcept.h"
#include "zip/ZAHashedStringList.h"
#include "zip/ZAStream.h"
#include "zip/ZipArchiver.h"
#include "platform/host_error.h"

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
        } catch (const platform::HostError&) {
        }
        if (!archiver.Active()) return;
    }
}

// Opens the archive through Open and walks its directory; archiver, stream and host errors
// become the result's refusal.
void OpenAndWalk(TZipArchiver& archiver, const std::function<void()>& Open, WalkResult& result) {
    try {
        Open();
        TZADirManager* dm = archiver.DirManager();
        if (!dm) Inconsistent("open without a directory manager");
        WalkDirectory(*dm);
        result.opened = true;
        result.entries = dm->CDir.Count();
    } catch (const EZAError& e) {
        result.refusal = e.what();
    } catch (const platform::HostError& e) {
        result.refusal = e.what();
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
    OpenAndWalk(archiver, [&] { archiver.OpenArchive(stream, false); }, result);
    if (result.opened) ReadEntries(archiver, *archiver.DirManager());
    archiver.CloseArchive();
    return result;
}

namespace {

// A fresh folder for one input, removed when the walk ends (libFuzzer may leave the process
// without running static destructors, so nothing outlives an input).
struct TVolumeFolder {
    TVolumeFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kalvero-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        Path = pattern;
    }
    ~TVolumeFolder() {
        std::error_code ec;
        std::filesystem::remove_all(Path, ec);
    }
    std::string Path;
};

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

WalkResult WalkVolumeSet(const uint8_t* data, size_t size) {
    WalkResult result;
    if (size < 1) return result;
    const size_t count = 2 + data[0] % 2;
    std::vector<size_t> lengths;
    size_t at = 1;
    for (size_t i = 0; i + 1 < count; ++i, at += 2)
        lengths.push_back(at + 2 <= size ? static_cast<size_t>(data[at] | (data[at + 1] << 8)) : 0);
    at = std::min(at, size);
    std::vector<std::pair<size_t, size_t>> volumes;  // offset, length
    for (const size_t length : lengths) {
        volumes.emplace_back(at, std::min(length, size - at));
        at += volumes.back().second;
    }
    volumes.emplace_back(at, size - at);

    const TVolumeFolder volumeFolder;
    const std::string& folder = volumeFolder.Path;
    const std::string names[] = {folder + "/set.z01", folder + "/set.z02"};
    for (size_t i = 0; i + 1 < count; ++i)
        WriteFile(names[i], data + volumes[i].first, volumes[i].second);
    WriteFile(folder + "/set.zip", data + volumes.back().first, volumes.back().second);

    TZipArchiver archiver;
    archiver.SetFileName(Utf8ToUtf16(folder + "/set.zip"));
    OpenAndWalk(archiver, [&] { archiver.OpenArchive(TZABaseArchiver::fmReadOnlyDenyNone); },
                result);
    if (result.opened) ReadEntries(archiver, *archiver.DirManager());
    archiver.CloseArchive();
    return result;
}
