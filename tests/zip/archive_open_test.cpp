#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "TempFolder.h"
#include "fixtures/ZipBuilder.h"
#include "platform/host_error.h"
#include "zip/ZADirManager.h"
#include "zip/ZAExcept.h"
#include "zip/ZipArchiver.h"

namespace {

// Runs a scope without the rights of root, so that file permissions apply. Outside root the
// permissions apply anyway.
class Unprivileged {
public:
    explicit Unprivileged(const TempFolder& folder) {
        if (::geteuid() != 0) return;
        ::chmod(folder.Path().c_str(), 0755);
        FSwitched = ::seteuid(65534) == 0;
    }
    ~Unprivileged() {
        if (FSwitched && ::seteuid(0) != 0) std::abort();
    }
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;

private:
    bool FSwitched = false;
};

zipfix::ZipEntry Entry(const std::string& name, const std::string& data) {
    zipfix::ZipEntry e;
    e.name = name;
    e.data = data;
    return e;
}

zipfix::ZipPlan OneEntry(const std::string& name) {
    zipfix::ZipPlan plan;
    plan.entries.push_back(Entry(name, "data of " + name));
    return plan;
}

class ArchiveOpen : public ::testing::Test {
protected:
    ArchiveOpen() {
        a.SetName(u"Archiver");
        a.AfterOpen = [this](TZABaseArchiver* sender) {
            EXPECT_EQ(sender, &a);
            ++afterOpen;
        };
    }
    void Use(const std::string& name) { a.SetFileName(folder.FileZA(name)); }

    std::u16string OpenError(const std::function<void()>& open, int32_t* native = nullptr) {
        try {
            open();
        } catch (const EZAException& e) {
            if (native) *native = e.NativeError;
            return e.Message();
        }
        return u"(no EZAException)";
    }

