// Finding entries of the open archive: the mask and property searches, the lookup of the
// extraction operations, the search record and tagging for the batch operations.
#include <algorithm>

#include "ZABaseArchiver.h"
#include "ZADirManager.h"
#include "ZAMasks.h"
#include "ZAStrFunc.h"

namespace {

constexpr int32_t kAnyAttributes = 10431;

// Entry name without one final slash or backslash.
ZAString WithoutFinalSeparator(ZAString Name) {
    if (!Name.empty() && (Name.back() == u'/' || Name.back() == u'\\')) Name.pop_back();
    return Name;
}

// A name compared without regard to the kind of separator or ASCII case.
ZAString SeparatorFreeKey(const ZAString& Name) {
    return ZALowerAscii(ZABackslashesToSlashes(Name));
}

ZAString LowerFolderPart(const ZAString& Path) {
    return ZALowerAscii(ZAMaskFolderPart(ZASlashesToBackslashes(Path)));
}

}  // namespace

// ---- public searches -------------------------------------------------------------------------

bool TZABaseArchiver::FindFirst(TZAArchiveItem& F) {
    if (!FActive || !DMHandle) return false;
    TZAArchiveItem found = F;
    found.Handle.UseProperties = true;
    found.Handle.FFindAttr = FOptions.SearchAttr();
    found.Handle.ItemNo = 0;
    if (!ContinueSearch(found)) return false;
    F = std::move(found);
    return true;
}

bool TZABaseArchiver::FindFirst(const ZAString& FileMask, TZAArchiveItem& F, int32_t SearchAttr,
                                const ZAString& ExclusionMask) {
    if (!FActive || !DMHandle) return false;
    ZAString mask = FileMask;
    const ZAString drive = ZAMaskDrivePart(mask);
    if (!drive.empty() && FOptions.StorePath() != spFullPathWithDrive) mask.erase(0, drive.size());
    mask = ZABackslashesToSlashes(std::move(mask));
    // A mask that does not fit the search record finds nothing.
    if (mask.size() > static_cast<size_t>(TInternalSearchRec::MaxMaskLength)) return false;

    TZAArchiveItem found = F;
    TInternalSearchRec& h = found.Handle;
    std::fill(std::begin(h.CFindMask), std::end(h.CFindMask), u'\0');
    std::copy(mask.begin(), mask.end(), h.CFindMask);
    h.ExclusionMask = ExclusionMask;
    h.UseProperties = false;
    h.FWildCards = ZAHasWildcards(mask);
    h.FFindAttr = SearchAttr;
    h.ItemNo = 0;
    if (!ContinueSearch(found)) return false;
    F = std::move(found);
    return true;
}

bool TZABaseArchiver::FindNext(TZAArchiveItem& F) {
    if (!FActive || !DMHandle) return false;
    TZAArchiveItem found = F;
    ++found.Handle.ItemNo;
    if (!ContinueSearch(found)) return false;
    F = std::move(found);
    return true;
}

// ---- the search step -------------------------------------------------------------------------

bool TZABaseArchiver::ContinueSearch(TZAArchiveItem& F) {
    TZADirArray& dir = DMHandle->CDir;
    const int32_t count = dir.Count();
    const int32_t start = std::max<int32_t>(F.Handle.ItemNo, 0);
    const ZAString mask = F.Handle.FindMask();
    int32_t found = -1;

    if (F.Handle.FWildCards || FOptions.Recurse()) {
        const ZAString maskFolder = FOptions.Recurse() ? ZAString() : LowerFolderPart(mask);
        for (int32_t i = start; i < count; ++i) {
            const TDirItem* item = dir.ItemPtr(i);
            if (!FOptions.Recurse()) {
                const ZAString entryName = item->Name.empty() || item->Name.back() != u'/'
                                               ? item->Name
                                               : item->Name.substr(0, item->Name.size() - 1);
                if (LowerFolderPart(entryName) != maskFolder) continue;
            }
            if (!IsEntryMatching(i, F)) continue;
            if (!PassesAttrFilter(item->CentralDir.externalAttr, F.Handle.FFindAttr)) continue;
            found = i;
            break;
        }
    } else {
        int32_t itemNo = -1;
        if (dir.FileExists(mask, itemNo) && itemNo >= start) found = itemNo;
    }

    if (found < 0) return false;
    F.Handle.ItemNo = found;
    FillArchiveItem(found, F);
    return true;
}

