#include "zip/ZARecords.h"

#include <algorithm>
#include <cstring>

uint16_t ZALoad16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t ZALoad32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint64_t ZALoad64(const uint8_t* p) {
    return static_cast<uint64_t>(ZALoad32(p)) | (static_cast<uint64_t>(ZALoad32(p + 4)) << 32);
}

int64_t ZAFindSignature(std::span<const uint8_t> bytes, uint32_t signature, size_t from) {
    if (bytes.size() < 4) return -1;
    const uint8_t s0 = signature & 0xFF;
    const uint8_t s1 = (signature >> 8) & 0xFF;
    const uint8_t s2 = (signature >> 16) & 0xFF;
    const uint8_t s3 = (signature >> 24) & 0xFF;
    const size_t last = bytes.size() - 4;
    const uint8_t* data = bytes.data();
    size_t i = from;
    while (i <= last) {
        const void* hit = std::memchr(data + i, s0, last - i + 1);
        if (!hit) return -1;
        i = static_cast<size_t>(static_cast<const uint8_t*>(hit) - data);
        if (data[i + 1] == s1 && data[i + 2] == s2 && data[i + 3] == s3) {
            return static_cast<int64_t>(i);
        }
        ++i;
    }
    return -1;
}

bool TZAZipLocalHeader::Decode(std::span<const uint8_t> bytes) {
    if (bytes.size() < Size) return false;
    const uint8_t* p = bytes.data();
    signature = ZALoad32(p);
    extractVersion = ZALoad16(p + 4);
    genPurposeFlag = ZALoad16(p + 6);
    compMethod = ZALoad16(p + 8);
    lastModTime = ZALoad16(p + 10);
    lastModDate = ZALoad16(p + 12);
    crc32 = ZALoad32(p + 14);
    compSize = ZALoad32(p + 18);
    unCompSize = ZALoad32(p + 22);
    nameLength = ZALoad16(p + 26);
    extraLength = ZALoad16(p + 28);
    return true;
}

bool TZAZipDataDescriptor::Decode(std::span<const uint8_t> bytes) {
    if (bytes.size() < Size) return false;
    const uint8_t* p = bytes.data();
    signature = ZALoad32(p);
    crc32 = ZALoad32(p + 4);
    compSize = ZALoad32(p + 8);
    unCompSize = ZALoad32(p + 12);
    return true;
}

bool TZAZipCentralDir::Decode(std::span<const uint8_t> bytes) {
    if (bytes.size() < Size) return false;
    const uint8_t* p = bytes.data();
    signature = ZALoad32(p);
    versionMadeBy = ZALoad16(p + 4);
    extractVersion = ZALoad16(p + 6);
    genPurposeFlag = ZALoad16(p + 8);
    compMethod = ZALoad16(p + 10);
    lastModTime = ZALoad16(p + 12);
    lastModDate = ZALoad16(p + 14);
    crc32 = ZALoad32(p + 16);
    compSize = ZALoad32(p + 20);
    unCompSize = ZALoad32(p + 24);
    nameLength = ZALoad16(p + 28);
    extraLength = ZALoad16(p + 30);
    commentLength = ZALoad16(p + 32);
    diskNumberStart = ZALoad16(p + 34);
    internalAttr = ZALoad16(p + 36);
    externalAttr = ZALoad32(p + 38);
    relOffsetLH = ZALoad32(p + 42);
    return true;
}

bool TZAZipCentralDirEnd::Decode(std::span<const uint8_t> bytes) {
    if (bytes.size() < Size) return false;
    const uint8_t* p = bytes.data();
    signature = ZALoad32(p);
    diskNumber = ZALoad16(p + 4);
    startDiskNumber = ZALoad16(p + 6);
    entriesOnDisk = ZALoad16(p + 8);
    entriesCentralDir = ZALoad16(p + 10);
    centralDirSize = ZALoad32(p + 12);
    offsetStartDir = ZALoad32(p + 16);
    commentLength = ZALoad16(p + 20);
    return true;
}