    TempFolder folder;
    TZipArchiver a;
    int afterOpen = 0;
};

TEST_F(ArchiveOpen, PlainArchiveOpensReadWriteAndIsNotWrittenOnClose) {
    const std::string bytes = zipfix::SimpleZip({"finds.gpx", "notes/b.txt"});
    folder.Write("finds.zip", bytes);
    Use("finds.zip");
    a.OpenArchive();
    EXPECT_TRUE(a.Active());
    EXPECT_EQ(a.GetFileOpenMode(), 0x22);
    EXPECT_EQ(a.SpanningMode(), smNone);
    ASSERT_NE(a.DirManager(), nullptr);
    EXPECT_EQ(a.DirManager()->StubSize, 0);
    EXPECT_EQ(a.FileCount(), 2);
    EXPECT_EQ(a.Size(), static_cast<int64_t>(bytes.size()));
    EXPECT_EQ(afterOpen, 1);
    a.CloseArchive();
    EXPECT_FALSE(a.Active());
    EXPECT_EQ(a.DirManager(), nullptr);
    EXPECT_EQ(a.CompressedStream(), nullptr);
    EXPECT_EQ(folder.Read("finds.zip"), bytes);
}

TEST_F(ArchiveOpen, ArchiveThatCannotBeWrittenOpensReadOnly) {
    const std::string bytes = zipfix::SimpleZip({"finds.gpx"});
    ::chmod(folder.Write("finds.zip", bytes).c_str(), 0444);
    Use("finds.zip");
    {
        Unprivileged user(folder);
        a.OpenArchive();
        EXPECT_EQ(a.GetFileOpenMode(), 0x40);
        EXPECT_EQ(a.FileCount(), 1);
        a.CloseArchive();
    }
    EXPECT_EQ(folder.Read("finds.zip"), bytes);
}

TEST_F(ArchiveOpen, ExplicitModesAreUsedAsGiven) {
    folder.Write("finds.zip", zipfix::SimpleZip({"finds.gpx"}));
    Use("finds.zip");
    a.OpenArchive(0x40);
    EXPECT_EQ(a.GetFileOpenMode(), 0x40);
    EXPECT_EQ(a.FileCount(), 1);
    EXPECT_THROW(a.CompressedStream()->WriteBuffer("x", 1), EZAWriteError);
}

TEST_F(ArchiveOpen, MissingFileIsCreatedEmptyAndGetsItsEndRecordOnClose) {
    Use("new.zip");
    a.OpenArchive();
    EXPECT_TRUE(a.Active());
    EXPECT_EQ(a.GetFileOpenMode(), 0xFF00);
    EXPECT_EQ(folder.Read("new.zip").size(), 0u);
    EXPECT_EQ(afterOpen, 1);
    a.CloseArchive();
    EXPECT_EQ(folder.Read("new.zip"), std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    a.OpenArchive();
    EXPECT_EQ(a.GetFileOpenMode(), 0x22);
    EXPECT_EQ(a.FileCount(), 0);
    a.CloseArchive();
    EXPECT_EQ(folder.Read("new.zip").size(), 22u);
}

TEST_F(ArchiveOpen, FileThatCannotBeCreatedFailsWithTheHostsText) {
    Use("no-such-folder/new.zip");
    try {
        a.OpenArchive();
        FAIL() << "must fail";
    } catch (const platform::HostError& e) {
        const std::string expected = "Datei \"" + folder.File("no-such-folder/new.zip") +
                                     "\" kann nicht erstellt werden. ";
        EXPECT_EQ(std::string(e.what()).rfind(expected, 0), 0u) << e.what();
    }
    EXPECT_FALSE(a.Active());
}

TEST_F(ArchiveOpen, FileThatCannotBeReadFailsWithTheHostsText) {
    ::chmod(folder.Write("secret.zip", zipfix::SimpleZip({"a"})).c_str(), 0200);
    Use("secret.zip");
    Unprivileged user(folder);
    try {
        a.OpenArchive(0x40);
        FAIL() << "must fail";
    } catch (const platform::HostError& e) {
        const std::string expected = "Datei " + folder.File("secret.zip") +
                                     " kann nicht geöffnet werden. ";
        EXPECT_EQ(std::string(e.what()).rfind(expected, 0), 0u) << e.what();
    }
    EXPECT_FALSE(a.Active());
}

struct RefusedOpen {
    const char* name;
    std::function<void(ArchiveOpen&, TempFolder&, TZipArchiver&)> prepare;
    std::function<void(TZipArchiver&)> open;
    int32_t native;
    std::u16string messageStart;  // the full message is this plus " - Native error: " + code
};

class RefusedOpens : public ArchiveOpen, public ::testing::WithParamInterface<RefusedOpen> {};

TEST_P(RefusedOpens, RaiseTheirErrorAndLeaveTheArchiverClosed) {
    const RefusedOpen& c = GetParam();
    c.prepare(*this, folder, a);
    const auto before = std::filesystem::exists(folder.File("target.zip"))
                            ? folder.Read("target.zip")
                            : std::string("(none)");
    int32_t native = -1;
    const std::u16string message = OpenError([&] { c.open(a); }, &native);
    EXPECT_EQ(native, c.native);
    ZAString code = u"0000" + Utf8ToUtf16(std::to_string(c.native));
    code = code.substr(code.size() - 5);
    ZAString start = c.messageStart;
    const std::string path = folder.File("target.zip");
    if (auto at = start.find(u"<path>"); at != ZAString::npos)
        start.replace(at, 6, Utf8ToUtf16(path));
    EXPECT_EQ(message, start + u" - Native error: " + code);
    EXPECT_FALSE(a.Active());
    EXPECT_EQ(afterOpen, 0);
    a.CloseArchive();
    const auto after = std::filesystem::exists(path) ? folder.Read("target.zip") : "(none)";
    EXPECT_EQ(after, before) << "a refused open must not write";
}

void WriteTarget(TempFolder& f, const std::string& bytes) { f.Write("target.zip", bytes); }

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedOpens,
    ::testing::Values(
        RefusedOpen{"TextFile",
                    [](ArchiveOpen&, TempFolder& f, TZipArchiver& a) {
                        WriteTarget(f, "Just some text, nothing like an archive.\n");
                        a.SetFileName(f.FileZA("target.zip"));
                    },
                    [](TZipArchiver& a) { a.OpenArchive(); }, 35, u"Invalid archive file."},
        RefusedOpen{"EmptyFile",
                    [](ArchiveOpen&, TempFolder& f, TZipArchiver& a) {
                        WriteTarget(f, "");
                        a.SetFileName(f.FileZA("target.zip"));
                    },
                    [](TZipArchiver& a) { a.OpenArchive(); }, 35, u"Invalid archive file."},
        RefusedOpen{"BlankNameWithoutMode",
                    [](ArchiveOpen&, TempFolder& f, TZipArchiver& a) {
                        a.SetFileName(Utf8ToUtf16(f.Path() + "/"));
                    },
                    [](TZipArchiver& a) { a.OpenArchive(); }, 9,
                    u"Archiver: File name is blank. Specify appropriate file name"},
        RefusedOpen{"BlankNameWithMode",
                    [](ArchiveOpen&, TempFolder&, TZipArchiver& a) { a.SetFileName(u""); },
                    [](TZipArchiver& a) { a.OpenArchive(0x22); }, 10,
                    u"Archiver: File name is blank. Specify appropriate file name"},
        RefusedOpen{"MissingFileWithMode",
                    [](ArchiveOpen&, TempFolder& f, TZipArchiver& a) {
                        a.SetFileName(f.FileZA("target.zip"));
                    },
                    [](TZipArchiver& a) { a.OpenArchive(0x22); }, 12,
                    u"Archiver: File \"<path>\" not found"},
        RefusedOpen{"InMemoryWithMode",
                    [](ArchiveOpen&, TempFolder& f, TZipArchiver& a) {
                        WriteTarget(f, zipfix::SimpleZip({"a"}));
                        a.SetFileName(f.FileZA("target.zip"));
                        a.SetInMemory(true);
                    },
                    [](TZipArchiver& a) { a.OpenArchive(0x22); }, 28,
                    u"Archiver: In-memory archive can be created only"},
        RefusedOpen{"NoEndRecordWhileDamagedArchivesAreRefused",
                    [](ArchiveOpen&, TempFolder& f, TZipArchiver& a) {
                        zipfix::ZipPlan plan;
                        plan.entries.push_back(Entry("a.txt", "abc"));
                        plan.writeCentralDir = false;
                        WriteTarget(f, zipfix::BuildZip(plan));
                        a.SetFileName(f.FileZA("target.zip"));
                        a.SetOpenCorruptedArchives(false);
                    },
                    [](TZipArchiver& a) { a.OpenArchive(); }, 48,
                    u"Archiver: Archive is damaged. Open failed"},
        RefusedOpen{"StreamWhileSpanning",
                    [](ArchiveOpen&, TempFolder&, TZipArchiver& a) {
                        a.SetSpanningMode(smSplitting);
                    },
                    [](TZipArchiver& a) {
                        TZAMemoryStream s;
                        a.OpenArchive(s, false);
                    },
                    51, u"Archiver: Multi-volume archive is not allowed for custom stream"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ArchiveOpen, SecondOpenClosesTheFirstAndARefusedOneLeavesItOpen) {
    folder.Write("one.zip", zipfix::SimpleZip({"a", "b", "c"}));
    folder.Write("two.zip", zipfix::SimpleZip({"x"}));
    Use("one.zip");
    a.OpenArchive();
    Use("two.zip");
    a.OpenArchive();
    EXPECT_EQ(a.FileCount(), 1);
    EXPECT_EQ(afterOpen, 2);

    a.SetFileName(Utf8ToUtf16(folder.Path() + "/"));
    int32_t native = 0;
    OpenError([&] { a.OpenArchive(); }, &native);
    EXPECT_EQ(native, 9);
    EXPECT_TRUE(a.Active());
    EXPECT_EQ(a.FileCount(), 1);
    OpenError([&] { a.OpenArchive(0x40); }, &native);
    EXPECT_EQ(native, 10);
    EXPECT_TRUE(a.Active());
}

TEST_F(ArchiveOpen, ArchiveWithoutCentralDirectoryIsRebuiltFromLocalHeaders) {
    zipfix::ZipPlan plan;
    plan.entries.push_back(Entry("finds.gpx", "<gpx/>"));
    plan.entries.push_back(Entry("b.txt", "bbb"));
    plan.writeCentralDir = false;
    const std::string bytes = zipfix::BuildZip(plan);
    folder.Write("cut.zip", bytes);
    Use("cut.zip");
    a.OpenArchive();
    EXPECT_TRUE(a.Active());
    EXPECT_EQ(a.FileCount(), 2);
    EXPECT_EQ(a.DirManager()->CentralDirOffset, static_cast<int64_t>(bytes.size()));
    a.CloseArchive();
    EXPECT_EQ(folder.Read("cut.zip"), bytes);
}

TEST_F(ArchiveOpen, SelfExtractorIsOpenedBehindItsStub) {
    zipfix::ZipPlan plan;
    plan.entries.push_back(Entry("finds.gpx", "<gpx/>"));
    plan.stub = std::string(1000, 'M');
    folder.Write("finds.exe", zipfix::BuildZip(plan));
    Use("finds.exe");
    a.OpenArchive();
    EXPECT_TRUE(a.Active());
    EXPECT_EQ(a.SpanningMode(), smNone);
    EXPECT_EQ(a.DirManager()->StubSize, 1000);
    EXPECT_EQ(a.FileCount(), 1);
}

TEST_F(ArchiveOpen, CallersStreamIsReadAndStaysTheCallers) {
    const std::string bytes = zipfix::SimpleZip({"a", "b"});
    TZAMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    a.OpenArchive(stream, false);
    EXPECT_TRUE(a.Active());
    EXPECT_EQ(a.FileCount(), 2);
    EXPECT_EQ(afterOpen, 1);
    a.CloseArchive();
    EXPECT_EQ(stream.Size(), static_cast<int64_t>(bytes.size()));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.Memory()), bytes.size()), bytes);

