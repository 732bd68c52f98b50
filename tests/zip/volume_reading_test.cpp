// Reading split and spanned sets through the archiver: entries and directories that run on
// from one volume into the next, volume names in any case, and damaged or missing volumes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "RecordingPrompt.h"
#include "TempFolder.h"
#include "fixtures/SplitBuilder.h"
#include "fixtures/ZipCrypt.h"
#include "platform/host_error.h"
#include "zip/ZAExcept.h"
#include "zip/ZAStream.h"
#include "zip/ZipArchiver.h"

namespace {

using zipfix::Entry;
using zipfix::RandomBytes;

std::string Text(size_t n) {
    std::string s;
    for (size_t i = 0; s.size() < n; ++i) s += "<log date=\"" + std::to_string(i) + "\"/>\n";
    s.resize(n);
    return s;
}

std::string Extract(TZipArchiver& a, const std::string& name) {
    TZAMemoryStream out;
    a.ExtractToStream(Utf8ToUtf16(name), out);
    return {reinterpret_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size())};
}

// The native code of the archiver error that Step raises; 0 for a stream or host error,
// -1 when nothing is raised.
int32_t FailureOf(const std::function<void()>& Step) {
    try {
        Step();
    } catch (const EZAException& e) {
        return e.NativeError;
    } catch (const EZAStreamError&) {
        return 0;
    } catch (const platform::HostError&) {
        return 0;
    }
    return -1;
}

// Volume i of n of a split set named finds.zip, in the naming scheme of the case.
using VolumeNamer = std::function<std::string(size_t i, size_t n)>;

std::string ZipSName(size_t i, size_t n) {  // Info-ZIP zip -s
    char buf[32];
    std::snprintf(buf, sizeof buf, "finds.z%02zu", i + 1);
    return i + 1 == n ? "finds.zip" : buf;
}

std::string UpperName(size_t i, size_t n) {  // the same set renamed to upper case
    char buf[32];
    std::snprintf(buf, sizeof buf, "FINDS.Z%02zu", i + 1);
    return i + 1 == n ? "FINDS.ZIP" : buf;
}

std::string AdvancedName(size_t i, size_t n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "finds_%03zu.zip", i + 1);
    return i + 1 == n ? "finds.zip" : buf;
}

void WriteSet(const TempFolder& folder, const zipfix::SplitSet& set, const VolumeNamer& name) {
    for (size_t i = 0; i < set.volumes.size(); ++i)
        folder.Write(name(i, set.volumes.size()), set.volumes[i]);
}

// An encrypted entry whose header (classic header, AES salt and verifier) or AES
// authentication code lies across two volumes: volume sizes are swept so that the volume
// end falls on every byte of both, and the entry must read whole every time.
TEST(EncryptedSplitEntries, HeadersAndCodesAcrossVolumesRead) {
    const std::string data = Text(60);
    const zipfix::ZipEntry entries[] = {
        zipfix::ClassicEntry("secret.txt", data, 0, "kalvero"),
        zipfix::AesEntry("secret.txt", data, 0, "kalvero", 256, 2),
        zipfix::AesEntry("secret.txt", data, 8, "kalvero", 128, 1),
    };
    TempFolder folder;
    for (const zipfix::ZipEntry& entry : entries) {
        zipfix::ZipPlan plan;
        plan.entries = {Entry("first.txt", Text(90)), entry};
        for (size_t size = 140; size <= 260; ++size) {
            SCOPED_TRACE("volume size " + std::to_string(size) + ", method " +
                         std::to_string(entry.method));
            const zipfix::SplitSet set = zipfix::SplitZip(plan, size);
            const std::string prefix = "s" + std::to_string(size) + "-" + std::to_string(entry.method);
            for (size_t i = 0; i < set.volumes.size(); ++i) {
                char suffix[32];
                std::snprintf(suffix, sizeof suffix, ".z%02zu", i + 1);
                folder.Write(prefix + (i + 1 == set.volumes.size() ? ".zip" : suffix), set.volumes[i]);
            }
            TZipArchiver a;
            a.SetFileName(folder.FileZA(prefix + ".zip"));
            a.OpenArchive();
            a.SetPassword("kalvero");
            EXPECT_EQ(Extract(a, "secret.txt"), data);
            a.CloseArchive();
        }
    }
}

// ---- split sets ------------------------------------------------------------------------

struct NamingCase {
    const char* label;
    VolumeNamer name;
    bool advanced;
};

class SplitReading : public ::testing::TestWithParam<NamingCase> {};

