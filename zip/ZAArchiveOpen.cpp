// Opening and closing the archive: the file mode, the decision between a single file and a
// volume of a set, loading the directory, and the quick validity test.
#include <array>

#include "ZABaseArchiver.h"
#include "ZADirManager.h"
#include "ZAExcept.h"
#include "ZAStrFunc.h"
#include "platform/host_error.h"
#include "platform/host_files.h"

namespace {

bool FileExistsZA(const ZAString& name) { return platform::FileExists(Utf16ToUtf8(name)); }

// Sets a flag for the duration of a scope and restores it afterwards, also after a failure.
class TFlagOverride {
public:
    TFlagOverride(bool& flag, bool value) : FFlag(flag), FSaved(flag) { FFlag = value; }
    ~TFlagOverride() { FFlag = FSaved; }
    TFlagOverride(const TFlagOverride&) = delete;
    TFlagOverride& operator=(const TFlagOverride&) = delete;

private:
    bool& FFlag;
    bool FSaved;
};

}  // namespace

// ---- names -------------------------------------------------------------------------------

bool TZABaseArchiver::IsExeFileName(const ZAString& AFileName) const {
    return ZALowerAscii(ZAExtractFileExt(AFileName)).find(u".exe") != ZAString::npos;
}

bool TZABaseArchiver::IsRemovableDrive(const ZAString& AFileName) const {
    const ZAString drive = ZAUpperAscii(ZAExtractFileDrive(AFileName));
    if (drive == u"A:" || drive == u"B:") return true;
    return platform::IsOnRemovableMedia(Utf16ToUtf8(AFileName));
}

// ---- the archive stream ------------------------------------------------------------------

void TZABaseArchiver::ReleaseArchiveStream() {
    if (!IsCustomStream) FOwnedStream.reset();
    FCompressedStream = nullptr;
}

void TZABaseArchiver::OpenArchiveFile(const ZAString& AFileName) {
    FOwnedStream.reset();
    FCompressedStream = nullptr;
    FOwnedStream = std::make_unique<TZAFileStream>(AFileName, FileOpenMode);
    FCompressedStream = FOwnedStream.get();
    VolumeFileName = AFileName;
}

void TZABaseArchiver::WriteEmptyArchive() {
    // The end of central directory record of an archive without entries, placed behind the
    // stub (if any): no disks, no entries, the directory starting where the record lies.
    const int64_t at = DMHandle ? DMHandle->StubSize : 0;
    std::array<uint8_t, 22> record{0x50, 0x4B, 0x05, 0x06};
    const auto offset = static_cast<uint32_t>(at);
    for (int i = 0; i < 4; ++i) record[16 + i] = static_cast<uint8_t>(offset >> (8 * i));
    FCompressedStream->SetPosition(at);
    FCompressedStream->WriteBuffer(record.data(), static_cast<int64_t>(record.size()));
}

// ---- OpenArchive ---------------------------------------------------------------------------

void TZABaseArchiver::OpenArchive() {
    FUpdated = false;
    if (!FInMemory && ZAExtractFileName(FFileName).empty()) throw EZAException(9, this);
    uint16_t mode;
    if (FInMemory || !FileExistsZA(FFileName)) {
        mode = fmCreate;
    } else {
        // Probe whether the file can be written (a read-only file, missing rights, ...).
        mode = platform::CanOpenForWriting(Utf16ToUtf8(FFileName)) ? fmReadWriteDenyWrite
                                                                   : fmReadOnlyDenyNone;
    }
    FileOpenMode = mode;
    OpenArchive(mode);
}

void TZABaseArchiver::OpenArchive(uint16_t Mode) {
    FUpdated = false;
    if (!FInMemory && ZAExtractFileName(FFileName).empty()) throw EZAException(10, this);
    if (Mode != fmCreate && !FileExistsZA(FFileName) && FSpanningMode != smSpanning &&
        !IsRemovableDrive(FFileName))
        throw EZAException(12, {FFileName}, this);
    if (Mode != fmCreate && FInMemory) throw EZAException(28, {FFileName}, this);
    CloseArchive();
    IsCustomStream = false;
    FileOpenMode = Mode;
    DoOpenArchive();
}