    a.OpenArchive(stream, true);  // a new, empty archive in the caller's stream
    EXPECT_EQ(a.FileCount(), 0);
    a.CloseArchive();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.Memory()),
                          static_cast<size_t>(stream.Size())),
              std::string("PK\x05\x06", 4) + std::string(18, '\0'));
}

// A split set: the local headers in the first volume, filler in the others, and the central
// directory with the end record (naming the last disk) in the last volume.
std::string WriteSplitSet(TempFolder& folder, const std::vector<std::string>& volumes,
                          const std::string& last) {
    zipfix::ZipPlan plan;
    plan.entries.push_back(Entry("finds.gpx", "<gpx/>"));
    plan.entries.push_back(Entry("b.txt", "bbb"));
    zipfix::ZipLayout layout;
    const std::string bytes = zipfix::BuildZip(plan, &layout);
    std::string tail = bytes.substr(layout.centralDir);
    const size_t end = layout.endRecord - layout.centralDir;
    const auto disk = static_cast<uint16_t>(volumes.size());
    zipfix::Poke16(tail, end + 4, disk);  // number of this disk
    zipfix::Poke16(tail, end + 6, disk);  // disk of the central directory
    zipfix::Poke32(tail, end + 16, 0);    // the directory starts this volume
    folder.Write(volumes[0], bytes.substr(0, layout.centralDir));
    for (size_t i = 1; i < volumes.size(); ++i) folder.Write(volumes[i], "filler volume");
    return folder.Write(last, tail);
}

