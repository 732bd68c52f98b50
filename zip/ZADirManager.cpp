#include "zip/ZADirManager.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <vector>

#include "zip/ZABaseArchiver.h"
#include "zip/ZAExcept.h"
#include "zip/ZANameDecoding.h"
#include "zip/ZAStream.h"

namespace {

constexpr int32_t kErrInvalidArchive = 35;
constexpr int32_t kErrNoZip64End = 40;
constexpr int32_t kErrCannotOpenVolumeSet = 44;
constexpr int32_t kErrArchiveDamaged = 57;

// The end record (22 bytes) plus the longest comment plus a little slack.
constexpr int64_t kEndSearchWindow = 0x10040;
constexpr int64_t kLocalHeaderScanChunk = 65535;
constexpr int64_t kStubScanChunk = 10000;
// Local headers whose extra area claims more than this are not taken when rebuilding.
constexpr uint16_t kMaxRebuiltExtraLength = 0x104;

// Restores the stream position when it goes out of scope.
class PositionKeeper {
public:
    explicit PositionKeeper(TZAStream* stream) : FStream(stream), FSaved(stream->Position()) {}
    ~PositionKeeper() { FStream->SetPosition(FSaved); }
    PositionKeeper(const PositionKeeper&) = delete;
    PositionKeeper& operator=(const PositionKeeper&) = delete;

private:
    TZAStream* FStream;
    int64_t FSaved;
};

// A stored 64-bit offset as a stream position; values beyond what a position can hold become
// a position where nothing can be read.
int64_t AsPosition(uint64_t value) {
    return value > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())
               ? -1
               : static_cast<int64_t>(value);
}

}  // namespace

TZADirManager::TZADirManager(TZAStream* Stream, bool bCreate, TZABaseArchiver* Arc)
    : FCompressedStream(Stream),
      FCreate(bCreate),
      FIsCustomStream(Arc == nullptr || Stream != Arc->FCompressedStream),
      FArc(Arc) {
    Reset();
    if (bCreate && Arc) Arc->FVolumeNumberInfo.SetFirstVolume(true);
}

bool TZADirManager::OEMFileNames() const { return FArc ? FArc->FOptions.OEMFileNames() : true; }

bool TZADirManager::OpenCorruptedArchives() const {
    return FArc ? FArc->FOpenCorruptedArchives : true;
}

bool TZADirManager::Spanning() const { return FArc && FArc->FSpanningMode != smNone; }

void TZADirManager::Reset() {
    // The name list goes with the entries, so that a second load starts in step.
    CDir.Clear();
    CDir.SetCount(0);
    CentralDirEnd = TZAZipCentralDirEnd();
    CentralDirEnd.signature = ZA_SIG_CENTRAL_DIR_END;
}

bool TZADirManager::IsEncrypted() const {
    return CDir.Count() > 0 && CDir.ItemPtr(0)->IsEncrypted();
}

bool TZADirManager::IsSFXArchive() const {
    return CDir.Count() > 0 && CDir.ItemPtr(0)->CentralDir.relOffsetLH != 0;
}

void TZADirManager::ReadAt(int64_t Position, void* Buffer, int64_t Count) {
    FCompressedStream->SetPosition(Position);
    FCompressedStream->ReadBuffer(Buffer, Count);
}

// ---- end record ------------------------------------------------------------------------

bool TZADirManager::HasCentralDirEnd() {
    int64_t position = -1;
    const bool found = FindCentralDirEnd(ZA_SIG_CENTRAL_DIR_END, CentralDirEnd, position);
    return OpenCorruptedArchives() || found;
}

