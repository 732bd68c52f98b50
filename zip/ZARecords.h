#pragma once
// The fixed records of a ZIP file as the archiver reads them, the extra fields it decodes, the
// flag bits and method numbers it acts on. Every record decodes from a byte buffer of its own
// size (little-endian fields); nothing here reads beyond the bytes it is given.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "zip/ZATypes.h"

// Signatures, as the 32-bit little-endian value of their four bytes.
constexpr uint32_t ZA_SIG_LOCAL_HEADER = 0x04034B50;
constexpr uint32_t ZA_SIG_DATA_DESCRIPTOR = 0x08074B50;
constexpr uint32_t ZA_SIG_CENTRAL_DIR = 0x02014B50;
constexpr uint32_t ZA_SIG_CENTRAL_DIR_END = 0x06054B50;
constexpr uint32_t ZA_SIG_ZIP64_CENTRAL_DIR_END = 0x06064B50;
constexpr uint32_t ZA_SIG_ZIP64_LOCATOR = 0x07064B50;
constexpr uint32_t ZA_SIG_UNICODE_NAME = 0x5843554E;  // "NUCX"

// General-purpose flag bits.
constexpr uint16_t ZA_FLAG_ENCRYPTED = 0x0001;
constexpr uint16_t ZA_FLAG_DATA_DESCRIPTOR = 0x0008;
constexpr uint16_t ZA_FLAG_UTF8_NAME = 0x0800;

// Compression methods.
constexpr uint16_t ZA_METHOD_STORED = 0;
constexpr uint16_t ZA_METHOD_DEFLATED = 8;
constexpr uint16_t ZA_METHOD_DEFLATE64 = 9;
constexpr uint16_t ZA_METHOD_AES = 99;

// Extra field IDs.
constexpr uint16_t ZA_EXTRA_ZIP64 = 0x0001;
constexpr uint16_t ZA_EXTRA_AES = 0x9901;
constexpr uint16_t ZA_EXTRA_UNICODE_NAME = 0x554E;  // "NU"
constexpr uint16_t ZA_EXTRA_UNICODE_PATH = 0x7075;  // Info-ZIP's "up"

// Entries whose version needed to extract is this or more never take their AES block.
constexpr uint16_t ZA_AES_EXTRACT_VERSION_LIMIT = 16660;

// Overflow markers of the 32-bit and 16-bit fields that Zip64 records replace.
constexpr uint32_t ZA_ZIP64_MARKER32 = 0xFFFFFFFF;
constexpr uint16_t ZA_ZIP64_MARKER16 = 0xFFFF;

// MS-DOS file attribute bits held in the low byte of the external attributes.
constexpr uint32_t ZA_ATTR_DIRECTORY = 0x10;
constexpr uint32_t ZA_ATTR_ARCHIVE = 0x20;

uint16_t ZALoad16(const uint8_t* p);
uint32_t ZALoad32(const uint8_t* p);
uint64_t ZALoad64(const uint8_t* p);

// The position of the first occurrence of `signature`'s four bytes in `bytes` at or after
// `from`, or -1.
int64_t ZAFindSignature(std::span<const uint8_t> bytes, uint32_t signature, size_t from = 0);

struct TZAZipLocalHeader {
    static constexpr size_t Size = 30;
    uint32_t signature = 0;
    uint16_t extractVersion = 0;
    uint16_t genPurposeFlag = 0;
    uint16_t compMethod = 0;
    uint16_t lastModTime = 0;
    uint16_t lastModDate = 0;
    uint32_t crc32 = 0;
    uint32_t compSize = 0;
    uint32_t unCompSize = 0;
    uint16_t nameLength = 0;
    uint16_t extraLength = 0;

    // Fills the record from the first `Size` bytes; false (record unchanged) when fewer.
    bool Decode(std::span<const uint8_t> bytes);
};

struct TZAZipDataDescriptor {
    static constexpr size_t Size = 16;
    uint32_t signature = 0;
    uint32_t crc32 = 0;
    uint32_t compSize = 0;
    uint32_t unCompSize = 0;

    bool Decode(std::span<const uint8_t> bytes);
};

