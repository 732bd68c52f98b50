// Volumes of a multi-volume set: their file names, opening the designated volume and the
// requests that ask the host program or the user for a volume.
#include <limits>

#include "ZABaseArchiver.h"
#include "ZADirManager.h"
#include "ZAExcept.h"
#include "ZAFormat.h"
#include "ZAPrompt.h"
#include "ZAStrFunc.h"
#include "platform/case_lookup.h"

namespace {

// The existing volume file that Name designates: Name itself, or the one file beside it whose
// name differs only in the case of A to Z (Info-ZIP writes finds.z01 where the rules form
// finds.Z01). Empty when there is none.
ZAString FindVolumeFile(const ZAString& Name) {
    if (Name.empty()) return {};
    return Utf8ToUtf16(platform::FindFileIgnoringCase(Utf16ToUtf8(Name)));
}

// Name, or the existing file that differs from it only in case.
ZAString ExistingOrAsFormed(const ZAString& Name) {
    const ZAString found = FindVolumeFile(Name);
    return found.empty() ? Name : found;
}

bool FileExistsZA(const ZAString& name) { return !FindVolumeFile(name).empty(); }

bool ContainsExe(const ZAString& text) {
    return ZALowerAscii(text).find(u".exe") != ZAString::npos;
}

}  // namespace

bool TZABaseArchiver::IsSelfExtractingSet(const ZAString& AFileName) const {
    return (DMHandle && DMHandle->StubSize > 0) || !FSFXStub.empty() ||
           ContainsExe(ZAExtractFileExt(AFileName));
}

void TZABaseArchiver::GetVolumeFileName(ZAString& AFileName, int32_t VolumeNumber,
                                        bool TryOtherNaming) const {
    const ZAString dir = ZAExtractFilePath(AFileName);
    const ZAString ext = ZAExtractFileExt(AFileName);
    ZAString base = ZAExtractFileName(AFileName);
    base.resize(base.size() - ext.size());
    const bool sfx = IsSelfExtractingSet(AFileName);
    const bool advanced = FSpanningOptions.AdvancedNaming();

    if (VolumeNumber == -1) {
        if (FSpanningMode == smSplitting && sfx)
            AFileName = ExistingOrAsFormed(dir + base + u".ZIP");
        return;
    }
    if (VolumeNumber < 0) return;
    const int64_t shown = static_cast<int64_t>(VolumeNumber) + 1;
    if (FSpanningMode == smSplitting) {
        if (VolumeNumber == 0 && sfx) AFileName = dir + base + u".exe";
        else if (advanced) AFileName = dir + base + u"_" + ZAFormat(u"%.3u", {shown}) + ext;
        else AFileName = dir + base + u".Z" + ZAFormat(u"%.2d", {shown});
        AFileName = ExistingOrAsFormed(AFileName);
    } else if (FSpanningMode == smSpanning) {
        const ZAString e = sfx ? ZAString(u".exe") : ext;
        const ZAString numbered =
            ExistingOrAsFormed(dir + base + u"_" + ZAFormat(u"%.3u", {shown}) + e);
        const ZAString plain = ExistingOrAsFormed(dir + base + e);
        const ZAString& first = advanced ? numbered : plain;
        const ZAString& other = advanced ? plain : numbered;
        AFileName = first;
        if (TryOtherNaming && !FileExistsZA(first) && FileExistsZA(other)) AFileName = other;
    }
}

void TZABaseArchiver::OpenVolume(const TZAVolumeNumberInfo& Info) {
    if (FSpanningMode == smNone) {
        if (!FCompressedStream) OpenArchiveFile(FFileName);
        FVolumeNumberInfo.CopyDesignation(Info);
        return;
    }
    if (FileOpenMode == fmCreate) throw EZANotSupported(u"Writing a multi-volume archive");
    if (FVolumeNumberInfo.IsEqualTo(Info)) return;
    for (;;) {
        ZAString name = FFileName;
        bool cancel = false;
        if (Info.FirstVolume()) DoOnRequestFirstVolume(name, cancel);
        else if (Info.LastVolume()) DoOnRequestLastVolume(name, cancel);
        else DoOnRequestMiddleVolume(Info.VolumeNumber(), name, cancel);
        // An empty answer cannot name a volume: it is taken as a refusal.
        if (cancel || name.empty()) throw EZAException(45, this);
        const ZAString found = FindVolumeFile(name);
        if (!found.empty()) {
            OpenArchiveFile(found);
            FVolumeNumberInfo.CopyDesignation(Info);
            return;
        }
    }
}

void TZABaseArchiver::DoOnRequestFirstVolume(ZAString& VolumeFileName, bool& Cancel) {
    const ZAString kept = VolumeFileName;
    GetVolumeFileName(VolumeFileName, 0, !OnRequestFirstVolume);
    Cancel = false;
    if (OnRequestFirstVolume) {
        OnRequestFirstVolume(this, VolumeFileName, Cancel);
    } else if (FSpanningMode == smSpanning) {
        Cancel = ZAConfirm(u"Please insert the first disk", {pbOK, pbCancel}) != pbOK;
        VolumeFileName = kept;  // the disk has changed: look again
        GetVolumeFileName(VolumeFileName, 0, true);
    } else {
        Cancel = !FileExistsZA(VolumeFileName) && FileOpenMode != fmCreate;
    }
}

void TZABaseArchiver::DoOnRequestLastVolume(ZAString& VolumeFileName, bool& Cancel) {
    GetVolumeFileName(VolumeFileName, -1, true);
    Cancel = false;
    if (OnRequestLastVolume) {
        OnRequestLastVolume(this, VolumeFileName, Cancel);
    } else if (FSpanningMode == smSpanning) {
        Cancel = ZAConfirm(u"Please insert the last disk", {pbOK, pbCancel}) != pbOK;
        while (!Cancel && !FileExistsZA(VolumeFileName)) {
            Cancel = ZAConfirm(ZAFormat(u"File '%s' not found on inserted disk. Please insert "
                                        u"last disk with required file",
                                        {VolumeFileName}),
                               {pbOK, pbCancel}) != pbOK;
        }
    } else {
        Cancel = !FileExistsZA(VolumeFileName);
    }
}

void TZABaseArchiver::DoOnRequestMiddleVolume(int32_t VolumeNumber, ZAString& VolumeFileName,
                                              bool& Cancel) {
    const ZAString kept = VolumeFileName;
    GetVolumeFileName(VolumeFileName, VolumeNumber, !OnRequestMiddleVolume);
    Cancel = false;
    // Counted from 1 for people; a number read from a damaged archive may already be the
    // largest there is.
    const int32_t shown = VolumeNumber < std::numeric_limits<int32_t>::max() ? VolumeNumber + 1
                                                                             : VolumeNumber;
    if (OnRequestMiddleVolume) {
        OnRequestMiddleVolume(this, shown, VolumeFileName, Cancel);
        return;
    }
    if (FSpanningMode == smSpanning) {
        Cancel = ZAConfirm(ZAFormat(u"Please insert disk #%d", {shown}),
                           {pbOK, pbCancel}) != pbOK;
    } else {
        Cancel = !FileExistsZA(VolumeFileName);
    }
    VolumeFileName = kept;
    GetVolumeFileName(VolumeFileName, VolumeNumber, true);
}