bool TZADirManager::FindCentralDirEnd(uint32_t Signature, TZAZipCentralDirEnd& Record,
                                      int64_t& Position) {
    Position = -1;
    ArchiveComment.clear();
    Record = TZAZipCentralDirEnd();
    const int64_t size = FCompressedStream->Size();
    const int64_t window = std::min(size, kEndSearchWindow);
    if (window <= 0) return false;
    std::string tail(static_cast<size_t>(window), '\0');
    const int64_t tailStart = size - window;
    ReadAt(tailStart, tail.data(), window);

    const auto b = [&](int64_t i) { return static_cast<uint8_t>(tail[static_cast<size_t>(i)]); };
    for (int64_t i = window - 1; i >= 3; --i) {
        if (b(i) != ((Signature >> 24) & 0xFF) || b(i - 1) != ((Signature >> 16) & 0xFF) ||
            b(i - 2) != ((Signature >> 8) & 0xFF) || b(i - 3) != (Signature & 0xFF)) {
            continue;
        }
        const int64_t candidate = tailStart + i - 3;
        if (!IsValidCentralDirEnd(candidate, tail, tailStart, Record)) continue;
        Position = candidate;
        if (Record.commentLength > 0) {
            ArchiveComment = tail.substr(static_cast<size_t>(candidate - tailStart) + 22,
                                         Record.commentLength);
        }
        return true;
    }
    return false;
}

bool TZADirManager::IsValidCentralDirEnd(int64_t Position, const std::string& Tail,
                                         int64_t TailStart, TZAZipCentralDirEnd& Record) const {
    const int64_t size = TailStart + static_cast<int64_t>(Tail.size());
    if (size - Position < static_cast<int64_t>(TZAZipCentralDirEnd::Size)) return false;
    const auto* at = reinterpret_cast<const uint8_t*>(Tail.data()) + (Position - TailStart);
    Record.Decode({at, TZAZipCentralDirEnd::Size});
    if (Record.startDiskNumber > Record.diskNumber) return false;
    if (Record.entriesOnDisk > Record.entriesCentralDir) return false;
    const int64_t end = Position + static_cast<int64_t>(TZAZipCentralDirEnd::Size);
    // A directory that starts in an earlier volume of a set need not fit in front of the
    // record in this one: only a directory on this volume is measured against it.
    if (Record.startDiskNumber == Record.diskNumber &&
        Record.centralDirSize != ZA_ZIP64_MARKER32 && Record.centralDirSize >= end)
        return false;
    if (Record.startDiskNumber == Record.diskNumber &&
        Record.offsetStartDir != ZA_ZIP64_MARKER32 &&
        static_cast<int64_t>(Record.offsetStartDir) >= end - Record.centralDirSize) {
        return false;
    }
    return Record.commentLength <= size - end;
}

// ---- Zip64 -------------------------------------------------------------------------------

bool TZADirManager::FindZip64Locator(int64_t& Position) {
    if (Position <= static_cast<int64_t>(TZAZip64CentralDirEndLocator::Size)) return false;
    uint8_t bytes[TZAZip64CentralDirEndLocator::Size];
    ReadAt(Position - static_cast<int64_t>(sizeof bytes), bytes, sizeof bytes);
    Zip64CentralDirEndLocator.Decode(bytes);
    if (Zip64CentralDirEndLocator.signature != ZA_SIG_ZIP64_LOCATOR) return false;
    Position -= static_cast<int64_t>(sizeof bytes);
    return true;
}

bool TZADirManager::ReadZip64CentralDirEnd(int64_t& Position) {
    if (Position <= static_cast<int64_t>(TZAZip64CentralDirEnd::Size)) return false;
    uint8_t bytes[TZAZip64CentralDirEnd::Size];
    ReadAt(AsPosition(Zip64CentralDirEndLocator.offsetStartDirEnd), bytes, sizeof bytes);
    Zip64CentralDirEnd.Decode(bytes);
    if (Zip64CentralDirEnd.signature != ZA_SIG_ZIP64_CENTRAL_DIR_END) return false;
    Position -= static_cast<int64_t>(sizeof bytes);
    return true;
}

// ---- loading -----------------------------------------------------------------------------

