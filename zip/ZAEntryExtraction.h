#pragma once
// The extraction of one entry: reads its local header, obtains a working password for an
// encrypted entry, reads the stored data chunk by chunk (running on into the next volume of
// a set), decrypts and inflates it, writes the output with the disk-full handshake, raises
// the progress events and checks size and CRC-32. Lives for one entry.
#include <cstdint>
#include <memory>

#include "ZADirItem.h"
#include "ZAEnums.h"
#include "ZAOutputCrc.h"
#include "ZARawInflate.h"
#include "ZARecords.h"
#include "ZAVolumeNumberInfo.h"

class TZABaseArchiver;
class TZAEntryDecryption;
class TZAMemoryStream;
class TZAStream;

class TZAEntryExtraction {
public:
    // Most compressed bytes read at a time; also the size of each half of the inflate output
    // buffer.
    static constexpr int64_t ChunkSize = 1048576;
    // Stored data is copied, checked and written in pieces of at most this size.
    static constexpr int64_t StoredPieceSize = 65535;

    // Source stands at the entry's local header. Count and StartPosition select a window of
    // the output (ExtractToBuffer), which Output keeps; Count 0 means the whole entry.
    TZAEntryExtraction(TZABaseArchiver& Arc, TZAStream& Source, TZAStream& Output,
                       const TDirItem& Entry, int32_t Count, int64_t StartPosition,
                       TZAProcessOperation Operation);
    ~TZAEntryExtraction();
    TZAEntryExtraction(const TZAEntryExtraction&) = delete;
    TZAEntryExtraction& operator=(const TZAEntryExtraction&) = delete;

    // True when the entry was read and passed its tests (or was skipped, or a window was
    // filled). May raise NativeError 55 (Deflate64), stream read errors and disk-full errors.
    bool Run();

    int64_t Produced() const { return FProduced; }

private:
    bool TransferEntryData();
    bool ObtainWorkingPassword();
    bool ReadChunk(uint8_t* Buffer, int64_t Length);
    // Reads up to Length bytes, running on into the next volume of a set; returns how many.
    int64_t ReadAcrossVolumes(uint8_t* Buffer, int64_t Length);
    // Length bytes of the entry's data, read across volumes into a memory stream (fewer when
    // the archive ends), for the parts of the data the decryption judges on its own.
    void ReadBlock(TZAMemoryStream& Block, int64_t Length);
    bool ProcessChunk(uint8_t* Input, int64_t Length);
    bool ProcessStoredChunk(const uint8_t* Input, int64_t Length);
    bool ProcessDeflatedChunk(uint8_t* Input, int64_t Length);
    bool WriteChunk(const uint8_t* Data, int64_t Length);
    // The file and overall progress events; true when the cancel flag is set after one.
    bool RaiseProgressPair();
    // Whether ExtractToBuffer's window has been produced in full; that ends the reading.
    bool WindowComplete() const { return FCount > 0 && FWindowEnd <= FProduced; }
    // Output reached the directory's uncompressed size with more to come. A whole entry is
    // damaged (false); a window only needs what the directory vouches for, so the reading
    // just ends there (true), and fails only when the window lies beyond it.
    bool StopAtSizeLimit();
    // Output beyond the directory's uncompressed size is refused unless damaged entries are
    // extracted anyway. Returns how many of Length further bytes may be written.
    int64_t AllowedOutput(int64_t AlreadyProduced, int64_t Length);
    bool PassesIntegrityTest();
    // Handlers run inside the extraction; one that closed or replaced the archive ends it.
    void CheckArchiveUnchanged() const;

    TZABaseArchiver& FArc;
    TZAStream* FSource;
    TZAStream& FOutput;
    const TDirItem FEntry;  // a copy: handlers run while the entry is read
    const int32_t FCount;
    const int64_t FStartPosition;
    const int64_t FWindowEnd;  // StartPosition + Count, at most the largest position
    const TZAProcessOperation FOperation;

    TZAVolumeNumberInfo FVolume;
    TZAZipLocalHeader FLocalHeader;
    bool FEncrypted = false;
    std::unique_ptr<TZAEntryDecryption> FDecryption;
    int64_t FCompressed = 0;
    int64_t FUncompressed = 0;
    int64_t FSizeLimit = 0;  // the directory's uncompressed size
    int64_t FConsumed = 0;
    int64_t FProduced = 0;
    bool FSizeLimitReached = false;

    std::unique_ptr<uint8_t[]> FInput;
    std::unique_ptr<uint8_t[]> FOutputBuffer;  // inflate output: two halves of ChunkSize
    int FOutputHalf = 0;                       // the half inflate fills next
    TZARawInflate FInflate;
    // Declared after the buffers: it waits for the helper thread before they are released.
    TZAOutputCrc FCrc;
};
