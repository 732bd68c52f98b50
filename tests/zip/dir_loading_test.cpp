// Loading the central directory: end record search, Zip64, extra fields, rebuilding from local
// headers, stub detection, and the guarded failure paths.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "fixtures/ZipBuilder.h"
#include "zip/ZADirManager.h"
#include "zip/ZAExcept.h"
#include "zip/ZAStream.h"
#include "zip/ZipArchiver.h"

using zipfix::BuildZip;
using zipfix::ZipEntry;
using zipfix::ZipLayout;
using zipfix::ZipPlan;

namespace {

struct Settings {
    bool openCorrupted = true;
    bool oemFileNames = true;
};

// An archive in a memory stream with a directory manager on it.
class Loaded {
public:
    Loaded(const std::string& bytes, Settings settings = {}) {
        stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        stream.SetPosition(0);
        arc.SetOpenCorruptedArchives(settings.openCorrupted);
        arc.Options().SetOEMFileNames(settings.oemFileNames);
        dm = std::make_unique<TZADirManager>(&stream, false, &arc);
    }
    TZADirManager& Dir() { return *dm; }
    const TDirItem& Item(int32_t i) { return *dm->CDir.ItemPtr(i); }
    int32_t Find(const std::u16string& name) {
        int32_t no = -1;
        dm->CDir.FileExists(name, no);
        return no;
    }

    TZAMemoryStream stream;
    TZipArchiver arc;
    std::unique_ptr<TZADirManager> dm;
};

ZipEntry Entry(const std::string& name, const std::string& data = "some data", uint16_t method = 0) {
    ZipEntry e;
    e.name = name;
    e.data = data;
    e.method = method;
    return e;
}

ZipPlan PlanOf(std::initializer_list<ZipEntry> entries) {
    ZipPlan plan;
    plan.entries = entries;
    return plan;
}

int32_t NativeErrorOf(Loaded& loaded) {
    try {
        loaded.Dir().LoadDir();
    } catch (const EZAException& e) {
        return e.NativeError;
    }
    return -1;
}

}  // namespace

TEST(DirLoading, PlainArchiveLoadsEveryHeader) {
    ZipPlan plan = PlanOf({Entry("readme.txt", "hello", 0), Entry("dir/", ""),
                         Entry("Finds.gpx", std::string(5000, 'x'), 8)});
    plan.entries[1].externalAttr = 0x10;
    plan.entries[2].comment = "entry comment";
    plan.entries[2].flags = 0x0002;
    plan.comment = "archive comment";
    ZipLayout layout;
    Loaded loaded(BuildZip(plan, &layout));
    loaded.Dir().LoadDir();
    TZADirManager& dm = loaded.Dir();
    ASSERT_EQ(dm.CDir.Count(), 3);
    EXPECT_EQ(dm.StubSize, 0);
    EXPECT_EQ(dm.CentralDirOffset, static_cast<int64_t>(layout.centralDir));
    EXPECT_FALSE(dm.FZip64);
    EXPECT_EQ(dm.ArchiveComment, "archive comment");
    EXPECT_EQ(dm.CentralDirEnd.entriesCentralDir, 3);
    EXPECT_EQ(loaded.Item(0).Name, u"readme.txt");
    EXPECT_EQ(loaded.Item(0).CentralDir.crc32, zipfix::Crc32("hello"));
    EXPECT_EQ(loaded.Item(1).CentralDir.externalAttr, 0x10u);
    const TDirItem& gpx = loaded.Item(2);
    EXPECT_EQ(gpx.Name, u"Finds.gpx");
    EXPECT_EQ(gpx.CompressionMethod, 8);
    EXPECT_EQ(gpx.CentralDir.unCompSize, 5000u);
    EXPECT_EQ(gpx.CentralDir.compSize, zipfix::Deflate(std::string(5000, 'x')).size());
    EXPECT_EQ(gpx.EffectiveRelOffsetLH(), layout.localHeaders[2]);
    EXPECT_EQ(gpx.Comment, "entry comment");
    EXPECT_EQ(gpx.CentralDir.genPurposeFlag, 0x0002);
    EXPECT_EQ(loaded.Find(u"FINDS.GPX"), 2);
    EXPECT_FALSE(dm.IsEncrypted());
    EXPECT_FALSE(dm.IsSFXArchive());
}

