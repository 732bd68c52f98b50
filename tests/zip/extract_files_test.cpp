// ExtractFiles on disk: folders, times, permissions, overwrite rules, and names or links that
// try to lead outside the target folder.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <filesystem>
#include <string>
#include <vector>

#include "RecordingPrompt.h"
#include "TempFolder.h"
#include "fixtures/ZipBuilder.h"
#include "zip/ZAExcept.h"
#include "zip/ZipArchiver.h"

namespace fs = std::filesystem;

namespace {

constexpr uint16_t kDate = 0x5A4C;  // 2025-02-12
constexpr uint16_t kTime = 0x6A21;  // 13:17:02
constexpr uint16_t kMadeOnDos = 0x0014;
constexpr uint16_t kMadeOnUnix = 0x031E;

using zipfix::Entry;

zipfix::ZipEntry UnixEntry(const std::string& name, const std::string& data, uint32_t mode) {
    zipfix::ZipEntry e = Entry(name, data);
    e.versionMadeBy = kMadeOnUnix;
    e.externalAttr = mode << 16 | (S_ISDIR(mode) ? 0x10 : 0x20);
    return e;
}

// A DOS date and time as local time, worked out here on its own.
time_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
    struct tm t {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return mktime(&t);
}
const time_t kEntryTime = LocalTime(2025, 2, 12, 13, 17, 2);

struct stat StatOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(lstat(path.c_str(), &st), 0) << path;
    return st;
}