void TZABaseArchiver::OpenArchive(TZAStream& Stream, bool Create) {
    if (FSpanningMode != smNone) throw EZAException(51, this);
    CloseArchive();
    IsCustomStream = true;
    if (Create) Stream.SetSize(0);
    DMHandle = std::make_unique<TZADirManager>(&Stream, Create, this);
    FCompressedStream = &Stream;
    if (Create) WriteEmptyArchive();
    else DMHandle->LoadDir();
    FActive = true;
    DoAfterOpen();
}

void TZABaseArchiver::DoOpenArchive() {
    if (FileOpenMode == fmCreate || FInMemory) {
        CreateArchive();
    } else {
        FSpanningMode = smNone;  // every open starts from a single file and detects the rest
        FVolumeNumberInfo.Init();
        if (IsExeFileName(FFileName)) OpenExeArchive();
        else OpenExistingArchive();
        if (DMHandle->HasCentralDirEnd() || FOpenCorruptedArchives) {
            DMHandle->LoadDir();
        } else {
            ReleaseArchiveStream();
            throw EZAException(48, this);
        }
    }
    FActive = true;
    DoAfterOpen();
}

void TZABaseArchiver::DoAfterOpen() {
    if (AfterOpen) AfterOpen(this);
}

void TZABaseArchiver::CreateArchive() {
    if (FInMemory) {
        FOwnedStream = std::make_unique<TZAMemoryStream>();
        FCompressedStream = FOwnedStream.get();
    } else {
        TZAVolumeNumberInfo first;
        first.SetFirstVolume(true);
        OpenVolume(first);
    }
    DMHandle = std::make_unique<TZADirManager>(FCompressedStream, true, this);
}

// Opens the last volume and searches its end record until one is found or the archive
// turns out to be a single file. A split set whose last volume keeps failing the search
// under the same name would be asked for forever; that round ends the search instead.
void TZABaseArchiver::SearchLastVolume(bool TestRemovable) {
    ZAString previousVolume;
    TZASpanningMode previousMode = smNone;
    bool found = false;
    do {
        DMHandle.reset();
        FVolumeNumberInfo.Init();
        TZAVolumeNumberInfo last;
        last.SetLastVolume(true);
        if (TestRemovable && !FileExistsZA(FFileName) && IsRemovableDrive(FFileName))
            FSpanningMode = smSpanning;
        OpenVolume(last);
        DMHandle = std::make_unique<TZADirManager>(FCompressedStream, false, this);
        found = DMHandle->HasCentralDirEnd();
        DetectSpanningMode();
        if (!found && FSpanningMode == smSplitting && FSpanningMode == previousMode &&
            VolumeFileName == previousVolume)
            break;
        previousVolume = VolumeFileName;
        previousMode = FSpanningMode;
    } while (!found && FSpanningMode != smNone);
}

void TZABaseArchiver::OpenExistingArchive() {
    TFlagOverride strict(FOpenCorruptedArchives, false);
    SearchLastVolume(true);
}

void TZABaseArchiver::OpenExeArchive() {
    TFlagOverride strict(FOpenCorruptedArchives, false);
    TZAVolumeNumberInfo last;
    last.SetLastVolume(true);
    OpenVolume(last);
    DMHandle = std::make_unique<TZADirManager>(FCompressedStream, false, this);
    if (DMHandle->HasCentralDirEnd()) {
        DetectSpanningMode();
        return;
    }
    // The first file of a split set behind a self-extractor: its last volume is the .ZIP.
    FSpanningMode = smSplitting;
    ZAString lastName = FFileName;
    GetVolumeFileName(lastName, -1, false);
    if (FileExistsZA(lastName)) {
        FVolumeNumberInfo.Init();
        OpenVolume(last);
    }
    FSpanningMode = smNone;
    SearchLastVolume(false);
}