void TZADirManager::LoadDir() {
    TZAVolumeNumberInfo volume;
    Reset();
    StubSize = 0;
    FScanLength = 0;

    TZAZipCentralDirEnd end;
    int64_t position = -1;
    if (!FindCentralDirEnd(ZA_SIG_CENTRAL_DIR_END, end, position)) {
        NoCentralDirectory();
        return;
    }
    CentralDirEnd = end;
    FZip64 = FindZip64Locator(position);
    if (FZip64 && !ReadZip64CentralDirEnd(position)) throw EZAException(kErrNoZip64End);
    if (!FZip64 && CentralDirEnd.entriesCentralDir == ZA_ZIP64_MARKER16) {
        NoCentralDirectory();
        return;
    }

    const int32_t firstVolume = CentralDirEnd.startDiskNumber != ZA_ZIP64_MARKER16
                                    ? CentralDirEnd.startDiskNumber
                                    : (FZip64 ? static_cast<int32_t>(
                                                    Zip64CentralDirEnd.startDiskNumber)
                                              : 0);
    const int32_t lastVolume = CentralDirEnd.diskNumber != ZA_ZIP64_MARKER16
                                   ? CentralDirEnd.diskNumber
                                   : (FZip64 ? ZALastVolumeOf(
                                                   Zip64CentralDirEndLocator.totalNumberOfDisks)
                                             : 0);
    volume.SetLastVolumeNumber(lastVolume);
    volume.SetVolumeNumber(firstVolume);
    if (Spanning()) SwitchVolume(volume);

    int64_t start;
    uint32_t count;
    if (FZip64) {
        start = Spanning() ? AsPosition(Zip64CentralDirEnd.offsetStartDir)
                           : position - AsPosition(Zip64CentralDirEnd.centralDirSize);
        count = static_cast<uint32_t>(Zip64CentralDirEnd.entriesCentralDir & 0xFFFFFFFF);
    } else {
        start = Spanning() ? static_cast<int64_t>(CentralDirEnd.offsetStartDir)
                           : position - static_cast<int64_t>(CentralDirEnd.centralDirSize);
        count = CentralDirEnd.entriesCentralDir;
    }

    try {
        ReadCentralDirEntries(start, count, volume);
    } catch (const std::exception&) {
        if (!OpenCorruptedArchives()) throw;
        NoCentralDirectory();
        return;
    }

    if (!OpenCorruptedArchives() && !Spanning()) CheckCompressedSizes();
    if (lastVolume == 0) DetectStubSize(position);
    if (!OffsetsIncludeStub()) ApplyStubOffset();
}

void TZADirManager::ReadCentralDirEntries(int64_t Start, uint32_t Count,
                                          TZAVolumeNumberInfo& Volume) {
    constexpr auto kHeader = static_cast<int64_t>(TZAZipCentralDir::Size);
    if (Count > static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) throw EZAReadError();
    const auto entries = static_cast<int32_t>(Count);
    // The count is only believed as far as the bytes behind the start can hold that many
    // headers; a larger one is a damaged directory, not a reason to allocate.
    if (!Spanning()) {
        const int64_t available =
            Start < 0 ? 0 : std::max<int64_t>(0, FCompressedStream->Size() - Start);
        if (static_cast<int64_t>(entries) > available / kHeader) throw EZAReadError();
        CDir.SetCount(entries);
    }
    FCompressedStream->SetPosition(Start);
    for (int32_t i = 0; i < entries; ++i) {
        if (Spanning()) {
            if (FCompressedStream->Size() - FCompressedStream->Position() < kHeader) {
                // The set's last volume has no next one to continue in.
                if (!Volume.HasNextVolume()) throw EZAReadError();
                Volume.SetVolumeNumber(Volume.VolumeNumber() + 1);
                SwitchVolume(Volume);
                FCompressedStream->SetPosition(0);
            }
            // The volumes' sizes are not known in advance: the array grows as headers arrive.
            CDir.SetCount(i + 1);
        }
        if (i == 0) CentralDirOffset = FCompressedStream->Position();
        ReadEntry(i);
    }
}