void SetTime(const std::string& path, time_t t) {
    const struct timespec times[2] = {{t, 0}, {t, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
}

mode_t Umask() {
    const mode_t m = umask(0);
    umask(m);
    return m;
}

// Files and folders below `path`, relative, sorted.
std::vector<std::string> Tree(const std::string& path) {
    std::vector<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(path))
        out.push_back(fs::relative(e.path(), path).string());
    std::sort(out.begin(), out.end());
    return out;
}

struct Failure {
    std::string name;
    int32_t nativeError;
    std::string message;
};

class ExtractFiles : public ::testing::Test {
protected:
    ExtractFiles() {
        fs::create_directory(target);
        fs::create_directory(outside);
        a.SetName(u"Archiver");
        a.SetBaseDir(Utf8ToUtf16(target));
        a.OnProcessFileFailure = [this](TZABaseArchiver*, const ZAString& name,
                                        TZAProcessOperation, int32_t native, int32_t,
                                        const ZAString& message, TZAAction& action) {
            failures.push_back({Utf16ToUtf8(name), native, Utf16ToUtf8(message)});
            action = fxaIgnore;
        };
    }
    void Extract(const std::vector<zipfix::ZipEntry>& entries) {
        zipfix::ZipPlan plan;
        plan.entries = entries;
        const std::string bytes = zipfix::BuildZip(plan);
        archive.Clear();
        archive.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
        a.OpenArchive(archive, false);
        a.ExtractFiles(u"*.*", 10431, u"");
        a.CloseArchive();
    }
    std::string In(const std::string& name) const { return target + "/" + name; }
    std::string Read(const std::string& path) const {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void Write(const std::string& path, const std::string& text) const {
        std::ofstream(path, std::ios::binary) << text;
    }

    TempFolder folder;
    const std::string target = folder.File("target");
    const std::string outside = folder.File("outside");
    TZAMemoryStream archive;
    TZipArchiver a;
    std::vector<Failure> failures;
};

TEST_F(ExtractFiles, TreeComesOutWithTimesAndPermissions) {
    zipfix::ZipEntry dosReadOnly = Entry("dir/ro.txt", "read only");
    dosReadOnly.versionMadeBy = kMadeOnDos;
    dosReadOnly.externalAttr = 0x21;
    zipfix::ZipEntry dosPlain = Entry("plain.txt", "plain", 8);
    dosPlain.versionMadeBy = kMadeOnDos;
    zipfix::ZipEntry folder = UnixEntry("dir/", "", 040750);
    folder.date = 0x5A21;  // 2025-01-01, 13:17:02
    Extract({folder, UnixEntry("dir/run.sh", "#!/bin/sh\n", 0104755),
             UnixEntry("dir/private.txt", "mine", 0100600), dosReadOnly, dosPlain,
             Entry("a\\b.txt", "backslash")});
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(Tree(target), (std::vector<std::string>{"a", "a/b.txt", "dir", "dir/private.txt",
                                                      "dir/ro.txt", "dir/run.sh", "plain.txt"}));
    EXPECT_EQ(Read(In("dir/run.sh")), "#!/bin/sh\n");
    EXPECT_EQ(Read(In("plain.txt")), "plain");
    EXPECT_EQ(Read(In("a/b.txt")), "backslash");

    const mode_t usual = 0666 & ~Umask();
    EXPECT_EQ(StatOf(In("dir/run.sh")).st_mode & 07777, 0755u);  // set-user-id dropped
    EXPECT_EQ(StatOf(In("dir/private.txt")).st_mode & 07777, 0600u);
    EXPECT_EQ(StatOf(In("dir/ro.txt")).st_mode & 07777, usual & ~0222u);
    EXPECT_EQ(StatOf(In("plain.txt")).st_mode & 07777, usual);
    EXPECT_EQ(StatOf(In("dir")).st_mode & 07777, 0750u);

    EXPECT_EQ(StatOf(In("plain.txt")).st_mtime, kEntryTime);
    // The folder keeps its own time although files were written into it afterwards.
    EXPECT_EQ(StatOf(In("dir")).st_mtime, LocalTime(2025, 1, 1, 13, 17, 2));
}

TEST_F(ExtractFiles, WithoutSetAttributesFilesGetTheUsualPermissions) {
    a.Options().SetSetAttributes(false);
    Extract({UnixEntry("run.sh", "#!/bin/sh\n", 0100755)});
    EXPECT_EQ(StatOf(In("run.sh")).st_mode & 07777, 0666 & ~Umask());
}

TEST_F(ExtractFiles, OverwriteModesDecideByTheEntrysTime) {
    enum Age { Older, Same, Newer };  // the existing file's time against the entry's
    struct Case {
        TZAOverwriteMode mode;
        Age file;
        bool replaced;
    };
    const Case cases[] = {
        {omAlways, Same, true},    {omNever, Older, false},   {omIfNewer, Older, true},
        {omIfNewer, Same, false},  {omIfNewer, Newer, false}, {omIfOlder, Newer, true},
        {omIfOlder, Same, false},  {omIfOlder, Older, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << int(c.mode) << " age " << int(c.file));
        Write(In("a.txt"), "old");
        SetTime(In("a.txt"), kEntryTime + (c.file == Older ? -3600 : c.file == Newer ? 3600 : 0));
        a.Options().SetOverwriteMode(c.mode);
        Extract({Entry("a.txt", "new")});
        EXPECT_EQ(Read(In("a.txt")), c.replaced ? "new" : "old");
        EXPECT_EQ(a.SkippedFileCount(), c.replaced ? 0 : 1);
    }
}

TEST_F(ExtractFiles, PromptAsksAndNoToAllKeepsEveryFile) {
    RecordingPrompt prompt;
    prompt.answer = pbNoToAll;
    Write(In("a.txt"), "old a");
    Write(In("b.txt"), "old b");
    a.Options().SetOverwriteMode(omPrompt);
    Extract({Entry("a.txt", "new a"), Entry("b.txt", "new b")});
    ASSERT_EQ(prompt.texts.size(), 1u);
    EXPECT_EQ(prompt.texts[0], Utf8ToUtf16("Overwrite file \"" + In("a.txt") + "\" with \"a.txt\""));
    EXPECT_EQ(prompt.buttons[0], (TZAPromptButtons{pbYes, pbNo, pbNoToAll, pbYesToAll}));
    EXPECT_EQ(a.Options().OverwriteMode(), omNever);
    EXPECT_EQ(Read(In("a.txt")), "old a");
    EXPECT_EQ(Read(In("b.txt")), "old b");

    a.Options().SetOverwriteMode(omPrompt);
    a.OnConfirmOverwrite = [](TZABaseArchiver*, const ZAString& source, ZAString&, bool& confirm) {
        confirm = source == u"b.txt";
    };
    Extract({Entry("a.txt", "new a"), Entry("b.txt", "new b")});
    EXPECT_EQ(Read(In("a.txt")), "old a");
    EXPECT_EQ(Read(In("b.txt")), "new b");
}

TEST_F(ExtractFiles, ReadOnlyFileStaysUnlessItMayBeReplaced) {
    for (const bool replaceReadOnly : {false, true}) {
        Write(In("a.txt"), "old");
        chmod(In("a.txt").c_str(), 0444);
        a.Options().SetReplaceReadOnly(replaceReadOnly);
        Extract({Entry("a.txt", "new")});
        EXPECT_EQ(Read(In("a.txt")), replaceReadOnly ? "new" : "old");
        chmod(In("a.txt").c_str(), 0644);
    }
}

TEST_F(ExtractFiles, WithoutCreateDirsEveryFileLandsInTheTargetFolder) {
    a.Options().SetCreateDirs(false);
    Extract({Entry("sub/", ""), Entry("sub/a.txt", "first"), Entry("other/a.txt", "second")});
    EXPECT_EQ(Tree(target), std::vector<std::string>{"a.txt"});
    EXPECT_EQ(Read(In("a.txt")), "second");
}

TEST_F(ExtractFiles, NamesThatLeaveTheTargetFolderAreRefused) {
    const std::string absolute = outside + "/abs.txt";
    const std::vector<std::string> hostile = {"../x",   "a/../../x", "..\\x", absolute,
                                              "C:\\x",  "c:x",       "\\\\server\\share\\x",
                                              "/tmp/kalvero-never-written",
                                              std::string("..\0/x", 5)};
    std::vector<zipfix::ZipEntry> entries;
    for (const auto& name : hostile) entries.push_back(Entry(name, "payload"));
    entries.push_back(Entry("a/../ok.txt", "fine"));
    Extract(entries);

    ASSERT_EQ(failures.size(), hostile.size());
    for (size_t i = 0; i < hostile.size(); ++i) {
        EXPECT_EQ(failures[i].nativeError, 19);
        std::string shown = hostile[i];
        for (char& c : shown)
            if (c == '/') c = '\\';
        EXPECT_EQ(failures[i].name, shown);
        EXPECT_NE(failures[i].message.find("Refused to extract \"" + hostile[i] +
                                           "\": the name leads outside the target folder"),
                  std::string::npos)
            << failures[i].message;
    }
    EXPECT_EQ(Tree(folder.Path()),
              (std::vector<std::string>{"outside", "target", "target/ok.txt"}));
    EXPECT_FALSE(fs::exists("/tmp/kalvero-never-written"));
}

TEST_F(ExtractFiles, LinksInTheTargetFolderAreNotFollowed) {
    fs::create_directory_symlink(outside, In("data"));
    Write(outside + "/victim.txt", "precious");
    fs::create_symlink(outside + "/victim.txt", In("link.txt"));
    Extract({Entry("data/x", "payload"), Entry("data/sub/y", "payload"),
             Entry("link.txt", "replaces the link")});
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[0].nativeError, 20);
    EXPECT_EQ(failures[1].nativeError, 20);
    EXPECT_TRUE(fs::is_empty(outside) ||
                Tree(outside) == std::vector<std::string>{"victim.txt"});
    EXPECT_EQ(Read(outside + "/victim.txt"), "precious");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(In("link.txt"))));
    EXPECT_EQ(Read(In("link.txt")), "replaces the link");
}

