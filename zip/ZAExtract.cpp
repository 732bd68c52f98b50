// Reading one entry of the open archive into a stream, a buffer or a text.
#include <string_view>

#include "ZABaseArchiver.h"
#include "ZADirManager.h"
#include "ZAEntryExtraction.h"
#include "ZAExcept.h"
#include "platform/codepage.h"

namespace {

// The extraction lookups search without recursion; the caller's setting comes back when the
// operation ends, also after a failure.
class TRecurseOff {
public:
    explicit TRecurseOff(TZAOptions& Options) : FOptions(Options), FSaved(Options.Recurse()) {
        FOptions.SetRecurse(false);
    }
    ~TRecurseOff() { FOptions.SetRecurse(FSaved); }
    TRecurseOff(const TRecurseOff&) = delete;
    TRecurseOff& operator=(const TRecurseOff&) = delete;

private:
    TZAOptions& FOptions;
    bool FSaved;
};

}  // namespace

void TZABaseArchiver::ExtractToStream(const ZAString& FileName, TZAStream& Stream) {
    CheckActive();
    CheckNotInUpdate();
    FProgressEnabled = true;
    FProgressCancel = false;
    TRecurseOff recurseOff(FOptions);
    FProcessedFileNo = 0;
    DoOnOverallProgress(0.0, poExtract, ppStart, FProgressCancel);
    CheckActive();  // the handler may have closed the archive

    int32_t itemNo = -1;
    if (!FindEntryForExtraction(FileName, itemNo)) throw EZAException(15, {FileName}, this);
    const ZAString entryName = DMHandle->CDir.ItemPtr(itemNo)->Name;
    FProcessedFileCount = 1;
    ExtractEntry(itemNo, Stream, 0, 0);
    DoOnFileProgress(entryName, 100.0, poExtract, ppEnd, FProgressCancel);
    DoOnOverallProgress(100.0, poExtract, ppEnd, FProgressCancel);
}

void TZABaseArchiver::ExtractToBuffer(const ZAString& FileName, void* Buffer, int32_t Count,
                                      int64_t StartPosition) {
    CheckActive();
    CheckNotInUpdate();
    FProgressEnabled = false;
    FProgressCancel = false;
    TRecurseOff recurseOff(FOptions);

    int32_t itemNo = -1;
    if (!FindEntryForExtraction(FileName, itemNo)) throw EZAException(15, {FileName}, this);
    // Only the output from the chunk that holds StartPosition on is kept.
    TZAMemoryStream window;
    ExtractEntry(itemNo, window, Count, StartPosition);
    if (StartPosition == 0) window.SetPosition(0);
    window.ReadBuffer(Buffer, Count);
}

void TZABaseArchiver::ExtractToString(const ZAString& FileName, ZAString& Text) {
    CheckActive();
    CheckNotInUpdate();
    FProgressEnabled = false;
    FProgressCancel = false;
    TRecurseOff recurseOff(FOptions);

    int32_t itemNo = -1;
    if (!FindEntryForExtraction(FileName, itemNo)) throw EZAException(15, {FileName}, this);
    TZAMemoryStream bytes;
    ExtractEntry(itemNo, bytes, 0, 0);
    Text = platform::Cp1252ToUtf16(std::string_view(reinterpret_cast<const char*>(bytes.Memory()),
                                                    static_cast<size_t>(bytes.Size())));
}

void TZABaseArchiver::ExtractEntry(int32_t ItemNo, TZAStream& Stream, int32_t Count,
                                   int64_t StartPosition, TZAProcessOperation Operation) {
    if (ItemNo < 0 || ItemNo >= DMHandle->CDir.Count()) throw EZAException(16, this);
    const TDirItem& item = *DMHandle->CDir.ItemPtr(ItemNo);
    OpenVolume(EntryVolume(item));
    DMHandle->SetCompressedStream(FCompressedStream);
    FCompressedStream->SetPosition(static_cast<int64_t>(item.EffectiveRelOffsetLH()));
    TZAEntryExtraction extraction(*this, *FCompressedStream, Stream, item, Count, StartPosition,
                                  Operation);
    const bool ok = extraction.Run();
    if (!ok && !FProgressCancel && !FExtractCorruptedFiles && !FSkipFile)
        throw EZAException(8, this);
}

TZAVolumeNumberInfo TZABaseArchiver::EntryVolume(const TDirItem& Item) const {
    const bool zip64 = DMHandle->FZip64;
    int32_t first = Item.CentralDir.diskNumberStart;
    if (first == ZA_ZIP64_MARKER16)
        first = zip64 ? static_cast<int32_t>(Item.Zip64ExtInfo.diskNumberStart) : 0;
    int32_t last = DMHandle->CentralDirEnd.diskNumber;
    if (last == ZA_ZIP64_MARKER16)
        last = zip64 ? ZALastVolumeOf(DMHandle->Zip64CentralDirEndLocator.totalNumberOfDisks) : 0;
    TZAVolumeNumberInfo volume;
    volume.SetVolumeNumber(first);
    volume.SetLastVolumeNumber(last);
    return volume;
}
