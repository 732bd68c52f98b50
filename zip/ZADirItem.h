#pragma once
// One entry of an open archive's directory.
#include <cstdint>
#include <vector>

#include "zip/ZAEnums.h"
#include "zip/ZARecords.h"
#include "zip/ZATypes.h"

class TZAStream;

struct TDirItem {
    TZAZipCentralDir CentralDir;  // the header as read (rebuilt entries: from the local header)
    ZAString Name;                // decoded name, or the text of a valid Unicode name block
    ZAString OldName;
    ZAAnsiString Comment;         // as stored, undecoded
    std::vector<TZAExtraFieldDataBlock> ExtraFields;
    TZACryptoAlgorithm ZAEncryptionAlgorithm = caPkzipClassic;
    bool bHugeFile = false;       // the entry has a Zip64 block
    TZAZip64ExtendedInfo Zip64ExtInfo;
    bool Modified = false;
    ZAAnsiString Password;
    TZAStream* Stream = nullptr;
    bool bDestroyStream = false;  // the entry owns Stream
    int32_t Position = 0;
    bool Tagged = false;
    ZAString SrcFileName;
    uint16_t CompressionMethod = 0;  // the method that applies to the data
    uint8_t CompressionMode = 0;
    TZAProcessOperation Operation = poAdd;
    bool UseOldRijndael = false;

    // Effective values: the header's field, or its Zip64 counterpart when the field holds the
    // overflow marker.
    uint64_t EffectiveCompSize() const;
    uint64_t EffectiveUnCompSize() const;
    uint64_t EffectiveRelOffsetLH() const;
    uint32_t EffectiveDiskNumberStart() const;
    // Sets the local-header offset; a value that does not fit below the marker goes to the
    // Zip64 counterpart, with the marker in the header field.
    void SetEffectiveRelOffsetLH(uint64_t Offset);

    bool IsDirectory() const { return (CentralDir.externalAttr & ZA_ATTR_DIRECTORY) != 0; }
    bool IsEncrypted() const { return (CentralDir.genPurposeFlag & ZA_FLAG_ENCRYPTED) != 0; }
};