void TZADirManager::ReadEntry(int32_t Index) {
    uint8_t header[TZAZipCentralDir::Size];
    FCompressedStream->ReadBuffer(header, sizeof header);
    TDirItem* item = CDir.ItemPtr(Index);
    item->CentralDir.Decode(header);
    const TZAZipCentralDir& cd = item->CentralDir;
    if ((cd.genPurposeFlag & ZA_FLAG_ENCRYPTED) && cd.extractVersion < ZA_AES_EXTRACT_VERSION_LIMIT) {
        item->ZAEncryptionAlgorithm = caPkzipClassic;
    }
    item->CompressionMethod = cd.compMethod;
    if (cd.nameLength > 0) {
        std::string raw(cd.nameLength, '\0');
        FCompressedStream->ReadBuffer(raw.data(), cd.nameLength);
        CDir.SetItemName(Index, DecodeCentralDirName(std::move(raw), OEMFileNames(),
                                                     cd.genPurposeFlag));
    } else {
        CDir.SetItemName(Index, ZAString());
    }
    if (cd.extraLength > 0) ReadExtraArea(Index, cd.extraLength);
    if (cd.commentLength > 0) {
        item->Comment.assign(cd.commentLength, '\0');
        FCompressedStream->ReadBuffer(item->Comment.data(), cd.commentLength);
    } else {
        item->Comment.clear();
    }
}

void TZADirManager::ReadExtraArea(int32_t Index, uint32_t Length) {
    std::vector<uint8_t> area(Length);
    FCompressedStream->ReadBuffer(area.data(), Length);
    TDirItem* item = CDir.ItemPtr(Index);
    item->bHugeFile = false;
    item->ExtraFields = ZASplitExtraArea(area);
    for (const TZAExtraFieldDataBlock& block : item->ExtraFields) {
        switch (block.headerID) {
            case ZA_EXTRA_ZIP64:
                item->Zip64ExtInfo = ZADecodeZip64Block(block, item->CentralDir);
                item->bHugeFile = true;
                break;
            case ZA_EXTRA_UNICODE_NAME: {
                TUnicodeExtendedInfo unicode;
                if (unicode.LoadFromBuffer({block.pData.data(), block.pData.size()})) {
                    CDir.SetItemName(Index, unicode.FName);
                }
                break;
            }
            case ZA_EXTRA_AES: {
                TZAAESExtraInfo aes;
                if (item->CentralDir.extractVersion < ZA_AES_EXTRACT_VERSION_LIMIT &&
                    ZADecodeAESBlock(block, aes)) {
                    if (aes.keyStrength == 1) item->ZAEncryptionAlgorithm = caAES_128;
                    if (aes.keyStrength == 2) item->ZAEncryptionAlgorithm = caAES_192;
                    if (aes.keyStrength == 3) item->ZAEncryptionAlgorithm = caAES_256;
                    item->CompressionMethod = aes.compressionMethod;
                }
                break;
            }
            default:
                break;
        }
    }
}

void TZADirManager::SwitchVolume(const TZAVolumeNumberInfo& Volume) {
    if (FIsCustomStream || !FArc) return;
    FArc->OpenVolume(Volume);
    SetCompressedStream(FArc->FCompressedStream);
}

void TZADirManager::CheckCompressedSizes() const {
    const auto limit = static_cast<uint64_t>(FCompressedStream->Size());
    uint64_t sum = 0;
    for (int32_t i = 0; i < CDir.Count(); ++i) {
        sum += CDir.ItemPtr(i)->EffectiveCompSize();
        if (sum > limit) throw EZAException(kErrArchiveDamaged);
    }
}

// ---- rebuilding from local headers -------------------------------------------------------

void TZADirManager::NoCentralDirectory() {
    CDir.Clear();
    if (Spanning()) throw EZAException(kErrCannotOpenVolumeSet);
    LoadDirFromLocalHeaders();
    CentralDirOffset = FCompressedStream->Size();
}

