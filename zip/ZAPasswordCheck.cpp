// IsFilePasswordValid: whether a password opens an entry, without asking for one.
#include <exception>

#include "ZAAESCryptoTransform.h"
#include "ZABaseArchiver.h"
#include "ZAClassicCrypt.h"
#include "ZADirManager.h"
#include "ZAEntryDecryption.h"
#include "ZAEntryExtraction.h"
#include "ZAExcept.h"

namespace {

constexpr int32_t kAnyAttributes = 10431;
constexpr int32_t kEntryNotFound = 42;

}  // namespace

// The archiver as the trial extraction needs it: the candidate as Password, no password
// events, no progress events. Everything comes back when the trial ends, however it ends.
class TPasswordTrial {
public:
    TPasswordTrial(ZAAnsiString& Password, bool& Suppress, bool& ProgressEnabled,
                   const ZAAnsiString& Candidate)
        : FPassword(Password),
          FSuppress(Suppress),
          FProgressEnabled(ProgressEnabled),
          FSavedPassword(Password),
          FSavedProgressEnabled(ProgressEnabled) {
        FPassword = Candidate;
        FSuppress = true;
        FProgressEnabled = false;
    }
    ~TPasswordTrial() {
        FPassword = FSavedPassword;
        FSuppress = false;
        FProgressEnabled = FSavedProgressEnabled;
    }
    TPasswordTrial(const TPasswordTrial&) = delete;
    TPasswordTrial& operator=(const TPasswordTrial&) = delete;

private:
    ZAAnsiString& FPassword;
    bool& FSuppress;
    bool& FProgressEnabled;
    const ZAAnsiString FSavedPassword;
    const bool FSavedProgressEnabled;
};

bool TZABaseArchiver::IsFilePasswordValid(const ZAString& FileName, const ZAAnsiString& Password) {
    CheckActive();
    TZAArchiveItem found;
    if (!FindFirst(FileName, found, kAnyAttributes, ZAString()))
        throw EZAException(kEntryNotFound, {FileName}, this);
    const TDirItem item = *DMHandle->CDir.ItemPtr(found.Handle.ItemNo);  // handlers may reload
    if (!item.IsEncrypted()) return true;

    SeekLocalHeader(item);
    uint8_t header[TZAZipLocalHeader::Size];
    FCompressedStream->ReadBuffer(header, sizeof header);
    TZAZipLocalHeader local;
    local.Decode(header);
    FCompressedStream->Seek(static_cast<int64_t>(local.nameLength) + local.extraLength, soCurrent);
    if (item.CompressionMethod != ZA_METHOD_STORED && item.CompressionMethod != ZA_METHOD_DEFLATED)
        return false;

    const bool multiVolume = FSpanningMode != smNone;
    const int32_t strength = AESStrengthOf(item);
    bool quick = false;
    if (strength != 0) {
        TAESCryptoTransform transform(strength, 2, item.CompressionMethod);
        transform.Initialize(TCryptoTransformMode::Decryption, item);
        transform.GenerateKey(Password);
        transform.LoadFileStorageStartBlock(*FCompressedStream, 0);
        quick = transform.CheckPassword(Password, item);
    } else if (!multiVolume) {
        const TZAZipCentralDir& cd = item.CentralDir;
        TZAClassicKeys keys;
        quick = CheckClassicHeader(*FCompressedStream, Password, keys, cd.crc32, cd.lastModTime,
                                   cd.genPurposeFlag);
    }
    if (!quick && !multiVolume) return false;
    if (item.IsDirectory()) return true;

    // The full test: the whole entry read with the candidate, its data discarded. Only a run
    // that passes its size and integrity tests counts; a damaged entry is not excused here
    // even when damaged entries are extracted anyway.
    TPasswordTrial trial(FPassword, FSuppressPasswordEvent, FProgressEnabled, Password);
    try {
        SeekLocalHeader(item);
        TNullStream sink;
        TZAEntryExtraction extraction(*this, *FCompressedStream, sink, item, 0, 0, poTest);
        return extraction.Run();
    } catch (const std::exception&) {
        return false;
    }
}
