// The batch operations ExtractFiles and TestFiles: select entries, then run each through the
// extraction with confirmation, progress phases and the failure dialogue, holding the
// process-wide batch lock.
#include <filesystem>
#include <mutex>

#include "ZABaseArchiver.h"
#include "ZAConst.h"
#include "ZADirManager.h"
#include "ZAExcept.h"
#include "ZAMasks.h"
#include "ZAOverlap.h"

namespace {

constexpr int32_t kAnyAttributes = 10431;

// Batches of all archivers in the process run one after the other. A handler that starts
// another batch from inside one runs it on the same thread, which the lock lets through.
std::recursive_mutex& BatchLock() {
    static std::recursive_mutex lock;
    return lock;
}

// Runs the dispatcher of an ...End event so that a cancel set before it stays set.
template <typename Raise>
void KeepingCancel(bool& Cancel, Raise raise) {
    const bool before = Cancel;
    raise();
    Cancel = before || Cancel;
}

ZAString CurrentFolder() {
    std::error_code ec;
    const std::filesystem::path here = std::filesystem::current_path(ec);
    return ec ? ZAString(u".") : Utf8ToUtf16(here.string());
}

}  // namespace

void TZABaseArchiver::ExtractFiles() {
    CheckActive();
    CheckNotInUpdate();
    TagEntriesByProperties();
    ProcessTaggedEntries(poExtract, -1);
}

void TZABaseArchiver::ExtractFiles(const ZAString& FileMask, int32_t SearchAttr,
                                   const ZAString& ExclusionMask) {
    CheckActive();
    CheckNotInUpdate();
    if (FOptions.Recurse() || ZAHasWildcards(FileMask) || !ExclusionMask.empty() ||
        SearchAttr != kAnyAttributes) {
        TagEntriesByMask(FileMask, SearchAttr, ExclusionMask);
        ProcessTaggedEntries(poExtract, -1);
        return;
    }
    TZAArchiveItem f;
    if (!FindFirst(FileMask, f, SearchAttr, ExclusionMask)) return;
    DMHandle->CDir.ClearTags();
    DMHandle->CDir.ItemPtr(f.Handle.ItemNo)->Tagged = true;
    ProcessTaggedEntries(poExtract, f.Handle.ItemNo);
}

void TZABaseArchiver::TestFiles() {
    CheckActive();
    CheckNotInUpdate();
    TagEntriesByProperties();
    ProcessTaggedEntries(poTest, -1);
}

void TZABaseArchiver::TestFiles(const ZAString& FileMask, int32_t SearchAttr,
                                const ZAString& ExclusionMask) {
    CheckActive();
    CheckNotInUpdate();
    TagEntriesByMask(FileMask, SearchAttr, ExclusionMask);
    ProcessTaggedEntries(poTest, -1);
}

void TZABaseArchiver::ProcessTaggedEntries(TZAProcessOperation Operation, int32_t ItemNo) {
    std::lock_guard<std::recursive_mutex> lock(BatchLock());
    std::vector<int32_t> entries;
    if (ItemNo >= 0) {
        entries.push_back(ItemNo);
    } else {
        for (int32_t i = 0; i < DMHandle->CDir.Count(); ++i)
            if (DMHandle->CDir.ItemPtr(i)->Tagged) entries.push_back(i);
    }
    // Found before any data is read, over the whole directory: an entry that shares bytes
    // with one outside the selection is refused as well.
    const std::vector<bool> overlapping =
        ZAFindOverlappingEntries(DMHandle->CDir, FSpanningMode == smNone);

    FProcessedFileNo = 0;
    FProcessedFileCount = static_cast<int32_t>(entries.size());
    FProgressCancel = false;
    FProgressEnabled = true;
    FSkippedFileCount = 0;
    FFolderStamps.clear();
    bool aborted = false;

    // Folders get their times also when the batch ends by an exception.
    struct TStampAtEnd {
        TZABaseArchiver& Arc;
        ~TStampAtEnd() { Arc.StampExtractedFolders(); }
    } stampAtEnd{*this};

    DoOnOverallProgress(0.0, Operation, ppStart, FProgressCancel);
    if (FProgressCancel) {
        CancelUpdate();
        return;
    }
    for (const int32_t index : entries) {
        // A handler may have closed the archive or opened another one.
        CheckActive();
        if (index >= DMHandle->CDir.Count()) break;
        const ZAString name = DMHandle->CDir.ItemPtr(index)->Name;
        DMHandle->CDir.ItemPtr(index)->Operation = Operation;
        bool stop = false;
        for (bool again = true; again;) {
            again = false;
            TZAAction action = fxaIgnore;
            try {
                bool confirm = true;
                DoOnConfirmProcessFile(name, Operation, confirm);
                if (!confirm) break;
                if (FCurrentDir.empty()) FCurrentDir = CurrentFolder();
                const ZAString target = FBaseDir.empty() ? FCurrentDir : FBaseDir;
                DoOnFileProgress(name, 0.0, Operation, ppStart, FProgressCancel);
                if (FProgressCancel) {
                    stop = true;
                    break;
                }
                CheckActive();
                if (overlapping[static_cast<size_t>(index)])
                    throw EZAException(neEntryFailed, ZAOverlapText, {name}, this);
                if (Operation == poExtract) ExtractEntryToFile(index, name, target);
                else TestEntry(index, name);
                KeepingCancel(FProgressCancel, [&] {
                    DoOnFileProgress(name, 100.0, Operation, ppEnd, FProgressCancel);
                });
            } catch (const EZAException& e) {
                DoOnProcessFileFailure(name, Operation, e.NativeError, e.ErrorCode, e.Message(),
                                       action);
                if (action == fxaRetry) again = true;
                if (action == fxaAbort) aborted = stop = true;
                continue;
            }
            if (FProgressCancel) stop = true;
            else ++FProcessedFileNo;
        }
        if (stop) break;
    }
    KeepingCancel(FProgressCancel,
                  [&] { DoOnOverallProgress(100.0, Operation, ppEnd, FProgressCancel); });
    if (FProgressCancel || aborted) CancelUpdate();
}
