// Decoding of the fixed records and of the extra fields from raw bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixtures/ZipBuilder.h"
#include "zip/ZARecords.h"

using zipfix::Put16;
using zipfix::Put32;
using zipfix::Put64;

namespace {

std::span<const uint8_t> Bytes(const std::string& s) {
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

TZAExtraFieldDataBlock Block(uint16_t id, const std::string& data) {
    TZAExtraFieldDataBlock b;
    b.headerID = id;
    b.dataSize = static_cast<uint16_t>(data.size());
    b.pData.assign(data.begin(), data.end());
    return b;
}

}  // namespace

TEST(Records, CentralDirHeaderFieldsComeFromTheirOffsets) {
    std::string raw;
    Put32(raw, 0x02014B50);
    for (uint16_t v : {0x0314, 0x0033, 0x0809, 0x0008, 0x7A21, 0x5A4C}) Put16(raw, v);
    Put32(raw, 0xCAFEBABE);
    Put32(raw, 0x11223344);
    Put32(raw, 0x55667788);
    for (uint16_t v : {7, 9, 11, 3, 1}) Put16(raw, v);
    Put32(raw, 0x00000010);
    Put32(raw, 0x01020304);
    TZAZipCentralDir cd;
    ASSERT_TRUE(cd.Decode(Bytes(raw)));
    EXPECT_EQ(cd.signature, 0x02014B50u);
    EXPECT_EQ(cd.versionMadeBy, 0x0314);
    EXPECT_EQ(cd.extractVersion, 0x0033);
    EXPECT_EQ(cd.genPurposeFlag, 0x0809);
    EXPECT_EQ(cd.compMethod, 8);
    EXPECT_EQ(cd.lastModTime, 0x7A21);
    EXPECT_EQ(cd.lastModDate, 0x5A4C);
    EXPECT_EQ(cd.crc32, 0xCAFEBABEu);
    EXPECT_EQ(cd.compSize, 0x11223344u);
    EXPECT_EQ(cd.unCompSize, 0x55667788u);
    EXPECT_EQ(cd.nameLength, 7);
    EXPECT_EQ(cd.extraLength, 9);
    EXPECT_EQ(cd.commentLength, 11);
    EXPECT_EQ(cd.diskNumberStart, 3);
    EXPECT_EQ(cd.internalAttr, 1);
    EXPECT_EQ(cd.externalAttr, 0x10u);
    EXPECT_EQ(cd.relOffsetLH, 0x01020304u);
}

TEST(Records, LocalHeaderAndEndRecordsFieldsComeFromTheirOffsets) {
    std::string lhRaw;
    Put32(lhRaw, 0x04034B50);
    for (uint16_t v : {20, 0x0008, 8, 0x1111, 0x2222}) Put16(lhRaw, v);
    Put32(lhRaw, 0xAABBCCDD);
    Put32(lhRaw, 100);
    Put32(lhRaw, 200);
    Put16(lhRaw, 5);
    Put16(lhRaw, 6);
    TZAZipLocalHeader lh;
    ASSERT_TRUE(lh.Decode(Bytes(lhRaw)));
    EXPECT_EQ(lh.genPurposeFlag, 0x0008);
    EXPECT_EQ(lh.lastModDate, 0x2222);
    EXPECT_EQ(lh.crc32, 0xAABBCCDDu);
    EXPECT_EQ(lh.unCompSize, 200u);
    EXPECT_EQ(lh.extraLength, 6);

    std::string endRaw;
    Put32(endRaw, 0x06054B50);
    for (uint16_t v : {2, 1, 3, 4}) Put16(endRaw, v);
    Put32(endRaw, 0x300);
    Put32(endRaw, 0x400);
    Put16(endRaw, 17);
    TZAZipCentralDirEnd end;
    ASSERT_TRUE(end.Decode(Bytes(endRaw)));
    EXPECT_EQ(end.diskNumber, 2);
    EXPECT_EQ(end.startDiskNumber, 1);
    EXPECT_EQ(end.entriesOnDisk, 3);
    EXPECT_EQ(end.entriesCentralDir, 4);
    EXPECT_EQ(end.centralDirSize, 0x300u);
    EXPECT_EQ(end.offsetStartDir, 0x400u);
    EXPECT_EQ(end.commentLength, 17);

    std::string z64Raw;
    Put32(z64Raw, 0x06064B50);
    Put64(z64Raw, 44);
    Put16(z64Raw, 45);
    Put16(z64Raw, 46);
    Put32(z64Raw, 7);
    Put32(z64Raw, 8);
    Put64(z64Raw, 0x100000001ull);
    Put64(z64Raw, 0x200000002ull);
    Put64(z64Raw, 0x300000003ull);
    Put64(z64Raw, 0x400000004ull);
    TZAZip64CentralDirEnd z64;
    ASSERT_TRUE(z64.Decode(Bytes(z64Raw)));
    EXPECT_EQ(z64.startDiskNumber, 8u);
    EXPECT_EQ(z64.entriesOnDisk, 0x100000001ull);
    EXPECT_EQ(z64.entriesCentralDir, 0x200000002ull);
    EXPECT_EQ(z64.centralDirSize, 0x300000003ull);
    EXPECT_EQ(z64.offsetStartDir, 0x400000004ull);

    std::string locRaw;
    Put32(locRaw, 0x07064B50);
    Put32(locRaw, 1);
    Put64(locRaw, 0x123456789ull);
    Put32(locRaw, 3);
    TZAZip64CentralDirEndLocator loc;
    ASSERT_TRUE(loc.Decode(Bytes(locRaw)));
    EXPECT_EQ(loc.offsetStartDirEnd, 0x123456789ull);
    EXPECT_EQ(loc.totalNumberOfDisks, 3u);
}

TEST(Records, ShortBuffersAreRefusedAndLeaveTheRecordAlone) {
    const std::string raw(45, 'x');
    TZAZipCentralDir cd;
    cd.crc32 = 42;
    EXPECT_FALSE(cd.Decode(Bytes(raw)));
    EXPECT_EQ(cd.crc32, 42u);
    TZAZipLocalHeader lh;
    EXPECT_FALSE(lh.Decode(Bytes(raw.substr(0, 29))));
    TZAZipCentralDirEnd end;
    EXPECT_FALSE(end.Decode(Bytes(raw.substr(0, 21))));
    TZAZip64CentralDirEnd z64;
    EXPECT_FALSE(z64.Decode(Bytes(raw.substr(0, 55) )));
    TZAZipDataDescriptor dd;
    EXPECT_FALSE(dd.Decode(Bytes(raw.substr(0, 15))));
}

TEST(Records, SignatureIsFoundByItsLittleEndianBytes) {
    const std::string hay = std::string("xxPK\x04\x03") + "PK\x03\x04" + "tail";
    EXPECT_EQ(ZAFindSignature(Bytes(hay), ZA_SIG_LOCAL_HEADER), 6);
    EXPECT_EQ(ZAFindSignature(Bytes(hay), ZA_SIG_LOCAL_HEADER, 7), -1);
    EXPECT_EQ(ZAFindSignature(Bytes(std::string("PK\x03")), ZA_SIG_LOCAL_HEADER), -1);
}

struct ExtraAreaCase {
    const char* what;
    std::string area;
    std::vector<std::pair<uint16_t, std::string>> blocks;
};

class ExtraAreaWalk : public ::testing::TestWithParam<ExtraAreaCase> {};

TEST_P(ExtraAreaWalk, SplitsIntoBlocks) {
    const ExtraAreaCase& c = GetParam();
    const auto blocks = ZASplitExtraArea(Bytes(c.area));
    ASSERT_EQ(blocks.size(), c.blocks.size()) << c.what;
    for (size_t i = 0; i < blocks.size(); ++i) {
        EXPECT_EQ(blocks[i].headerID, c.blocks[i].first) << c.what;
        EXPECT_EQ(blocks[i].dataSize, c.blocks[i].second.size()) << c.what;
        EXPECT_EQ(std::string(blocks[i].pData.begin(), blocks[i].pData.end()), c.blocks[i].second)
            << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Records, ExtraAreaWalk,
    ::testing::Values(
        ExtraAreaCase{"two blocks in order",
                      zipfix::ExtraBlock(0x000A, "abcd") + zipfix::ExtraBlock(0x7875, "xy"),
                      {{0x000A, "abcd"}, {0x7875, "xy"}}},
        ExtraAreaCase{"last block claims more than the area holds: cut to what remains",
                      zipfix::ExtraBlock(0x0001, "12345678") +
                          std::string("\x4E\x55\x20\x00", 4) + "abc",
                      {{0x0001, "12345678"}, {0x554E, "abc"}}},
        ExtraAreaCase{"first block claims more: it takes the rest, no second block",
                      std::string("\x01\x00\xFF\x00", 4) + zipfix::ExtraBlock(0x9901, "zz"),
                      {{0x0001, zipfix::ExtraBlock(0x9901, "zz")}}},
        ExtraAreaCase{"three bytes: no block", "abc", {}},
        ExtraAreaCase{"a block followed by three stray bytes",
                      zipfix::ExtraBlock(0x000A, "q") + "xyz", {{0x000A, "q"}}},
        ExtraAreaCase{"empty data", zipfix::ExtraBlock(0x1234, ""), {{0x1234, ""}}}));

struct Zip64Case {
    const char* what;
    uint32_t unComp, comp, offset;
    uint16_t disk;
    std::string data;
    TZAZip64ExtendedInfo expect;
};

class Zip64Block : public ::testing::TestWithParam<Zip64Case> {};

TEST_P(Zip64Block, TakesOnlyTheMarkedFieldsInOrder) {
    const Zip64Case& c = GetParam();
    TZAZipCentralDir cd;
    cd.unCompSize = c.unComp;
    cd.compSize = c.comp;
    cd.relOffsetLH = c.offset;
    cd.diskNumberStart = c.disk;
    const TZAZip64ExtendedInfo info = ZADecodeZip64Block(Block(0x0001, c.data), cd);
    EXPECT_EQ(info.uncompSize, c.expect.uncompSize) << c.what;
    EXPECT_EQ(info.compSize, c.expect.compSize) << c.what;
    EXPECT_EQ(info.relOffsetLH, c.expect.relOffsetLH) << c.what;
    EXPECT_EQ(info.diskNumberStart, c.expect.diskNumberStart) << c.what;
}

std::string Z64(std::initializer_list<uint64_t> v64, std::initializer_list<uint32_t> v32 = {}) {
    std::string s;
    for (uint64_t v : v64) Put64(s, v);
    for (uint32_t v : v32) Put32(s, v);
    return s;
}

constexpr uint32_t M = 0xFFFFFFFF;

INSTANTIATE_TEST_SUITE_P(
    Records, Zip64Block,
    ::testing::Values(
        Zip64Case{"only the compressed size marked: first 8 bytes are it", 10, M, 0, 0,
                  Z64({0x123456789ull}), {0, 0x123456789ull, 0, 0}},
        Zip64Case{"all four marked: disk number at offset 24", M, M, M, 0xFFFF,
                  Z64({1, 2, 3}, {77}), {1, 2, 3, 77}},
        Zip64Case{"sizes marked, block holds only one value", M, M, 0, 0, Z64({5}), {5, 0, 0, 0}},
        Zip64Case{"nothing marked: nothing taken", 1, 2, 3, 4, Z64({9, 9, 9}), {0, 0, 0, 0}},
        Zip64Case{"offset marked only", 1, 2, M, 0, Z64({0x500000000ull}),
                  {0, 0, 0x500000000ull, 0}},
        Zip64Case{"disk marked but the block is 3 bytes short", M, 1, 1, 0xFFFF,
                  Z64({8}) + "abc", {8, 0, 0, 0}}));

TEST(Records, AesBlockNeedsItsSevenBytes) {
    TZAAESExtraInfo info;
    const std::string full = zipfix::AesBlock(3, 8).substr(4);
    ASSERT_TRUE(ZADecodeAESBlock(Block(0x9901, full), info));
    EXPECT_EQ(info.keyStrength, 3);
    EXPECT_EQ(info.compressionMethod, 8);
    EXPECT_FALSE(ZADecodeAESBlock(Block(0x9901, full.substr(0, 6)), info));
}

struct UnicodeCase {
    const char* what;
    std::string data;
    bool ok;
    std::u16string name;
};

class UnicodeBlock : public ::testing::TestWithParam<UnicodeCase> {};

TEST_P(UnicodeBlock, ReadsOnlyWithinItsData) {
    const UnicodeCase& c = GetParam();
    TUnicodeExtendedInfo info;
    info.FName = u"unchanged";
    EXPECT_EQ(info.LoadFromBuffer(Bytes(c.data)), c.ok) << c.what;
    EXPECT_EQ(info.FName, c.ok ? c.name : u"unchanged") << c.what;
}

std::string NuData(const std::u16string& name, std::optional<int32_t> count = {}) {
    return zipfix::UnicodeNameBlock(name, count).substr(4);
}

INSTANTIATE_TEST_SUITE_P(
    Records, UnicodeBlock,
    ::testing::Values(
        UnicodeCase{"valid", NuData(u"\u00c4rger/\u20ac.txt"), true, u"\u00c4rger/\u20ac.txt"},
        UnicodeCase{"empty name", NuData(u""), true, u""},
        UnicodeCase{"wrong signature", "NUXX" + NuData(u"abc").substr(4), false, u""},
        UnicodeCase{"N larger than the data", NuData(u"abc", 4), false, u""},
        UnicodeCase{"N negative", NuData(u"abc", -1), false, u""},
        UnicodeCase{"N huge", NuData(u"abc", 0x7FFFFFFF), false, u""},
        UnicodeCase{"shorter than the fixed part", "NUCX\x01", false, u""}));

TEST(Records, UnicodeBlockWritesTheLayoutItReads) {
    TUnicodeExtendedInfo out;
    out.FName = u"gr\u00fc\u00dfe";
    const std::string saved = out.SaveToBytes();
    EXPECT_EQ(saved.size(), 8u + 2 * out.FName.size());
    EXPECT_EQ(saved, NuData(u"gr\u00fc\u00dfe"));
}