TEST(DirLoading, EmptyArchiveHasNoEntriesAndNoStub) {
    Loaded loaded(BuildZip(ZipPlan{}));
    loaded.Dir().LoadDir();
    EXPECT_EQ(loaded.Dir().CDir.Count(), 0);
    EXPECT_EQ(loaded.Dir().StubSize, 0);

    ZipPlan stubbed;
    stubbed.stub = std::string(300, 'S');
    Loaded behindStub(BuildZip(stubbed));
    behindStub.Dir().LoadDir();
    EXPECT_EQ(behindStub.Dir().CDir.Count(), 0);
    EXPECT_EQ(behindStub.Dir().StubSize, 300);
}

struct StubCase {
    const char* what;
    bool offsetsCountStub;
};

class StubDetection : public ::testing::TestWithParam<StubCase> {};

TEST_P(StubDetection, EntriesPointAtTheirLocalHeaders) {
    ZipPlan plan = PlanOf({Entry("a.txt", "alpha"), Entry("sub/", ""), Entry("b.txt", "beta", 8)});
    plan.entries[1].externalAttr = 0x10;
    // The stub holds a local header signature of its own that must not be taken.
    plan.stub = "MZ stub PK\x03\x04 not a header" + std::string(1000, '\x90');
    plan.offsetsCountStub = GetParam().offsetsCountStub;
    ZipLayout layout;
    Loaded loaded(BuildZip(plan, &layout));
    loaded.Dir().LoadDir();
    TZADirManager& dm = loaded.Dir();
    ASSERT_EQ(dm.CDir.Count(), 3);
    EXPECT_EQ(dm.StubSize, static_cast<int64_t>(plan.stub.size())) << GetParam().what;
    EXPECT_EQ(loaded.Item(0).EffectiveRelOffsetLH(), layout.localHeaders[0]);
    EXPECT_EQ(loaded.Item(2).EffectiveRelOffsetLH(), layout.localHeaders[2]);
    // A directory entry keeps its stored offset.
    const uint64_t storedDirOffset =
        layout.localHeaders[1] - (plan.offsetsCountStub ? 0 : plan.stub.size());
    EXPECT_EQ(loaded.Item(1).EffectiveRelOffsetLH(), storedDirOffset);
    EXPECT_TRUE(dm.IsSFXArchive());
}

INSTANTIATE_TEST_SUITE_P(DirLoading, StubDetection,
                         ::testing::Values(StubCase{"offsets start at 0", false},
                                           StubCase{"offsets count the stub", true}));

TEST(DirLoading, StubOffsetBeyondFourGigabytesStaysCorrect) {
    TZADirManager dm(nullptr, false, nullptr);
    dm.CDir.SetCount(1);
    dm.CDir.SetItemName(0, u"big");
    dm.CDir.ItemPtr(0)->CentralDir.relOffsetLH = 0xFFFFFF00u;
    dm.StubSize = 0x200;
    dm.ApplyStubOffset();
    EXPECT_EQ(dm.CDir.ItemPtr(0)->EffectiveRelOffsetLH(), 0x100000100ull);
}

TEST(DirLoading, EndRecordNearestTheEndThatPassesWins) {
    ZipPlan plan = PlanOf({Entry("a.txt"), Entry("b.txt")});
    // A record inside the comment that passes the test: no entries, nothing before it.
    std::string inner;
    zipfix::Put32(inner, 0x06054B50);
    for (int i = 0; i < 4; ++i) zipfix::Put16(inner, 0);
    zipfix::Put32(inner, 0);
    zipfix::Put32(inner, 0);
    zipfix::Put16(inner, 0);
    plan.comment = "comment " + inner;
    Loaded taken(BuildZip(plan));
    taken.Dir().LoadDir();
    EXPECT_EQ(taken.Dir().CentralDirEnd.entriesCentralDir, 0);
    EXPECT_EQ(taken.Dir().CDir.Count(), 0);

    // A signature in the comment whose record fails the test is passed over.
    plan.comment = "PK\x05\x06 garbage that claims far too much";
    Loaded passedOver(BuildZip(plan));
    passedOver.Dir().LoadDir();
    EXPECT_EQ(passedOver.Dir().CDir.Count(), 2);
    EXPECT_EQ(passedOver.Dir().ArchiveComment, plan.comment);
}