TEST_F(ExtractFiles, FailedEntryLeavesNoFileAndKeepsTheOldOne) {
    Write(In("bad.txt"), "old content");
    zipfix::ZipPlan plan;
    plan.entries = {Entry("bad.txt", std::string(100000, 'n'), 8), Entry("fresh-bad.txt", "x"),
                    Entry("good.txt", "good")};
    zipfix::ZipLayout layout;
    std::string bytes = zipfix::BuildZip(plan, &layout);
    zipfix::Poke32(bytes, layout.centralHeaders[0] + 16, 0x12345678);
    zipfix::Poke32(bytes, layout.centralHeaders[1] + 16, 0x12345678);
    archive.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
    a.OpenArchive(archive, false);
    a.ExtractFiles(u"*.*", 10431, u"");
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[0].name, "bad.txt");
    EXPECT_EQ(failures[0].nativeError, 8);
    EXPECT_EQ(failures[1].name, "fresh-bad.txt");
    EXPECT_EQ(Tree(target), (std::vector<std::string>{"bad.txt", "good.txt"}));
    EXPECT_EQ(Read(In("bad.txt")), "old content");
    EXPECT_EQ(Read(In("good.txt")), "good");
}

TEST_F(ExtractFiles, AnAbsoluteNameChosenByTheHandlerIsUsed) {
    a.OnExtractFile = [this](TZABaseArchiver*, ZAString& name, uint32_t&, const ZAAnsiString&) {
        EXPECT_EQ(name, u"sub\\a.txt");
        name = Utf8ToUtf16(outside + "/chosen.txt");
    };
    Extract({Entry("sub/a.txt", "routed")});
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(Read(outside + "/chosen.txt"), "routed");
    EXPECT_TRUE(fs::is_empty(target));
}

}  // namespace
