// Reading one entry of the open archive into a stream, a buffer or a text.
#include <cstring>
#include <string_view>

#include "ZABaseArchiver.h"
#include "ZACheckedMath.h"
#include "ZADirManager.h"
#include "ZAEntryExtraction.h"
#include "ZAExcept.h"
#include "ZAWindowStream.h"
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
    // Only the window's bytes are kept, however much of the entry is inflated to reach them.
    TZAWindowStream window(StartPosition, Count);
    ExtractEntry(itemNo, window, Count, StartPosition);
    if (!window.Filled()) throw EZAReadError();
    if (Count > 0) std::memcpy(Buffer, window.Window(), static_cast<size_t>(Count));
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
    SeekLocalHeader(item);
    TZAEntryExtraction extraction(*this, *FCompressedStream, Stream, item, Count, StartPosition,
                                  Operation);
    const bool ok = extraction.Run();
    if (!ok && !FProgressCancel && !FExtractCorruptedFiles && !FSkipFile)
        throw EZAException(8, this);
}

void TZABaseArchiver::SeekLocalHeader(const TDirItem& Item) {
    OpenVolume(EntryVolume(Item));
    DMHandle->SetCompressedStream(FCompressedStream);
    // An offset beyond any position leaves nothing to read there: the header read fails.
    FCompressedStream->SetPosition(ZAToInt64(Item.EffectiveRelOffsetLH()).value_or(-1));
}

TZAVolumeNumberInfo TZABaseArchiver::EntryVolume(const TDirItem& Item) const {
    const bool zip64 = DMHandle->FZip64;
    int32_t first = Item.CentralDir.diskNumberStart;
    if (first == ZA_ZIP64_MARKER16)
        first = zip64 ? ZAVolumeNumberOf(Item.Zip64ExtInfo.diskNumberStart) : 0;
    int32_t last = DMHandle->CentralDirEnd.diskNumber;
    if (last == ZA_ZIP64_MARKER16)
        last = zip64 ? ZALastVolumeOf(DMHandle->Zip64CentralDirEndLocator.totalNumberOfDisks) : 0;
    TZAVolumeNumberInfo volume;
    volume.SetVolumeNumber(first);
    volume.SetLastVolumeNumber(last);
    return volume;
}
