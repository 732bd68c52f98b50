#pragma once
// The directory manager of one open archive: it loads the central directory from the archive
// stream (end record search, Zip64 records, the headers with their names and extra fields),
// rebuilds it from the local headers when there is no usable one, measures a self-extractor
// stub in front of the archive and corrects the entries' offsets for it.
#include <cstdint>
#include <string>
#include <vector>

#include "zip/ZADirArray.h"
#include "zip/ZARecords.h"
#include "zip/ZATypes.h"
#include "zip/ZAVolumeNumberInfo.h"

class TZABaseArchiver;
class TZAStream;

class TZADirManager {
public:
    // Arc may be nullptr (an archive read without a component): names are then converted from
    // OEM, damaged directories are rebuilt, there is no spanning, and the stream is a custom one.
    TZADirManager(TZAStream* Stream, bool bCreate, TZABaseArchiver* Arc);
    ~TZADirManager() = default;
    TZADirManager(const TZADirManager&) = delete;
    TZADirManager& operator=(const TZADirManager&) = delete;

    // Fills CDir from the archive stream. Errors without a component: 35 (no directory and no
    // local header), 40 (Zip64 end record missing), 44 (no directory in a multi-volume mode),
    // 57 (compressed sizes beyond the stream, when damaged archives are refused); stream read
    // errors pass through.
    void LoadDir();
    // Searches the end record into CentralDirEnd and ArchiveComment. True when found, and
    // always while the archiver opens damaged archives.
    bool HasCentralDirEnd();
    // Adds the stub to the local-header offset of every entry that is not a directory: StubSize
    // less what the stored offsets already count (the stored offset of the entry the stub was
    // measured at; 0 when none was).
    void ApplyStubOffset();
    bool IsEncrypted() const;
    bool IsSFXArchive() const;
    void Reset();

    TZAStream* CompressedStream() const { return FCompressedStream; }
    void SetCompressedStream(TZAStream* Stream) {
        FCompressedStream = Stream;
        FScanLength = 0;
    }

    TZAStream* FCompressedStream;
    bool FCreate;
    bool FIsCustomStream;
    TZABaseArchiver* FArc;
    TZADirArray RBCDir;
    TZADirArray CDir;
    ZAAnsiString ArchiveComment;
    TZAZip64CentralDirEndLocator Zip64CentralDirEndLocator;
    TZAZip64CentralDirEnd Zip64CentralDirEnd;
    TZAZipCentralDirEnd CentralDirEnd;
    int64_t StubSize = 0;
    bool FZip64 = false;
    bool Aborted = false;
    int64_t CentralDirOffset = 0;

    // The steps of loading.
    bool FindCentralDirEnd(uint32_t Signature, TZAZipCentralDirEnd& Record, int64_t& Position);
    bool FindZip64Locator(int64_t& Position);
    bool ReadZip64CentralDirEnd(int64_t& Position);
    void NoCentralDirectory();
    void LoadDirFromLocalHeaders();
    int64_t FindLocalHeader(int64_t From);
    bool FindDataDescriptor(int64_t From, TZAZipDataDescriptor& Descriptor);
    void DetectStubSize(int64_t EndPosition);
    bool IsFirstLocalHeaderAt(int64_t Position);
    int64_t FindSignatureFrom(int64_t From);
    // True when the stored offsets already count the whole stub.
    bool OffsetsIncludeStub() const;
    void CheckCompressedSizes() const;
    void SwitchVolume(const TZAVolumeNumberInfo& Volume);

private:
    bool OEMFileNames() const;
    bool OpenCorruptedArchives() const;
    bool Spanning() const;

    // Candidate end record at Position inside the last bytes of the stream (Tail, which ends
    // where the stream ends); fills Record with what it read.
    bool IsValidCentralDirEnd(int64_t Position, const std::string& Tail, int64_t TailStart,
                              TZAZipCentralDirEnd& Record) const;
    // Where the directory of a Zip64 archive in one file starts; Position (where the Zip64
    // record begins if it has no extensible data) becomes where it really begins.
    int64_t LocateZip64CentralDir(int64_t& Position);
    // Whether a directory of Count headers can start at Start (a header signature there).
    bool HoldsCentralDirAt(int64_t Start, uint64_t Count);
    uint64_t StubCorrection() const;
    void ReadCentralDirEntries(int64_t Start, uint32_t Count, TZAVolumeNumberInfo& Volume);
    void ReadEntry(int32_t Index);
    // Reads Length extra bytes at the stream position and decodes them into the entry.
    // RawName: the entry's stored name bytes, which a Unicode Path block must match.
    void ReadExtraArea(int32_t Index, uint32_t Length, const std::string& RawName);
    void ReadAt(int64_t Position, void* Buffer, int64_t Count);
    // First occurrence of Signature at or after From, read in chunks of ChunkSize bytes.
    int64_t ScanFor(uint32_t Signature, int64_t From, int64_t ChunkSize);

    // The chunk ScanFor read last.
    std::vector<uint8_t> FScanChunk;
    const TZAStream* FScanStream = nullptr;
    int64_t FScanChunkSize = 0;
    int64_t FScanStart = 0;
    int64_t FScanLength = 0;
    // The entry the stub is measured at: the one with the smallest stored offset, with that
    // offset and its name bytes as the directory stores them.
    int32_t FStubAnchor = -1;
    uint64_t FStubAnchorOffset = 0;
    std::string FStubAnchorName;
    // The last data descriptor search of a rebuild: where it started and what it found.
    int64_t FDescriptorSearchFrom = -1;
    int64_t FDescriptorFoundAt = -1;
};
