// The work of a batch for one entry: extracting it into a file below the target folder, or
// testing it into a stream that drops the data.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "ZABaseArchiver.h"
#include "ZAConst.h"
#include "ZADirManager.h"
#include "ZADiskWriter.h"
#include "ZAExcept.h"
#include "platform/host_files.h"

namespace {

constexpr uint32_t kDosReadOnly = 0x01;
constexpr uint8_t kHostUnix = 3;

bool IsFolderEntry(const ZAString& Name, uint32_t Attributes) {
    return (Attributes & ZA_ATTR_DIRECTORY) != 0 ||
           (!Name.empty() && (Name.back() == u'/' || Name.back() == u'\\'));
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// Permission bits for an extracted file: those an entry made on Unix carries in the high 16
// bits of its attributes (read, write and execute only), else the usual ones for a new file;
// the DOS read-only bit takes the write permissions away.
uint32_t FileMode(const TDirItem& Item, uint32_t Attributes) {
    const uint32_t unixBits = (Attributes >> 16) & 0777;
    uint32_t mode = (Item.CentralDir.versionMadeBy >> 8) == kHostUnix && unixBits != 0
                        ? unixBits
                        : 0666 & ~static_cast<uint32_t>(CurrentUmask());
    if (Attributes & kDosReadOnly) mode &= ~0222u;
    return mode;
}

// The entry's own permission bits for a folder, when it was made on Unix.
int32_t FolderMode(const TDirItem& Item, uint32_t Attributes) {
    const uint32_t unixBits = (Attributes >> 16) & 0777;
    if ((Item.CentralDir.versionMadeBy >> 8) != kHostUnix || unixBits == 0) return -1;
    return static_cast<int32_t>(unixBits);
}

std::string HostName(const ZAString& Name) {
    std::string host = Utf16ToUtf8(Name);
    for (char& c : host)
        if (c == '\\') c = '/';
    return host;
}

// Whether the overwrite rules let the entry replace an existing file.
bool MayReplace(TZAOverwriteMode Mode, uint32_t EntryTime, const TZAPathState& Existing) {
    const uint32_t fileTime = ZATimeToDosDateTime(Existing.Modified);
    switch (Mode) {
        case omAlways: return true;
        case omNever: return false;
        case omIfNewer: return EntryTime > fileTime;
        case omIfOlder: return EntryTime < fileTime;
        default: return false;
    }
}

}  // namespace

void TZABaseArchiver::ExtractEntryToFile(int32_t ItemNo, const ZAString& Name,
                                         const ZAString& TargetDir) {
    const TDirItem item = *DMHandle->CDir.ItemPtr(ItemNo);
    const ZAString storedName = ToHandlerName(Name);
    ZAString fileName = storedName;
    uint32_t attributes = item.CentralDir.externalAttr;
    DoOnExtractFile(fileName, attributes, item.Comment);

    // A name the handler chose that is absolute is the caller's own path; every other name
    // stays below the target folder.
    std::string root = HostName(TargetDir);
    std::string relative = HostName(fileName);
    if (fileName != storedName && !relative.empty() && relative[0] == '/') {
        const size_t slash = relative.rfind('/');
        root = slash == 0 ? "/" : relative.substr(0, slash);
        relative = relative.substr(slash + 1);
    }
    TZAPathParts parts;
    if (!ZASplitConfinedPath(relative, parts))
        throw EZAException(neFileCreateFailed, ZAUnsafeNameText, {Name}, this);
    if (!FOptions.CreateDirs() && !parts.empty()) parts.erase(parts.begin(), parts.end() - 1);

    const TZAConfinedFolder target(root);
    if (IsFolderEntry(fileName, attributes)) {
        if (!FOptions.CreateDirs() || parts.empty()) return;
        const int fd = target.OpenFolder(parts, parts.size(), true);
        if (fd < 0)
            throw EZAException(neFolderCreateFailed,
                               {Utf8ToUtf16(target.FullPath(parts, parts.size()))}, this);
        ::close(fd);
        FFolderStamps.push_back({Utf8ToUtf16(root), parts, item.CentralDir.lastModDate,
                                 item.CentralDir.lastModTime, FolderMode(item, attributes)});
        return;
    }
    if (parts.empty()) throw EZAException(neFileCreateFailed, ZAUnsafeNameText, {Name}, this);

    const std::string full = target.FullPath(parts, parts.size());
    const int folderFd = target.OpenFolder(parts, parts.size() - 1, FOptions.CreateDirs());
    if (folderFd < 0)
        throw EZAException(neFolderCreateFailed,
                           {Utf8ToUtf16(target.FullPath(parts, parts.size() - 1))}, this);
    const TZAPathState existing = TZAConfinedFolder::StateAt(folderFd, parts.back());
    if (existing.Kind != TZAPathState::None) {
        bool replace;
        if (!FOptions.ReplaceReadOnly() && existing.Kind == TZAPathState::File &&
            existing.ReadOnly) {
            replace = false;
        } else if (FOptions.OverwriteMode() == omPrompt) {
            ZAString dest = Utf8ToUtf16(full);
            replace = false;
            try {
                DoOnConfirmOverwrite(fileName, dest, replace);
            } catch (...) {
                ::close(folderFd);
                throw;
            }
        } else {
            const uint32_t entryTime = static_cast<uint32_t>(item.CentralDir.lastModDate) << 16 |
                                       item.CentralDir.lastModTime;
            replace = MayReplace(FOptions.OverwriteMode(), entryTime, existing);
        }
        if (!replace) {
            ::close(folderFd);
            ++FSkippedFileCount;
            return;
        }
    }

    // A failure leaves the pending file, which removes itself; an existing file stays.
    TZAPendingFile file(folderFd, parts.back(), full);
    CheckActive();  // the overwrite handler may have closed the archive
    try {
        ExtractEntry(ItemNo, file, 0, 0, poExtract);
    } catch (const EZAStreamError&) {
        // The archive ends inside the entry: a damaged entry, not the end of the batch.
        throw EZAException(neEntryFailed, this);
    }
    file.SetModified(ZADosDateTimeToTime(item.CentralDir.lastModDate, item.CentralDir.lastModTime));
    if (FOptions.FlushBuffers() && platform::IsOnRemovableMedia(full)) file.FlushToDevice();
    if (FSkipFile || FProgressCancel) {
        if (FSkipFile) ++FSkippedFileCount;
        file.Discard();
        return;
    }
    if (FOptions.SetAttributes()) file.SetMode(FileMode(item, attributes));
    else file.SetMode(0666 & ~static_cast<uint32_t>(CurrentUmask()));
    if (!file.Commit()) throw EZAException(neFileCreateFailed, {Utf8ToUtf16(full)}, this);
}

void TZABaseArchiver::TestEntry(int32_t ItemNo, const ZAString&) {
    if (DMHandle->CDir.ItemPtr(ItemNo)->IsDirectory()) return;
    TNullStream discard;
    try {
        ExtractEntry(ItemNo, discard, 0, 0, poTest);
    } catch (const EZAStreamError&) {
        throw EZAException(neEntryFailed, this);
    }
    if (FSkipFile) ++FSkippedFileCount;
}

void TZABaseArchiver::StampExtractedFolders() {
    // Deepest folders first: a parent whose permissions shut others out comes after them.
    std::stable_sort(FFolderStamps.begin(), FFolderStamps.end(),
                     [](const TZAFolderStamp& a, const TZAFolderStamp& b) {
                         return a.Parts.size() > b.Parts.size();
                     });
    for (auto it = FFolderStamps.begin(); it != FFolderStamps.end(); ++it) {
        try {
            const TZAConfinedFolder root(HostName(it->Root));
            ZASetFolderTime(root, it->Parts, ZADosDateTimeToTime(it->Date, it->Time),
                            it->Mode >= 0 ? std::optional<uint32_t>(static_cast<uint32_t>(it->Mode))
                                          : std::nullopt);
        } catch (const EZAException&) {
        }
    }
    FFolderStamps.clear();
}