TEST(DirLoading, HasCentralDirEndReportsTheSearch) {
    const std::string text = "just some text, no archive at all";
    Loaded strict(text, {.openCorrupted = false});
    EXPECT_FALSE(strict.Dir().HasCentralDirEnd());
    EXPECT_EQ(strict.Dir().CentralDirEnd.signature, 0u);
    Loaded lenient(text);
    EXPECT_TRUE(lenient.Dir().HasCentralDirEnd());

    // With a rejected candidate only, the end record holds that candidate.
    std::string rejected = "xxxx";
    zipfix::Put32(rejected, 0x06054B50);
    zipfix::Put16(rejected, 1);  // this volume 1, directory starts on volume 3: rejected
    zipfix::Put16(rejected, 3);
    rejected += std::string(14, '\0');
    Loaded candidate(rejected, {.openCorrupted = false});
    EXPECT_FALSE(candidate.Dir().HasCentralDirEnd());
    EXPECT_EQ(candidate.Dir().CentralDirEnd.signature, 0x06054B50u);
    EXPECT_EQ(candidate.Dir().CentralDirEnd.startDiskNumber, 3);
}

TEST(DirLoading, Zip64RecordsGiveCountSizesAndPlace) {
    ZipPlan plan = PlanOf({Entry("small.txt", "tiny"), Entry("huge.bin", std::string(3000, 'h'), 8)});
    plan.entries[1].zip64Sizes = true;
    plan.zip64 = true;
    ZipLayout layout;
    Loaded loaded(BuildZip(plan, &layout));
    loaded.Dir().LoadDir();
    TZADirManager& dm = loaded.Dir();
    EXPECT_TRUE(dm.FZip64);
    ASSERT_EQ(dm.CDir.Count(), 2);
    EXPECT_EQ(dm.Zip64CentralDirEnd.entriesCentralDir, 2u);
    EXPECT_EQ(dm.Zip64CentralDirEndLocator.offsetStartDirEnd, layout.zip64End);
    EXPECT_EQ(dm.CentralDirOffset, static_cast<int64_t>(layout.centralDir));
    EXPECT_FALSE(loaded.Item(0).bHugeFile);
    const TDirItem& huge = loaded.Item(1);
    EXPECT_TRUE(huge.bHugeFile);
    EXPECT_EQ(huge.CentralDir.unCompSize, 0xFFFFFFFFu);
    EXPECT_EQ(huge.EffectiveUnCompSize(), 3000u);
    EXPECT_EQ(huge.EffectiveCompSize(), zipfix::Deflate(std::string(3000, 'h')).size());
    EXPECT_EQ(huge.Zip64ExtInfo.relOffsetLH, 0u);
    EXPECT_EQ(dm.StubSize, 0);
}