void TZADirManager::LoadDirFromLocalHeaders() {
    const int64_t size = FCompressedStream->Size();
    FDescriptorSearchFrom = -1;
    FDescriptorFoundAt = -1;
    int64_t pos = FindLocalHeader(0);
    if (pos == -1) throw EZAException(kErrInvalidArchive);
    while (pos != -1) {
        uint8_t bytes[TZAZipLocalHeader::Size];
        ReadAt(pos, bytes, sizeof bytes);
        TZAZipLocalHeader lh;
        lh.Decode(bytes);
        if (lh.compSize < size && lh.extraLength <= kMaxRebuiltExtraLength) {
            const int32_t index = CDir.Count();
            CDir.SetCount(index + 1);
            TDirItem* item = CDir.ItemPtr(index);
            // A fresh entry: nothing of an entry read before from a damaged directory stays.
            *item = TDirItem();
            TZAZipCentralDir& cd = item->CentralDir;
            cd.signature = lh.signature;
            cd.versionMadeBy = lh.extractVersion;
            cd.extractVersion = lh.extractVersion;
            cd.genPurposeFlag = lh.genPurposeFlag;
            cd.compMethod = lh.compMethod;
            cd.lastModTime = lh.lastModTime;
            cd.lastModDate = lh.lastModDate;
            cd.crc32 = lh.crc32;
            cd.compSize = lh.compSize;
            cd.unCompSize = lh.unCompSize;
            cd.nameLength = lh.nameLength;
            cd.extraLength = lh.extraLength;
            cd.externalAttr = (lh.unCompSize == 0 && !(lh.genPurposeFlag & ZA_FLAG_DATA_DESCRIPTOR))
                                  ? ZA_ATTR_DIRECTORY
                                  : ZA_ATTR_ARCHIVE;
            cd.relOffsetLH = static_cast<uint32_t>(pos & 0xFFFFFFFF);
            item->CompressionMethod = lh.compMethod;

            const int64_t nameStart = pos + static_cast<int64_t>(TZAZipLocalHeader::Size);
            if (size - nameStart < lh.nameLength) {
                CDir.SetItemName(index, ZAString());
            } else {
                std::string raw(lh.nameLength, '\0');
                FCompressedStream->ReadBuffer(raw.data(), lh.nameLength);
                CDir.SetItemName(index, DecodeLocalHeaderName(std::move(raw), OEMFileNames(),
                                                              lh.genPurposeFlag));
            }
            // An extra area cut off by the end of the stream is taken as far as it goes.
            const int64_t extraLeft = std::max<int64_t>(0, size - FCompressedStream->Position());
            const auto extraLength =
                static_cast<uint32_t>(std::min<int64_t>(lh.extraLength, extraLeft));
            if (extraLength > 0) ReadExtraArea(index, extraLength);
            if (lh.genPurposeFlag & ZA_FLAG_DATA_DESCRIPTOR) {
                TZAZipDataDescriptor descriptor;
                if (FindDataDescriptor(pos, descriptor)) {
                    item = CDir.ItemPtr(index);
                    item->CentralDir.crc32 = descriptor.crc32;
                    item->CentralDir.compSize = descriptor.compSize;
                    item->CentralDir.unCompSize = descriptor.unCompSize;
                }
            }
        }
        pos = FindLocalHeader(pos + 4);
    }
}

int64_t TZADirManager::ScanFor(uint32_t Signature, int64_t From, int64_t ChunkSize) {
    PositionKeeper keep(FCompressedStream);
    const int64_t size = FCompressedStream->Size();
    if (FScanStream != FCompressedStream || FScanChunkSize != ChunkSize) {
        FScanStream = FCompressedStream;
        FScanChunkSize = ChunkSize;
        FScanLength = 0;
    }
    int64_t at = std::max<int64_t>(From, 0);
    while (at < size) {
        // The chunk read last is searched again when the search starts inside it, so that a
        // scan from one header to the next does not read the same bytes over and over.
        const bool inChunk = at >= FScanStart && at + 4 <= FScanStart + FScanLength;
        if (!inChunk) {
            FScanChunk.resize(static_cast<size_t>(ChunkSize));
            FCompressedStream->SetPosition(at);
            FScanStart = at;
            FScanLength = FCompressedStream->Read(FScanChunk.data(), ChunkSize);
            if (FScanLength < 4) {
                FScanLength = 0;
                return -1;
            }
        }
        const int64_t hit =
            ZAFindSignature({FScanChunk.data(), static_cast<size_t>(FScanLength)}, Signature,
                            static_cast<size_t>(at - FScanStart));
        if (hit >= 0) return FScanStart + hit;
        if (FScanStart + FScanLength >= size) return -1;
        // The next chunk starts 4 bytes before this one ends, so that a signature across the
        // boundary is found.
        at = FScanStart + FScanLength - 4;
        FScanLength = 0;
    }
    return -1;
}