TEST_F(ArchiveOpen, SplitSetIsRecognisedByItsVolumesBesideIt) {
    WriteSplitSet(folder, {"finds.Z01", "finds.Z02"}, "finds.zip");
    Use("finds.zip");
    a.OpenArchive();
    EXPECT_EQ(a.SpanningMode(), smSplitting);
    EXPECT_FALSE(a.SpanningOptions().AdvancedNaming());
    EXPECT_EQ(a.FileCount(), 2);
}

TEST_F(ArchiveOpen, SplitSetWithTheOtherNamingSwitchesTheNaming) {
    WriteSplitSet(folder, {"finds_001.zip", "finds_002.zip"}, "finds.zip");
    Use("finds.zip");
    a.OpenArchive();
    EXPECT_EQ(a.SpanningMode(), smSplitting);
    EXPECT_TRUE(a.SpanningOptions().AdvancedNaming());
    EXPECT_EQ(a.FileCount(), 2);
}

TEST_F(ArchiveOpen, SelfExtractingSplitSetFindsItsLastVolumeAsDotZIP) {
    WriteSplitSet(folder, {"finds.exe"}, "finds.ZIP");
    Use("finds.exe");
    a.OpenArchive();
    EXPECT_TRUE(a.Active());
    EXPECT_EQ(a.SpanningMode(), smSplitting);
    EXPECT_EQ(a.FileCount(), 2);
    EXPECT_EQ(a.Size(), static_cast<int64_t>(folder.Read("finds.ZIP").size()));
}

TEST_F(ArchiveOpen, DamagedLastVolumeOfASplitSetEndsTheSearch) {
    // An end record that fails the test (its directory disk lies behind its own disk) names
    // disk 3, and finds.Z03 exists: every round opens the same file again.
    std::string bytes = zipfix::SimpleZip({"a.txt"});
    zipfix::Poke16(bytes, bytes.size() - 22 + 4, 3);
    zipfix::Poke16(bytes, bytes.size() - 22 + 6, 4);
    folder.Write("finds.zip", bytes);
    folder.Write("finds.Z03", "volume three");
    Use("finds.zip");
    const auto started = std::chrono::steady_clock::now();
    int32_t native = 0;
    const std::u16string message = OpenError([&] { a.OpenArchive(); }, &native);
    EXPECT_EQ(native, 44);
    EXPECT_EQ(message,
              u"Cannot open archive file. Opening aborted or invalid file - Native error: 00044");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_FALSE(a.Active());
    a.CloseArchive();
    EXPECT_EQ(folder.Read("finds.zip"), bytes);
}