TEST_P(SplitReading, EveryEntryReadsAcrossItsVolumes) {
    const NamingCase& c = GetParam();
    zipfix::ZipPlan plan;
    plan.entries = {Entry("Finds.gpx", Text(5000), 8), Entry("photo.jpg", RandomBytes(3000, 1), 8),
                    Entry("notes.txt", Text(2500)), Entry("a.txt", "a"),
                    Entry("sub/b.txt", "bb"), Entry("sub/c.txt", "ccc")};
    // Entries and the directory both run on from one volume into the next.
    zipfix::SplitSet set;
    for (size_t size = 600; set.dirVolume + 1u >= set.volumes.size(); size += 10)
        set = zipfix::SplitZip(plan, size);
    ASSERT_GE(set.volumes.size(), 6u);
    ASSERT_LT(set.entryVolume[1], set.entryEndVolume[1]);
    ASSERT_LT(set.entryVolume[2], set.entryEndVolume[2]);
    TempFolder folder;
    WriteSet(folder, set, c.name);

    RecordingPrompt prompt;
    TZipArchiver a;
    a.SetFileName(folder.FileZA(c.name(set.volumes.size() - 1, set.volumes.size())));
    a.OpenArchive();
    EXPECT_EQ(a.SpanningMode(), smSplitting);
    EXPECT_EQ(a.SpanningOptions().AdvancedNaming(), c.advanced);
    ASSERT_EQ(a.FileCount(), static_cast<int32_t>(plan.entries.size()));
    for (const zipfix::ZipEntry& e : plan.entries) EXPECT_EQ(Extract(a, e.name), e.data) << e.name;
    // Back to an entry of the first volume after the last was read.
    EXPECT_EQ(Extract(a, "Finds.gpx"), plan.entries[0].data);
    EXPECT_TRUE(prompt.texts.empty());
    a.CloseArchive();
    for (size_t i = 0; i < set.volumes.size(); ++i)
        EXPECT_EQ(folder.Read(c.name(i, set.volumes.size())), set.volumes[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(Names, SplitReading,
                         ::testing::Values(NamingCase{"ZipS", ZipSName, false},
                                           NamingCase{"Upper", UpperName, false},
                                           NamingCase{"Advanced", AdvancedName, true}),
                         [](const auto& info) { return std::string(info.param.label); });

// Four volumes: a.txt wholly in the first, photo.jpg from the first into the last, c.txt and
// the directory in the last. The third volume holds nothing but photo.jpg's data.
struct DamagedSet {
    DamagedSet() {
        plan.entries = {Entry("a.txt", Text(400)), Entry("photo.jpg", RandomBytes(2600, 7), 8),
                        Entry("c.txt", Text(300))};
        set = zipfix::SplitZip(plan, 1000);
    }
    zipfix::ZipPlan plan;
    zipfix::SplitSet set;
};

struct Damage {
    const char* label;
    std::function<void(const TempFolder&, const std::string& volume, const DamagedSet&)> apply;
    int32_t nativeError;  // what reading photo.jpg raises; 0: a stream or host error
};

class DamagedVolume : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedVolume, OnlyTheEntryThatNeedsItFails) {
    const Damage& d = GetParam();
    if (std::string(d.label) == "Unreadable" && ::geteuid() == 0)
        GTEST_SKIP() << "the superuser reads every file";
    DamagedSet s;
    ASSERT_EQ(s.set.volumes.size(), 4u);
    ASSERT_EQ(s.set.entryEndVolume[0], 0);
    ASSERT_EQ(s.set.entryVolume[1], 0);
    ASSERT_EQ(s.set.entryEndVolume[1], 3);
    ASSERT_EQ(s.set.entryVolume[2], 3);
    ASSERT_EQ(s.set.dirVolume, 3);
    TempFolder folder;
    WriteSet(folder, s.set, ZipSName);
    d.apply(folder, "finds.z03", s);

    TZipArchiver a;
    a.SetName(u"Archiver");
    int32_t lastAsked = 0;
    a.OnRequestMiddleVolume = [&](TZABaseArchiver*, int32_t n, ZAString&, bool& cancel) {
        cancel = n == lastAsked;  // a second round for the same volume is refused
        lastAsked = n;
    };
    a.SetFileName(folder.FileZA("finds.zip"));
    a.OpenArchive();
    EXPECT_EQ(a.SpanningMode(), smSplitting);
    EXPECT_EQ(Extract(a, "a.txt"), s.plan.entries[0].data);
    EXPECT_EQ(FailureOf([&] { Extract(a, "photo.jpg"); }), d.nativeError);
    EXPECT_EQ(Extract(a, "c.txt"), s.plan.entries[2].data);
    EXPECT_EQ(Extract(a, "a.txt"), s.plan.entries[0].data);
}

void Remove(const TempFolder& f, const std::string& v, const DamagedSet&) {
    std::filesystem::remove(f.File(v));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DamagedVolume,
    ::testing::Values(
        // The volume before the last is missing: still a split set, not a spanned one.
        Damage{"Missing", Remove, 45},
        Damage{"Folder",
               [](const TempFolder& f, const std::string& v, const DamagedSet& s) {
                   Remove(f, v, s);
                   std::filesystem::create_directory(f.File(v));
               },
               45},
        Damage{"Short",
               [](const TempFolder& f, const std::string& v, const DamagedSet& s) {
                   f.Write(v, s.set.volumes[2].substr(0, 600));
               },
               8},
        Damage{"Empty", [](const TempFolder& f, const std::string& v,
                           const DamagedSet&) { f.Write(v, ""); },
               8},
        // The same volume of another set, written from other data.
        Damage{"OtherArchive",
               [](const TempFolder& f, const std::string& v, const DamagedSet&) {
                   DamagedSet other;
                   other.plan.entries[1].data = RandomBytes(2600, 8);
                   other.set = zipfix::SplitZip(other.plan, 1000);
                   f.Write(v, other.set.volumes[2]);
               },
               8},
        Damage{"Fifo",
               [](const TempFolder& f, const std::string& v, const DamagedSet& s) {
                   Remove(f, v, s);
                   ASSERT_EQ(::mkfifo(f.File(v).c_str(), 0644), 0);
               },
               8},
        Damage{"Unreadable",
               [](const TempFolder& f, const std::string& v, const DamagedSet&) {
                   ::chmod(f.File(v).c_str(), 0);
               },
               0}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(SplitSetEnd, DataRunningPastTheLastVolumeAsksForNoFurtherVolume) {
    DamagedSet s;
    std::string& last = s.set.volumes.back();
    // c.txt claims more compressed bytes than the last volume holds behind it.
    const size_t dir = last.find(std::string("PK\x01\x02", 4));
    size_t header = dir;
    for (int i = 0; i < 2; ++i) header = last.find(std::string("PK\x01\x02", 4), header + 4);
    zipfix::Poke32(last, header + 20, 100000);
    TempFolder folder;
    WriteSet(folder, s.set, ZipSName);

    RecordingPrompt prompt;
    TZipArchiver a;
    int asked = 0;
    a.OnRequestMiddleVolume = [&](TZABaseArchiver*, int32_t, ZAString&, bool& cancel) {
        ++asked;
        cancel = true;
    };
    a.SetFileName(folder.FileZA("finds.zip"));
    a.OpenArchive();
    EXPECT_EQ(FailureOf([&] { Extract(a, "c.txt"); }), 8);
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(prompt.texts.empty());
}

// ---- spanned sets: one file name, the disk changes ------------------------------------

// A drive whose one file, finds.zip, is the volume of the disk the user inserts.
class SpannedDisks : public ::testing::Test {
protected:
    SpannedDisks() {
        plan.entries = {Entry("a.txt", Text(400)), Entry("photo.jpg", RandomBytes(2600, 7), 8),
                        Entry("c.txt", Text(300))};
        set = zipfix::SplitZip(plan, 1000);
        Insert(set.volumes.size() - 1);
        a.SetName(u"Archiver");
        a.SetFileName(folder.FileZA("finds.zip"));
    }
    void Insert(size_t volume) {
        // A new file, not the old one rewritten: a disk change leaves the open volume alone.
        folder.Write("next", set.volumes[volume]);
        std::filesystem::rename(folder.File("next"), folder.File("finds.zip"));
        inserted = volume;
    }
    zipfix::ZipPlan plan;
    zipfix::SplitSet set;
    TempFolder folder;
    size_t inserted = 0;
    TZipArchiver a;
};

// Answers each box by inserting the disk it asks for, or cancels at a given box.
struct DiskChanger : RecordingPrompt {
    explicit DiskChanger(std::function<void(size_t)> insert, size_t disks)
        : FInsert(std::move(insert)), FDisks(disks) {}
    TZAPromptButton Confirm(const ZAString& t, const TZAPromptButtons& b) override {
        RecordingPrompt::Confirm(t, b);
        if (texts.size() == cancelAt) return pbCancel;
        const std::string text = Utf16ToUtf8(t);
        if (text == "Please insert the first disk") FInsert(0);
        else if (text == "Please insert the last disk") FInsert(FDisks - 1);
        else if (text.rfind("Please insert disk #", 0) == 0) FInsert(std::stoul(text.substr(20)) - 1);
        return pbOK;
    }
    size_t cancelAt = 0;  // 1-based number of the box answered with Cancel; 0: none

private:
    std::function<void(size_t)> FInsert;
    size_t FDisks;
};

TEST_F(SpannedDisks, DefaultBoxesAskForEachDiskOnceAndReadEveryEntry) {
    DiskChanger changer([&](size_t v) { Insert(v); }, set.volumes.size());
    a.OpenArchive();
    EXPECT_EQ(a.SpanningMode(), smSpanning);
    EXPECT_TRUE(changer.texts.empty());  // the directory lies on the inserted last disk
    for (const zipfix::ZipEntry& e : plan.entries) EXPECT_EQ(Extract(a, e.name), e.data) << e.name;
    const std::vector<ZAString> expected = {u"Please insert the first disk",
                                            u"Please insert disk #2", u"Please insert disk #3",
                                            u"Please insert the last disk"};
    EXPECT_EQ(changer.texts, expected);
    for (const TZAPromptButtons& b : changer.buttons) EXPECT_EQ(b, (TZAPromptButtons{pbOK, pbCancel}));
    // c.txt lies on the disk that is in the drive: nothing was asked for it.
    EXPECT_EQ(inserted, set.volumes.size() - 1);
}

TEST_F(SpannedDisks, CancelledDiskStopsTheEntryWithoutAnotherRound) {
    DiskChanger changer([&](size_t v) { Insert(v); }, set.volumes.size());
    changer.cancelAt = 3;  // "Please insert disk #3"
    a.OpenArchive();
    EXPECT_EQ(FailureOf([&] { Extract(a, "photo.jpg"); }), 45);
    EXPECT_EQ(changer.texts.size(), 3u);
    EXPECT_EQ(Extract(a, "a.txt"), plan.entries[0].data);  // disk 2 is in: disk 1 is asked for
    EXPECT_EQ(changer.texts.back(), u"Please insert the first disk");
}

TEST_F(SpannedDisks, WithoutAPromptEveryDiskRequestIsCancelled) {
    a.OpenArchive();
    EXPECT_EQ(FailureOf([&] { Extract(a, "a.txt"); }), 45);
    EXPECT_EQ(Extract(a, "c.txt"), plan.entries[2].data);
}

TEST_F(SpannedDisks, HandlersNameTheDiskFilesAndSeeNumbersFromOne) {
    // The disks were copied into files of their own; the handlers point at them.
    for (size_t i = 0; i < set.volumes.size(); ++i)
        folder.Write("disk" + std::to_string(i + 1) + ".bin", set.volumes[i]);
    RecordingPrompt prompt;
    std::vector<std::string> calls;
    a.OnRequestFirstVolume = [&](TZABaseArchiver*, ZAString& name, bool&) {
        calls.push_back("first " + Utf16ToUtf8(name));
        name = folder.FileZA("disk1.bin");
    };
    a.OnRequestMiddleVolume = [&](TZABaseArchiver*, int32_t n, ZAString& name, bool&) {
        calls.push_back("middle " + std::to_string(n) + " " + Utf16ToUtf8(name));
        name = folder.FileZA("disk" + std::to_string(n) + ".bin");
    };
    a.OnRequestLastVolume = [&](TZABaseArchiver*, ZAString& name, bool&) {
        calls.push_back("last " + Utf16ToUtf8(name));
        name = folder.FileZA("disk4.bin");
    };
    a.OpenArchive();
    calls.clear();  // opening asked for the last disk, which names the archive itself
    EXPECT_EQ(Extract(a, "photo.jpg"), plan.entries[1].data);
    const std::string drive = folder.File("finds.zip");
    const std::vector<std::string> expected = {"first " + drive, "middle 2 " + drive,
                                               "middle 3 " + drive, "last " + drive};
    EXPECT_EQ(calls, expected);
    EXPECT_TRUE(prompt.texts.empty());
}

TEST_F(SpannedDisks, HandlerThatCancelsIsAskedOnce) {
    int asked = 0;
    a.OnRequestFirstVolume = [&](TZABaseArchiver*, ZAString&, bool& cancel) {
        ++asked;
        cancel = true;
    };
    a.OpenArchive();
    try {
        Extract(a, "a.txt");
        FAIL() << "the first disk was refused";
    } catch (const EZAException& e) {
        EXPECT_EQ(e.Message(), u"Archiver: Cannot open archive file. Opening aborted or invalid "
                               u"file - Native error: 00045");
    }
    EXPECT_EQ(asked, 1);
}

}  // namespace
