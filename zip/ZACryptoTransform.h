#pragma once
// The per-entry encryption transform: keys from a password, the blocks stored in front of and
// behind the entry's data, the data itself, and the entry's check. Lives for one entry.
#include <cstdint>
#include <vector>

#include "ZAEnums.h"
#include "ZARecords.h"
#include "ZATypes.h"

class TZAStream;
struct TDirItem;

using TZABytes = std::vector<uint8_t>;

class TZACryptoTransform {
public:
    virtual ~TZACryptoTransform() = default;

    virtual void GenerateKey(const ZAAnsiString& Password) = 0;
    virtual bool CheckPassword(const ZAAnsiString& Password, const TDirItem& Item) = 0;
    virtual const TZABytes& GetKey() = 0;
    // The password last given to GenerateKey.
    virtual const ZAAnsiString& GetPassword() const = 0;
    // Stores Mode; implementations may look at the entry.
    virtual void Initialize(TCryptoTransformMode Mode, const TDirItem& Item);
    virtual void Reset() = 0;
    // Count bytes from Input + InputOffset to Output + OutputOffset (the two may be the same
    // bytes); returns the number of bytes produced.
    virtual int64_t DecryptBuffer(const uint8_t* Input, int64_t InputOffset, int64_t InputCount,
                                  uint8_t* Output, int64_t OutputOffset) = 0;
    virtual int64_t EncryptBuffer(const uint8_t* Input, int64_t InputOffset, int64_t InputCount,
                                  uint8_t* Output, int64_t OutputOffset) = 0;
    virtual TZABytes GetFileStorageStartBlock() = 0;
    // Reads the block stored in front of the data, Offset bytes on from where Stream stands.
    virtual void LoadFileStorageStartBlock(TZAStream& Stream, int64_t Offset) = 0;
    virtual int32_t GetFileStorageStartBlockSize() const = 0;
    virtual TZABytes GetFileStorageEndBlock() = 0;
    // Reads the block stored behind the data, Offset bytes on from where Stream stands.
    virtual void LoadFileStorageEndBlock(TZAStream& Stream, int64_t Offset) = 0;
    virtual int32_t GetFileStorageEndBlockSize() const = 0;
    // True when the entry failed its check; Crc32 is the CRC-32 of the data produced.
    virtual bool IsDirItemCorrupted(const TDirItem& Item, uint32_t Crc32) = 0;
    virtual TZAExtraFieldDataBlock GetExtraFieldData() const = 0;

protected:
    TCryptoTransformMode FTransformMode = TCryptoTransformMode::Decryption;
};