TEST_F(ArchiveOpen, MissingFileOnDriveAIsAskedForAsADisk) {
    a.SetFileName(u"A:\\finds.zip");
    int32_t native = 0;
    const std::u16string message = OpenError([&] { a.OpenArchive(0x22); }, &native);
    EXPECT_EQ(native, 45) << Utf16ToUtf8(message);
    EXPECT_EQ(message, u"Archiver: Cannot open archive file. Opening aborted or invalid file - "
                       u"Native error: 00045");

    const std::string disk = folder.Write("disk.zip", zipfix::SimpleZip({"finds.gpx"}));
    a.OnRequestLastVolume = [&](TZABaseArchiver*, ZAString& name, bool& cancel) {
        EXPECT_EQ(name, u"A:\\finds.zip");
        name = Utf8ToUtf16(disk);
        cancel = false;
    };
    a.OpenArchive(0x22);
    EXPECT_TRUE(a.Active());
    EXPECT_EQ(a.SpanningMode(), smNone);
    EXPECT_EQ(a.FileCount(), 1);
}

TEST_F(ArchiveOpen, FifoNamedLikeAnArchiveIsRefusedWithoutWaitingForAWriter) {
    ASSERT_EQ(::mkfifo(folder.File("pipe.zip").c_str(), 0644), 0);
    Use("pipe.zip");
    for (uint16_t mode : {uint16_t{0x40}, uint16_t{0x22}}) {
        int32_t native = 0;
        OpenError([&] { a.OpenArchive(mode); }, &native);
        EXPECT_EQ(native, 35) << mode;
        EXPECT_FALSE(a.Active());
    }
}

class NameRules : public TZipArchiver {
public:
    using TZABaseArchiver::IsExeFileName;
    using TZABaseArchiver::IsRemovableDrive;
};

TEST(ArchiveNames, DriveLettersAAndBAreRemovableAndExeExtensionsMarkSelfExtractors) {
    NameRules rules;
    const std::pair<const char16_t*, bool> drives[] = {
        {u"A:\\finds.zip", true}, {u"b:/finds.zip", true}, {u"a:", true},
        {u"C:\\finds.zip", false}, {u"AB:finds.zip", false}, {u"finds.zip", false}};
    for (auto [name, removable] : drives)
        EXPECT_EQ(rules.IsRemovableDrive(name), removable) << Utf16ToUtf8(name);
    const std::pair<const char16_t*, bool> names[] = {
        {u"finds.exe", true},      {u"FINDS.EXE", true},       {u"finds.exe1", true},
        {u"finds.exe.zip", false}, {u"dir.exe/finds", false},  {u"finds.zip", false}};
    for (auto [name, exe] : names) EXPECT_EQ(rules.IsExeFileName(name), exe) << Utf16ToUtf8(name);
}

TEST_F(ArchiveOpen, IsValidArchiveFileLooksAtTheEndRecord) {
    Use("missing.zip");
    EXPECT_FALSE(a.IsValidArchiveFile());
    EXPECT_FALSE(std::filesystem::exists(folder.File("missing.zip")));

    folder.Write("text.zip", "no archive at all, only text");
    Use("text.zip");
    EXPECT_FALSE(a.IsValidArchiveFile());

    // A valid end record in front of a damaged directory: only the end record is looked at.
    zipfix::ZipLayout layout;
    std::string damaged = zipfix::BuildZip(OneEntry("a.txt"), &layout);
    damaged.replace(layout.centralDir, 4, "XXXX");
    folder.Write("damaged.zip", damaged);
    Use("damaged.zip");
    a.SetOpenCorruptedArchives(true);
    EXPECT_TRUE(a.IsValidArchiveFile());
    EXPECT_TRUE(a.OpenCorruptedArchives());
    EXPECT_FALSE(a.Active());
    EXPECT_EQ(a.DirManager(), nullptr);
    EXPECT_EQ(a.CompressedStream(), nullptr);
    EXPECT_EQ(folder.Read("damaged.zip"), damaged);

    folder.Write("good.zip", zipfix::SimpleZip({"a"}));
    Use("good.zip");
    a.OpenArchive();
    Use("text.zip");  // an open archive is valid whatever FileName says now
    EXPECT_TRUE(a.IsValidArchiveFile());
    EXPECT_TRUE(a.Active());
}

}  // namespace