bool TZABaseArchiver::IsEntryMatching(int32_t ItemNo, const TZAArchiveItem& F) {
    const ZAString& stored = DMHandle->CDir.ItemPtr(ItemNo)->Name;
    if (F.Handle.UseProperties) {
        const ZAString name = ZASlashesToBackslashes(stored);
        const auto matches = [&name](const ZAString& m) { return MatchesMask(name, m); };
        return std::any_of(FFileMasks.begin(), FFileMasks.end(), matches) &&
               std::none_of(FExclusionMasks.begin(), FExclusionMasks.end(), matches);
    }
    // Names stored with backslashes between folders match masks written with slashes.
    const ZAString name = ZABackslashesToSlashes(WithoutFinalSeparator(stored));
    const ZAString mask = F.Handle.FindMask();
    const bool included = MatchesMask(name, mask) ||
                          MatchesMask(ZAMaskFileNamePart(ZASlashesToBackslashes(name)), mask);
    return included && !MatchesMask(name, F.Handle.ExclusionMask);
}

// ---- the search record -----------------------------------------------------------------------

void TZABaseArchiver::FillArchiveItem(int32_t ItemNo, TZAArchiveItem& F) {
    const TDirItem* item = DMHandle->CDir.ItemPtr(ItemNo);
    const TZAZipCentralDir& cd = item->CentralDir;
    const ZAString n = WithoutFinalSeparator(ZASlashesToBackslashes(item->Name));
    F.FileName = ZAMaskFileNamePart(n);
    F.StoredPath = ZAMaskFolderPart(n);
    F.CompressedSize = static_cast<int64_t>(cd.compSize == ZA_ZIP64_MARKER32
                                                ? item->Zip64ExtInfo.compSize
                                                : cd.compSize);
    F.UncompressedSize = static_cast<int64_t>(cd.unCompSize == ZA_ZIP64_MARKER32
                                                  ? item->Zip64ExtInfo.uncompSize
                                                  : cd.unCompSize);
    double rate = 100.0;
    if (F.UncompressedSize > 0)
        rate = (1.0 - static_cast<double>(F.CompressedSize) /
                          static_cast<double>(F.UncompressedSize)) *
               100.0;
    F.CompressionRate = rate < 0.0 ? 0.0 : rate;
    F.Encrypted = item->IsEncrypted();
    F.LastModFileDate = cd.lastModDate;
    F.LastModFileTime = cd.lastModTime;
    F.CRC = static_cast<int32_t>(cd.crc32);
    F.ExternalFileAttributes = cd.externalAttr;
    F.Comment = item->Comment;
}

// ---- lookup for extraction -------------------------------------------------------------------

bool TZABaseArchiver::FindEntryForExtraction(const ZAString& FileName, int32_t& ItemNo) {
    if (DMHandle->CDir.FileExists(FileName, ItemNo) && ItemNo >= 0) return true;
    TZAArchiveItem f;
    if (FindFirst(FileName, f, kAnyAttributes, ZAString())) {
        ItemNo = f.Handle.ItemNo;
        return true;
    }
    // Last, the name as a listing shows it: '/' or '\' between folders, a folder without its
    // final separator. Only a miss pays for this scan.
    const ZAString wanted = SeparatorFreeKey(FileName);
    const TZADirArray& dir = DMHandle->CDir;
    for (int32_t i = 0; i < dir.Count(); ++i) {
        if (SeparatorFreeKey(dir.ItemPtr(i)->Name) == wanted) {
            ItemNo = i;
            return true;
        }
    }
    return false;
}

// ---- selection for the batch operations ------------------------------------------------------

void TZABaseArchiver::TagEntriesByMask(const ZAString& FileMask, int32_t SearchAttr,
                                       const ZAString& ExclusionMask) {
    TZADirArray& dir = DMHandle->CDir;
    dir.ClearTags();
    TZAArchiveItem f;
    for (bool ok = FindFirst(FileMask, f, SearchAttr, ExclusionMask); ok; ok = FindNext(f))
        dir.ItemPtr(f.Handle.ItemNo)->Tagged = true;
}

void TZABaseArchiver::TagEntriesByProperties() {
    TZADirArray& dir = DMHandle->CDir;
    dir.ClearTags();
    TZAArchiveItem f;
    for (bool ok = FindFirst(f); ok; ok = FindNext(f)) dir.ItemPtr(f.Handle.ItemNo)->Tagged = true;
}