void TZABaseArchiver::DetectSpanningMode() {
    const auto& end = DMHandle->CentralDirEnd;
    if (end.signature == 0) {  // not even a rejected candidate was read
        FSpanningMode = IsRemovableDrive(FFileName) ? smSpanning : smNone;
        return;
    }
    if (DMHandle->HasCentralDirEnd() && DMHandle->CentralDirEnd.diskNumber == 0) {
        FSpanningMode = smNone;
        return;
    }
    const int32_t diskNumber = DMHandle->CentralDirEnd.diskNumber;
    FSpanningMode = smSplitting;
    if (SplitVolumeBeside(diskNumber)) {
        if (diskNumber == 0) FSpanningMode = smNone;
        return;
    }
    FSpanningOptions.SetAdvancedNaming(!FSpanningOptions.AdvancedNaming());
    if (SplitVolumeBeside(diskNumber)) return;
    FSpanningOptions.SetAdvancedNaming(!FSpanningOptions.AdvancedNaming());
    if (ZALowerAscii(FFileName).find(u".exe") != ZAString::npos ||
        (diskNumber == 0 && !IsRemovableDrive(FFileName)))
        FSpanningMode = smNone;
    else
        FSpanningMode = smSpanning;
}

// The volume before the last tells a split set from a spanned one. When it is missing, the
// first volume is looked for as well: a split set that lacks one volume is still a split set,
// whose entries in the volumes present stay readable, not a set of disks to ask for.
bool TZABaseArchiver::SplitVolumeBeside(int32_t DiskNumber) const {
    ZAString name = FFileName;
    GetVolumeFileName(name, DiskNumber - 1, false);
    if (FileExistsZA(name)) return true;
    if (DiskNumber <= 1) return false;
    name = FFileName;
    GetVolumeFileName(name, 0, false);
    return FileExistsZA(name);
}

// ---- CloseArchive --------------------------------------------------------------------------

void TZABaseArchiver::CloseArchive() {
    if (FActive) {
        try {
            // A new archive that is still empty gets its end record; a read archive is
            // always longer than its stub and is never written.
            if (FCompressedStream && DMHandle && FCompressedStream->Size() == DMHandle->StubSize)
                WriteEmptyArchive();
        } catch (...) {
        }
        FActive = false;
    }
    ReleaseArchiveStream();
    DMHandle.reset();
}

// ---- IsValidArchiveFile --------------------------------------------------------------------

bool TZABaseArchiver::IsValidArchiveFile() {
    if (FActive) return true;
    if (!FileExistsZA(FFileName)) return false;
    ReleaseArchiveStream();
    DMHandle.reset();
    IsCustomStream = false;
    const uint16_t savedMode = FileOpenMode;
    bool result = false;
    {
        TFlagOverride strict(FOpenCorruptedArchives, false);
        try {
            FileOpenMode = fmReadOnlyDenyNone;
            OpenArchiveFile(FFileName);
        } catch (const platform::HostError&) {
            FileOpenMode = savedMode;
            return false;
        }
        DMHandle = std::make_unique<TZADirManager>(FCompressedStream, false, this);
        if (DMHandle->HasCentralDirEnd()) {
            result = true;
        } else {
            const TZASpanningMode savedSpanning = FSpanningMode;
            FSpanningMode = smSplitting;
            try {
                DMHandle->LoadDir();
                result = DMHandle->CDir.Count() > 0;
            } catch (...) {
                FSpanningMode = smNone;
                try {
                    DMHandle->LoadDir();
                    result = DMHandle->CDir.Count() > 0;
                } catch (...) {
                    result = false;
                }
            }
            if (result) {
                // Only a trial load and test of the rebuilt archive can tell.
                DMHandle.reset();
                ReleaseArchiveStream();
                FOpenCorruptedArchives = true;
                try {
                    OpenArchive(fmReadOnlyDenyNone);
                    TestFiles(u"*.*", 10431, u"");
                } catch (...) {
                    result = false;
                }
                CloseArchive();
            }
            FSpanningMode = savedSpanning;
        }
    }
    DMHandle.reset();
    ReleaseArchiveStream();
    FileOpenMode = savedMode;
    return result;
}