int64_t TZADirManager::FindLocalHeader(int64_t From) {
    const int64_t pos = ScanFor(ZA_SIG_LOCAL_HEADER, From, kLocalHeaderScanChunk);
    if (pos < 0 || FCompressedStream->Size() - pos < static_cast<int64_t>(TZAZipLocalHeader::Size)) {
        return -1;
    }
    return pos;
}

bool TZADirManager::FindDataDescriptor(int64_t From, TZAZipDataDescriptor& Descriptor) {
    // Searches go forward through the file: what an earlier search from a smaller position
    // found (or did not find) at or after From is the answer again.
    const bool known = FDescriptorSearchFrom >= 0 && FDescriptorSearchFrom <= From &&
                       (FDescriptorFoundAt < 0 || FDescriptorFoundAt >= From);
    if (!known) {
        FDescriptorSearchFrom = From;
        FDescriptorFoundAt = ScanFor(ZA_SIG_DATA_DESCRIPTOR, From, kLocalHeaderScanChunk);
    }
    const int64_t pos = FDescriptorFoundAt;
    if (pos < 0 || FCompressedStream->Size() - pos < static_cast<int64_t>(TZAZipDataDescriptor::Size)) {
        return false;
    }
    uint8_t bytes[TZAZipDataDescriptor::Size];
    ReadAt(pos, bytes, sizeof bytes);
    Descriptor.Decode(bytes);
    return true;
}

// ---- stub detection ----------------------------------------------------------------------

int64_t TZADirManager::FindSignatureFrom(int64_t From) {
    return ScanFor(ZA_SIG_LOCAL_HEADER, From, kStubScanChunk);
}

bool TZADirManager::IsFirstLocalHeaderAt(int64_t Position) {
    PositionKeeper keep(FCompressedStream);
    const int64_t size = FCompressedStream->Size();
    if (Position < 0 || size - Position < static_cast<int64_t>(TZAZipLocalHeader::Size)) {
        return false;
    }
    uint8_t bytes[TZAZipLocalHeader::Size];
    ReadAt(Position, bytes, sizeof bytes);
    TZAZipLocalHeader lh;
    lh.Decode(bytes);
    if (size - Position - static_cast<int64_t>(TZAZipLocalHeader::Size) < lh.nameLength) {
        return false;
    }
    if (lh.signature != ZA_SIG_LOCAL_HEADER) return false;
    if (Position == 0) return true;
    if (CDir.Count() == 0) return false;
    const TZAZipCentralDir& first = CDir.ItemPtr(0)->CentralDir;
    return lh.extractVersion == first.extractVersion && lh.compMethod == first.compMethod &&
           lh.lastModTime == first.lastModTime && lh.lastModDate == first.lastModDate &&
           lh.crc32 == first.crc32 && lh.compSize == first.compSize &&
           lh.unCompSize == first.unCompSize;
}

void TZADirManager::DetectStubSize(int64_t EndPosition) {
    if (CentralDirEnd.entriesCentralDir == 0) {
        StubSize = EndPosition;
        return;
    }
    if (CDir.Count() == 0) return;
    int64_t from = AsPosition(CDir.ItemPtr(0)->EffectiveRelOffsetLH());
    if (from < 0) return;
    for (;;) {
        const int64_t found = FindSignatureFrom(from);
        if (found < 0) return;
        if (IsFirstLocalHeaderAt(found)) {
            StubSize = found;
            return;
        }
        from = found + 1;
    }
}

bool TZADirManager::OffsetsIncludeStub() const {
    for (int32_t i = 0; i < CDir.Count(); ++i) {
        const TDirItem* item = CDir.ItemPtr(i);
        if (item->CentralDir.compSize != 0) {
            return item->EffectiveRelOffsetLH() >= static_cast<uint64_t>(StubSize);
        }
    }
    return true;
}

void TZADirManager::ApplyStubOffset() {
    for (int32_t i = 0; i < CDir.Count(); ++i) {
        TDirItem* item = CDir.ItemPtr(i);
        if (item->IsDirectory()) continue;
        item->SetEffectiveRelOffsetLH(item->EffectiveRelOffsetLH() +
                                      static_cast<uint64_t>(StubSize));
    }
}