struct TZAZipCentralDir {
    static constexpr size_t Size = 46;
    uint32_t signature = 0;
    uint16_t versionMadeBy = 0;
    uint16_t extractVersion = 0;
    uint16_t genPurposeFlag = 0;
    uint16_t compMethod = 0;
    uint16_t lastModTime = 0;
    uint16_t lastModDate = 0;
    uint32_t crc32 = 0;
    uint32_t compSize = 0;
    uint32_t unCompSize = 0;
    uint16_t nameLength = 0;
    uint16_t extraLength = 0;
    uint16_t commentLength = 0;
    uint16_t diskNumberStart = 0;
    uint16_t internalAttr = 0;
    uint32_t externalAttr = 0;
    uint32_t relOffsetLH = 0;

    bool Decode(std::span<const uint8_t> bytes);
};

struct TZAZipCentralDirEnd {
    static constexpr size_t Size = 22;
    uint32_t signature = 0;
    uint16_t diskNumber = 0;
    uint16_t startDiskNumber = 0;
    uint16_t entriesOnDisk = 0;
    uint16_t entriesCentralDir = 0;
    uint32_t centralDirSize = 0;
    uint32_t offsetStartDir = 0;
    uint16_t commentLength = 0;

    bool Decode(std::span<const uint8_t> bytes);
};

struct TZAZip64CentralDirEnd {
    static constexpr size_t Size = 56;
    uint32_t signature = 0;
    uint64_t centralDirEndSize = 0;
    uint16_t versionMadeBy = 0;
    uint16_t versionNeededToExtract = 0;
    uint32_t diskNumber = 0;
    uint32_t startDiskNumber = 0;
    uint64_t entriesOnDisk = 0;
    uint64_t entriesCentralDir = 0;
    uint64_t centralDirSize = 0;
    uint64_t offsetStartDir = 0;

    bool Decode(std::span<const uint8_t> bytes);
};

struct TZAZip64CentralDirEndLocator {
    static constexpr size_t Size = 20;
    uint32_t signature = 0;
    uint32_t startDiskNumber = 0;
    uint64_t offsetStartDirEnd = 0;
    uint32_t totalNumberOfDisks = 0;

    bool Decode(std::span<const uint8_t> bytes);
};

// One block of an extra area. The block owns its data; `dataSize` is the number of bytes held
// (a block that claimed more than its area holds is cut to what remains).
struct TZAExtraFieldDataBlock {
    uint16_t headerID = 0;
    uint16_t dataSize = 0;
    std::vector<uint8_t> pData;
};

struct TZAZip64ExtendedInfo {
    uint64_t uncompSize = 0;
    uint64_t compSize = 0;
    uint64_t relOffsetLH = 0;
    uint32_t diskNumberStart = 0;
};

// The AES block as stored: key strength 1 to 3 (128, 192, 256 bits) and the compression method
// of the data before encryption.
struct TZAAESExtraInfo {
    uint16_t vendorVersion = 0;
    uint16_t vendorID = 0;
    uint8_t keyStrength = 0;
    uint16_t compressionMethod = 0;
};

// Splits an extra area into its blocks: a block is a 4-byte header (ID, size) and its data;
// data that claims more than is left is cut to what is left; 1 to 3 trailing bytes are skipped.
std::vector<TZAExtraFieldDataBlock> ZASplitExtraArea(std::span<const uint8_t> area);

// Takes the Zip64 values for the fields of `header` that hold the overflow marker, in the order
// uncompressed size, compressed size, local-header offset, disk start number, as far as the
// block holds them. Fields without the marker leave their counterpart 0.
TZAZip64ExtendedInfo ZADecodeZip64Block(const TZAExtraFieldDataBlock& block,
                                        const TZAZipCentralDir& header);
// The same values taken into `info`: what the block does not hold keeps its value there, so
// a second Zip64 block of an entry adds to the first instead of wiping it.
void ZATakeZip64Block(const TZAExtraFieldDataBlock& block, const TZAZipCentralDir& header,
                      TZAZip64ExtendedInfo& info);

// The AES block's fields; false when the block holds fewer than its 7 bytes.
bool ZADecodeAESBlock(const TZAExtraFieldDataBlock& block, TZAAESExtraInfo& info);

// The Unicode name block ("NU"): signature "NUCX", a signed 32-bit count N of UTF-16 code
// units, then the name (2N bytes, little-endian, no terminator).
class TUnicodeExtendedInfo {
public:
    uint32_t FAdditionalSignature = 0;
    ZAString FName;

    // Reads the block's data. True when the signature is "NUCX" and N code units are present;
    // a negative N or one larger than the data holds is refused (false, FName unchanged).
    bool LoadFromBuffer(std::span<const uint8_t> data);
    // The block's data as written: signature, N, the name's code units.
    std::string SaveToBytes() const;
};