bool TZAZip64CentralDirEnd::Decode(std::span<const uint8_t> bytes) {
    if (bytes.size() < Size) return false;
    const uint8_t* p = bytes.data();
    signature = ZALoad32(p);
    centralDirEndSize = ZALoad64(p + 4);
    versionMadeBy = ZALoad16(p + 12);
    versionNeededToExtract = ZALoad16(p + 14);
    diskNumber = ZALoad32(p + 16);
    startDiskNumber = ZALoad32(p + 20);
    entriesOnDisk = ZALoad64(p + 24);
    entriesCentralDir = ZALoad64(p + 32);
    centralDirSize = ZALoad64(p + 40);
    offsetStartDir = ZALoad64(p + 48);
    return true;
}

bool TZAZip64CentralDirEndLocator::Decode(std::span<const uint8_t> bytes) {
    if (bytes.size() < Size) return false;
    const uint8_t* p = bytes.data();
    signature = ZALoad32(p);
    startDiskNumber = ZALoad32(p + 4);
    offsetStartDirEnd = ZALoad64(p + 8);
    totalNumberOfDisks = ZALoad32(p + 16);
    return true;
}

std::vector<TZAExtraFieldDataBlock> ZASplitExtraArea(std::span<const uint8_t> area) {
    std::vector<TZAExtraFieldDataBlock> blocks;
    size_t consumed = 0;
    while (area.size() - consumed >= 4) {
        TZAExtraFieldDataBlock block;
        block.headerID = ZALoad16(area.data() + consumed);
        block.dataSize = ZALoad16(area.data() + consumed + 2);
        consumed += 4;
        const size_t left = area.size() - consumed;
        if (block.dataSize > left) block.dataSize = static_cast<uint16_t>(left);
        block.pData.assign(area.begin() + static_cast<std::ptrdiff_t>(consumed),
                           area.begin() + static_cast<std::ptrdiff_t>(consumed + block.dataSize));
        consumed += block.dataSize;
        blocks.push_back(std::move(block));
    }
    return blocks;
}

TZAZip64ExtendedInfo ZADecodeZip64Block(const TZAExtraFieldDataBlock& block,
                                        const TZAZipCentralDir& header) {
    TZAZip64ExtendedInfo info;
    ZATakeZip64Block(block, header, info);
    return info;
}

void ZATakeZip64Block(const TZAExtraFieldDataBlock& block, const TZAZipCentralDir& header,
                      TZAZip64ExtendedInfo& info) {
    const size_t size = std::min<size_t>(block.dataSize, block.pData.size());
    const uint8_t* data = block.pData.data();
    size_t offset = 0;
    auto take64 = [&](uint32_t field, uint64_t& target) {
        if (field == ZA_ZIP64_MARKER32 && offset + 8 <= size) {
            target = ZALoad64(data + offset);
            offset += 8;
        }
    };
    take64(header.unCompSize, info.uncompSize);
    take64(header.compSize, info.compSize);
    take64(header.relOffsetLH, info.relOffsetLH);
    if (header.diskNumberStart == ZA_ZIP64_MARKER16 && offset + 4 <= size) {
        info.diskNumberStart = ZALoad32(data + offset);
    }
}

bool ZADecodeAESBlock(const TZAExtraFieldDataBlock& block, TZAAESExtraInfo& info) {
    if (block.dataSize < 7 || block.pData.size() < 7) return false;
    const uint8_t* p = block.pData.data();
    info.vendorVersion = ZALoad16(p);
    info.vendorID = ZALoad16(p + 2);
    info.keyStrength = p[4];
    info.compressionMethod = ZALoad16(p + 5);
    return true;
}

bool TUnicodeExtendedInfo::LoadFromBuffer(std::span<const uint8_t> data) {
    if (data.size() < 8) return false;
    const uint32_t signature = ZALoad32(data.data());
    if (signature != ZA_SIG_UNICODE_NAME) return false;
    const auto count = static_cast<int32_t>(ZALoad32(data.data() + 4));
    if (count < 0 || static_cast<uint64_t>(count) * 2 > data.size() - 8) return false;
    FAdditionalSignature = signature;
    FName.resize(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        FName[static_cast<size_t>(i)] = static_cast<char16_t>(ZALoad16(data.data() + 8 + 2 * i));
    }
    return true;
}

std::string TUnicodeExtendedInfo::SaveToBytes() const {
    std::string out;
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    put32(ZA_SIG_UNICODE_NAME);
    put32(static_cast<uint32_t>(FName.size()));
    for (char16_t c : FName) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}