TEST(DirLoading, EmptyZip64Archives) {
    struct Case {
        const char* what;
        std::string stub;
        std::string extensibleData;
    };
    const Case cases[] = {
        {"record at the start of the file", "", ""},
        {"record with extensible data", "", zipfix::ExtraBlock(0x0017, "extensible")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ZipPlan plan;
        plan.zip64 = true;
        plan.stub = c.stub;
        plan.offsetsCountStub = true;
        plan.zip64ExtensibleData = c.extensibleData;
        Loaded loaded(BuildZip(plan));
        ASSERT_NO_THROW(loaded.Dir().LoadDir());
        EXPECT_TRUE(loaded.Dir().FZip64);
        EXPECT_EQ(loaded.Dir().CDir.Count(), 0);
        EXPECT_EQ(loaded.Dir().StubSize, static_cast<int64_t>(c.stub.size()));
    }
}

TEST(DirLoading, Zip64LocatorClaimingAHugeNumberOfVolumes) {
    ZipPlan plan = PlanOf({Entry("a.txt")});
    plan.zip64 = true;
    ZipLayout layout;
    std::string bytes = BuildZip(plan, &layout);
    zipfix::Poke16(bytes, layout.endRecord + 4, 0xFFFF);  // this volume: see the locator
    for (const uint32_t disks : {0x80000000u, 0xFFFFFFFFu}) {
        zipfix::Poke32(bytes, layout.endRecord - 20 + 16, disks);
        Loaded loaded(bytes);
        ASSERT_NO_THROW(loaded.Dir().LoadDir()) << disks;
        ASSERT_EQ(loaded.Dir().CDir.Count(), 1);
        EXPECT_EQ(loaded.Dir().CDir.ItemPtr(0)->Name, u"a.txt");
        EXPECT_EQ(loaded.Dir().StubSize, 0);  // not measured in a set
    }
}

TEST(DirLoading, Zip64LocatorWithoutItsRecord) {
    ZipPlan plan = PlanOf({Entry("a.txt")});
    plan.zip64 = true;
    ZipLayout layout;
    std::string bytes = BuildZip(plan, &layout);
    std::string badSignature = bytes;
    badSignature[layout.zip64End] = 'X';
    Loaded missing(badSignature);
    EXPECT_EQ(NativeErrorOf(missing), 40);

    // A locator pointing beyond the file: the 56-byte read fails.
    std::string beyond = bytes;
    zipfix::Poke32(beyond, layout.endRecord - 20 + 8, 0x7FFFFFF0);
    Loaded far(beyond);
    EXPECT_THROW(far.Dir().LoadDir(), EZAReadError);
}

TEST(DirLoading, ExtraFieldsOfTheCentralDirectory) {
    ZipPlan plan = PlanOf({Entry("plain-name"), Entry("aes.bin"), Entry("aes-new.bin"),
                         Entry("wrong-nu"), Entry("short-aes"), Entry("after")});
    plan.entries[0].centralExtra = zipfix::ExtraBlock(0x000A, "ntfs") +
                                   zipfix::UnicodeNameBlock(u"\u00c4rger/\u6f22\u5b57.txt");
    plan.entries[1].flags = 0x0001;
    plan.entries[1].methodField = 99;
    plan.entries[1].centralExtra = zipfix::AesBlock(2, 8);
    plan.entries[2].flags = 0x0001;
    plan.entries[2].methodField = 99;
    plan.entries[2].versionNeeded = 16660;
    plan.entries[2].centralExtra = zipfix::AesBlock(3, 8);
    plan.entries[3].centralExtra = zipfix::ExtraBlock(0x554E, "NUXX\x07\0\0\0" + std::string(14, 'i'));
    plan.entries[4].centralExtra = zipfix::ExtraBlock(0x9901, std::string("\x02\0AE\x03\x08", 6));
    // The last block claims 0x400 bytes more than the area holds.
    plan.entries[5].centralExtra = std::string("\x34\x12\x00\x04", 4) + "cut";
    Loaded loaded(BuildZip(plan));
    loaded.Dir().LoadDir();
    ASSERT_EQ(loaded.Dir().CDir.Count(), 6);
    EXPECT_EQ(loaded.Item(0).Name, u"\u00c4rger/\u6f22\u5b57.txt");
    EXPECT_EQ(loaded.Item(0).ExtraFields.size(), 2u);
    EXPECT_EQ(loaded.Find(u"\u00c4RGER/\u6f22\u5b57.TXT"), 0);
    EXPECT_EQ(loaded.Find(u"plain-name"), -1);
    EXPECT_EQ(loaded.Item(1).ZAEncryptionAlgorithm, caAES_192);
    EXPECT_EQ(loaded.Item(1).CompressionMethod, 8);
    EXPECT_FALSE(loaded.Dir().IsEncrypted());  // only the first entry is looked at
    EXPECT_EQ(loaded.Item(2).ZAEncryptionAlgorithm, caPkzipClassic);
    EXPECT_EQ(loaded.Item(2).CompressionMethod, 99);
    EXPECT_EQ(loaded.Item(3).Name, u"wrong-nu");
    EXPECT_EQ(loaded.Item(4).ZAEncryptionAlgorithm, caPkzipClassic);
    EXPECT_EQ(loaded.Item(4).CompressionMethod, 0);
    ASSERT_EQ(loaded.Item(5).ExtraFields.size(), 1u);
    EXPECT_EQ(loaded.Item(5).ExtraFields[0].dataSize, 3);
    EXPECT_EQ(loaded.Item(5).Name, u"after");
}

TEST(DirLoading, NameFlagsAndOemOption) {
    ZipPlan plan = PlanOf({Entry("M\x81ll"), Entry("\xC3\xA4"), Entry("\xE4")});
    plan.entries[1].flags = 0x0800;
    plan.entries[2].flags = 0x0800;
    const std::string bytes = BuildZip(plan);
    Loaded oem(bytes);
    oem.Dir().LoadDir();
    EXPECT_EQ(oem.Item(0).Name, u"M\u00fcll");
    EXPECT_EQ(oem.Item(1).Name, u"\u00e4");
    EXPECT_EQ(oem.Item(2).Name, u"\u00e4");
    Loaded ansi(bytes, {.oemFileNames = false});
    ansi.Dir().LoadDir();
    EXPECT_EQ(ansi.Item(0).Name, u"M\u0081ll");
}

TEST(DirLoading, EmptyFirstNameFollowedByMoreEntries) {
    ZipPlan plan = PlanOf({Entry(""), Entry("second.txt"), Entry(""), Entry("fourth.txt")});
    Loaded loaded(BuildZip(plan), {.openCorrupted = false});
    loaded.Dir().LoadDir();
    ASSERT_EQ(loaded.Dir().CDir.Count(), 4);
    EXPECT_EQ(loaded.Item(1).Name, u"second.txt");
    EXPECT_EQ(loaded.Find(u"second.txt"), 1);
    EXPECT_EQ(loaded.Find(u"FOURTH.TXT"), 3);
    EXPECT_EQ(loaded.Find(u""), 2);
    // Loaded from the central directory, not rebuilt.
    EXPECT_NE(loaded.Dir().CentralDirOffset, loaded.stream.Size());
}

struct DamageCase {
    const char* what;
    std::string (*damage)(const std::string& bytes, const ZipLayout& layout);
};

class DamagedDirectory : public ::testing::TestWithParam<DamageCase> {};

ZipPlan ThreeEntries() {
    ZipPlan plan = PlanOf({Entry("one.txt", "first entry"), Entry("two/", ""),
                         Entry("three.txt", std::string(400, 't'), 8)});
    plan.entries[2].dataDescriptor = true;
    plan.entries[1].externalAttr = 0x10;
    return plan;
}

TEST_P(DamagedDirectory, IsRebuiltFromLocalHeadersOrRefused) {
    ZipLayout layout;
    const std::string good = BuildZip(ThreeEntries(), &layout);
    const std::string bytes = GetParam().damage(good, layout);

    Loaded lenient(bytes);
    lenient.Dir().LoadDir();
    TZADirManager& dm = lenient.Dir();
    ASSERT_EQ(dm.CDir.Count(), 3) << GetParam().what;
    EXPECT_EQ(dm.CentralDirOffset, static_cast<int64_t>(bytes.size()));
    EXPECT_EQ(dm.StubSize, 0);
    EXPECT_EQ(lenient.Item(0).Name, u"one.txt");
    EXPECT_EQ(lenient.Item(0).CentralDir.externalAttr, 0x20u);
    EXPECT_EQ(lenient.Item(1).CentralDir.externalAttr, 0x10u);
    EXPECT_EQ(lenient.Item(2).EffectiveRelOffsetLH(), layout.localHeaders[2]);
    // Sizes and CRC of the entry with a data descriptor come from the descriptor.
    EXPECT_EQ(lenient.Item(2).CentralDir.unCompSize, 400u);
    EXPECT_EQ(lenient.Item(2).CentralDir.crc32, zipfix::Crc32(std::string(400, 't')));
    EXPECT_EQ(lenient.Item(2).Comment, "");
    EXPECT_EQ(lenient.Find(u"THREE.txt"), 2);
    // No allocation followed a count the bytes could not hold.
    EXPECT_LE(dm.CDir.Capacity(), 1000);
}

INSTANTIATE_TEST_SUITE_P(
    DirLoading, DamagedDirectory,
    ::testing::Values(
        DamageCase{"cut off before the central directory",
                   [](const std::string& b, const ZipLayout& l) { return b.substr(0, l.centralDir); }},
        DamageCase{"end record claims 65535 entries without Zip64",
                   [](const std::string& b, const ZipLayout& l) {
                       std::string s = b;
                       zipfix::Poke16(s, l.endRecord + 8, 0xFFFF);
                       zipfix::Poke16(s, l.endRecord + 10, 0xFFFF);
                       return s;
                   }},
        DamageCase{"end record claims 60000 entries",
                   [](const std::string& b, const ZipLayout& l) {
                       std::string s = b;
                       zipfix::Poke16(s, l.endRecord + 8, 60000);
                       zipfix::Poke16(s, l.endRecord + 10, 60000);
                       return s;
                   }},
        DamageCase{"one entry more than the directory holds",
                   [](const std::string& b, const ZipLayout& l) {
                       std::string s = b;
                       zipfix::Poke16(s, l.endRecord + 8, 4);
                       zipfix::Poke16(s, l.endRecord + 10, 4);
                       return s;
                   }},
        DamageCase{"last header's name runs past the end of the file",
                   [](const std::string& b, const ZipLayout& l) {
                       std::string s = b;
                       zipfix::Poke16(s, l.centralHeaders[2] + 28, 0xFFF0);
                       return s;
                   }},
        DamageCase{"last header's comment runs past the end of the file",
                   [](const std::string& b, const ZipLayout& l) {
                       std::string s = b;
                       zipfix::Poke16(s, l.centralHeaders[2] + 32, 0x8000);
                       return s;
                   }},
        DamageCase{"directory size larger than what lies before the end record",
                   [](const std::string& b, const ZipLayout& l) {
                       std::string s = b;
                       zipfix::Poke32(s, l.endRecord + 12,
                                      static_cast<uint32_t>(l.endRecord - 1));
                       zipfix::Poke32(s, l.endRecord + 16, 0);
                       return s;
                   }}));

TEST(DirLoading, DamageIsReportedWhenDamagedArchivesAreRefused) {
    ZipLayout layout;
    std::string bytes = BuildZip(ThreeEntries(), &layout);
    zipfix::Poke16(bytes, layout.endRecord + 8, 60000);
    zipfix::Poke16(bytes, layout.endRecord + 10, 60000);
    Loaded strict(bytes, {.openCorrupted = false});
    EXPECT_THROW(strict.Dir().LoadDir(), EZAReadError);
    EXPECT_LE(strict.Dir().CDir.Capacity(), 1000);

    std::string cut = BuildZip(ThreeEntries(), &layout);
    zipfix::Poke16(cut, layout.centralHeaders[2] + 28, 0xFFF0);
    Loaded strictCut(cut, {.openCorrupted = false});
    EXPECT_THROW(strictCut.Dir().LoadDir(), EZAReadError);
}

TEST(DirLoading, Zip64CountBeyondTheBytesIsNotTrusted) {
    ZipPlan plan = PlanOf({Entry("a.txt"), Entry("b.txt")});
    plan.zip64 = true;
    ZipLayout layout;
    std::string bytes = BuildZip(plan, &layout);
    zipfix::Poke32(bytes, layout.zip64End + 32, 0xFFFFFFF0);
    Loaded loaded(bytes);
    loaded.Dir().LoadDir();
    EXPECT_EQ(loaded.Dir().CDir.Count(), 2);
    EXPECT_EQ(loaded.Dir().CentralDirOffset, static_cast<int64_t>(bytes.size()));
    EXPECT_LE(loaded.Dir().CDir.Capacity(), 1000);
}

TEST(DirLoading, NothingToLoad) {
    for (const std::string& bytes : {std::string(), std::string("plain text without headers"),
                                     std::string("PK\x03\x04 too short")}) {
        Loaded loaded(bytes);
        try {
            loaded.Dir().LoadDir();
            FAIL() << "loaded: " << bytes;
        } catch (const EZAException& e) {
            EXPECT_EQ(e.NativeError, 35);
            EXPECT_STREQ(e.what(), "Invalid archive file. - Native error: 00035");
        }
    }
}

TEST(DirLoading, CompressedSizesBeyondTheFile) {
    ZipLayout layout;
    std::string bytes = BuildZip(PlanOf({Entry("a.txt"), Entry("b.txt")}), &layout);
    zipfix::Poke32(bytes, layout.centralHeaders[1] + 20, 0x7FFFFFFF);
    Loaded strict(bytes, {.openCorrupted = false});
    EXPECT_EQ(NativeErrorOf(strict), 57);
    Loaded lenient(bytes);
    lenient.Dir().LoadDir();
    EXPECT_EQ(lenient.Dir().CDir.Count(), 2);
    EXPECT_EQ(lenient.Item(1).CentralDir.compSize, 0x7FFFFFFFu);
}

TEST(DirLoading, RebuildPassesOverHeadersThatFailTheTest) {
    ZipPlan plan = PlanOf({Entry("keep1"), Entry("big-extra"), Entry("keep2"), Entry("huge-size")});
    plan.entries[1].localExtra = zipfix::ExtraBlock(0x7777, std::string(300, 'e'));
    plan.entries[3].data = "x";
    plan.writeCentralDir = false;
    ZipLayout layout;
    std::string bytes = BuildZip(plan, &layout);
    zipfix::Poke32(bytes, layout.localHeaders[3] + 18, static_cast<uint32_t>(bytes.size()));
    Loaded loaded(bytes);
    loaded.Dir().LoadDir();
    ASSERT_EQ(loaded.Dir().CDir.Count(), 2);
    EXPECT_EQ(loaded.Item(0).Name, u"keep1");
    EXPECT_EQ(loaded.Item(1).Name, u"keep2");
}

TEST(DirLoading, RebuildTakesWhatALocalHeaderNearTheEndHolds) {
    // A header signature in the last bytes whose name and extra area run past the end.
    ZipPlan plan = PlanOf({Entry("real.txt", "data")});
    plan.writeCentralDir = false;
    std::string bytes = BuildZip(plan);
    std::string tail;
    zipfix::Put32(tail, 0x04034B50);
    for (int i = 0; i < 11; ++i) zipfix::Put16(tail, 0);
    zipfix::Put16(tail, 200);  // name length
    zipfix::Put16(tail, 100);  // extra length
    bytes += tail + "abc";
    Loaded loaded(bytes);
    loaded.Dir().LoadDir();
    ASSERT_EQ(loaded.Dir().CDir.Count(), 2);
    EXPECT_EQ(loaded.Item(0).Name, u"real.txt");
    EXPECT_EQ(loaded.Item(1).Name, u"");
}

TEST(DirLoading, LoadingTwiceGivesTheSameDirectory) {
    Loaded loaded(zipfix::SimpleZip({"a", "b", "c"}));
    loaded.Dir().LoadDir();
    loaded.Dir().LoadDir();
    ASSERT_EQ(loaded.Dir().CDir.Count(), 3);
    EXPECT_EQ(loaded.Find(u"c"), 2);
}

class ChunkBoundary : public ::testing::TestWithParam<size_t> {};

TEST_P(ChunkBoundary, SignatureAcrossAReadBoundaryIsFound) {
    const size_t junk = GetParam();
    ZipPlan plan = PlanOf({Entry("a.txt", "alpha"), Entry("b.txt", "beta")});
    plan.stub = std::string(junk, 'j');
    ZipLayout layout;
    const std::string bytes = BuildZip(plan, &layout);
    Loaded stubbed(bytes);
    stubbed.Dir().LoadDir();
    EXPECT_EQ(stubbed.Dir().StubSize, static_cast<int64_t>(junk));
    EXPECT_EQ(stubbed.Item(1).EffectiveRelOffsetLH(), layout.localHeaders[1]);

    Loaded rebuilt(bytes.substr(0, layout.centralDir));
    rebuilt.Dir().LoadDir();
    ASSERT_EQ(rebuilt.Dir().CDir.Count(), 2);
    EXPECT_EQ(rebuilt.Item(0).EffectiveRelOffsetLH(), junk);
}

// Around the 10000-byte reads of the stub search and the 65535-byte reads of the rebuild.
INSTANTIATE_TEST_SUITE_P(DirLoading, ChunkBoundary,
                         ::testing::Values(9995, 9997, 9998, 9999, 19993, 65531, 65532, 65533,
                                           65534, 131066));

TEST(DirLoading, EncryptionIsJudgedByTheFirstEntry) {
    ZipPlan plan = PlanOf({Entry("secret.txt"), Entry("open.txt")});
    plan.entries[0].flags = 0x0001;
    Loaded first(BuildZip(plan));
    first.Dir().LoadDir();
    EXPECT_TRUE(first.Dir().IsEncrypted());
    EXPECT_EQ(first.Item(0).ZAEncryptionAlgorithm, caPkzipClassic);
    std::swap(plan.entries[0], plan.entries[1]);
    Loaded second(BuildZip(plan));
    second.Dir().LoadDir();
    EXPECT_FALSE(second.Dir().IsEncrypted());
}

// Unix and macOS writers store UTF-8 names without the UTF-8 flag; Info-ZIP adds a Unicode
// Path block whose CRC-32 ties it to the stored name.
TEST(DirLoading, NamesAsTheirWriterMeantThem) {
    const std::string umlautName = "Gr\xC3\xB6\xC3\x9F" "e.txt";  // "Größe.txt" in UTF-8
    auto pathBlock = [](uint8_t version, const std::string& nameTheCrcIsOf,
                        const std::string& utf8) {
        std::string data(1, static_cast<char>(version));
        zipfix::Put32(data, zipfix::Crc32(nameTheCrcIsOf));
        return zipfix::ExtraBlock(0x7075, data + utf8);
    };
    struct Case {
        const char* what;
        std::string raw;
        uint16_t madeBy;
        std::string extra;
        std::u16string name;
    };
    const Case cases[] = {
        {"Unix, UTF-8 without the flag", umlautName, 0x031E, "", u"Gr\u00f6\u00dfe.txt"},
        {"macOS, UTF-8 without the flag", umlautName, 0x1314, "", u"Gr\u00f6\u00dfe.txt"},
        {"NTFS keeps the OEM step", umlautName, 0x0A14, "", u"Gr+\u00c2+\u0192e.txt"},
        {"Unix, not UTF-8: the OEM step", "M\x81ll", 0x031E, "", u"M\u00fcll"},
        {"Unicode Path block", "Gr\x94\xE1" "e.txt", 0x0014,
         pathBlock(1, "Gr\x94\xE1" "e.txt", "\xE2\x82\xAC.txt"), u"\u20ac.txt"},
        {"Unicode Path block of another name", "Gr\x94\xE1" "e.txt", 0x0014,
         pathBlock(1, "other", "\xE2\x82\xAC.txt"), u"Gr\u00f6\u00dfe.txt"},
        {"Unicode Path block of another version", "Gr\x94\xE1" "e.txt", 0x0014,
         pathBlock(2, "Gr\x94\xE1" "e.txt", "\xE2\x82\xAC.txt"), u"Gr\u00f6\u00dfe.txt"},
        {"Unicode Path block that is not UTF-8", "plain", 0x0014,
         pathBlock(1, "plain", "\xFF.txt"), u"plain"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ZipEntry e = Entry(c.raw);
        e.versionMadeBy = c.madeBy;
        e.centralExtra = c.extra;
        Loaded loaded(BuildZip(PlanOf({e})));
        loaded.Dir().LoadDir();
        EXPECT_EQ(loaded.Item(0).Name, c.name);
    }
}
