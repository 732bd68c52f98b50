// The batch loop of ExtractFiles and TestFiles: events per entry, the failure dialogue,
// confirmation, selection, overlapping entries and the process-wide lock.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <chrono>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "OpenInMemory.h"
#include "RecordingPrompt.h"
#include "TempFolder.h"
#include "fixtures/ZipBuilder.h"
#include "zip/ZAExcept.h"
#include "zip/ZipArchiver.h"

namespace {

using zipfix::Entry;

// An archive whose entry `damaged` has a wrong CRC-32 in its central header.
std::string WithDamagedEntry(const std::vector<zipfix::ZipEntry>& entries, size_t damaged) {
    zipfix::ZipPlan plan;
    plan.entries = entries;
    zipfix::ZipLayout layout;
    std::string bytes = zipfix::BuildZip(plan, &layout);
    zipfix::Poke32(bytes, layout.centralHeaders[damaged] + 16, 0xDEADBEEF);
    return bytes;
}

struct Seen {
    char kind;  // 'F' file progress, 'O' overall progress, 'X' failure
    ZAString name;
    TZAProgressPhase phase;
    int32_t nativeError;
    ZAString message;
};

// A prompt that gives its answers in turn (the last one again when they run out).
class ScriptedPrompt : public RecordingPrompt {
public:
    TZAPromptButton Confirm(const ZAString& Text, const TZAPromptButtons& Buttons) override {
        RecordingPrompt::Confirm(Text, Buttons);
        const TZAPromptButton b = script.front();
        if (script.size() > 1) script.pop_front();
        return b;
    }
    std::deque<TZAPromptButton> script;
};

class Batch : public ::testing::Test {
protected:
    Batch() {
        a.SetName(u"Archiver");
        a.OnFileProgress = [this](TZABaseArchiver*, const ZAString& name, double,
                                  TZAProcessOperation, TZAProgressPhase ph, bool& cancel) {
            seen.push_back({'F', name, ph, 0, u""});
            if (cancelAt == name && ph == ppProcess) cancel = true;
        };
        a.OnOverallProgress = [this](TZABaseArchiver*, double, TZAProcessOperation,
                                     TZAProgressPhase ph, bool&) {
            if (ph != ppProcess) seen.push_back({'O', u"", ph, 0, u""});
        };
    }
    void Open(const std::string& bytes) { OpenInMemory(a, archive, bytes); }
    void Open(const std::vector<zipfix::ZipEntry>& entries) { OpenInMemory(a, archive, entries); }
    void RecordFailures(TZAAction answer) {
        a.OnProcessFileFailure = [this, answer](TZABaseArchiver*, const ZAString& name,
                                                TZAProcessOperation, int32_t native, int32_t,
                                                const ZAString& message, TZAAction& action) {
            seen.push_back({'X', name, ppEnd, native, message});
            action = answer;
        };
    }
    // Entry names in the order their ppStart and failures came, e.g. "+a.txt", "!b.txt".
    std::vector<std::string> Trace() const {
        std::vector<std::string> out;
        for (const Seen& s : seen) {
            if (s.kind == 'F' && s.phase == ppStart) out.push_back("+" + Utf16ToUtf8(s.name));
            if (s.kind == 'F' && s.phase == ppEnd) out.push_back("-" + Utf16ToUtf8(s.name));
            if (s.kind == 'X') out.push_back("!" + Utf16ToUtf8(s.name));
        }
        return out;
    }

    TZAMemoryStream archive;
    TZipArchiver a;
    std::vector<Seen> seen;
    ZAString cancelAt;
};

using Names = std::vector<std::string>;

TEST_F(Batch, TestFilesReportsTheDamagedEntryAndGoesOn) {
    Open(WithDamagedEntry({Entry("a.txt", "alpha"), Entry("dir/", ""),
                           Entry("dir/bad.txt", std::string(5000, 'b'), 8),
                           Entry("z.txt", "zulu", 8)},
                          2));
    RecordFailures(fxaIgnore);
    a.TestFiles();  // no FileMasks: nothing selected
    EXPECT_EQ(Trace(), Names{});
    a.SetFileMasks({u"*.*"});
    a.TestFiles();
    // Folders are passed over without a failure; names reach handlers with backslashes.
    EXPECT_EQ(Trace(), (Names{"+a.txt", "-a.txt", "+dir\\", "-dir\\", "+dir\\bad.txt",
                              "!dir\\bad.txt", "+z.txt", "-z.txt"}));
    EXPECT_EQ(seen.front().kind, 'O');
    EXPECT_EQ(seen.back().kind, 'O');
    EXPECT_EQ(seen.back().phase, ppEnd);
    const Seen& failure =
        *std::find_if(seen.begin(), seen.end(), [](const Seen& s) { return s.kind == 'X'; });
    EXPECT_EQ(failure.nativeError, 8);
    EXPECT_EQ(failure.message,
              u"Archiver: Invalid size or check sum of file or unsupported compression format"
              u" - Native error: 00008");
}

TEST_F(Batch, FailureBoxRetriesIgnoresOrAborts) {
    struct Case {
        std::deque<TZAPromptButton> answers;
        Names trace;
        size_t boxes;
    };
    const Case cases[] = {
        {{pbIgnore}, {"+a.txt", "+b.txt", "-b.txt"}, 1},
        {{pbRetry, pbIgnore}, {"+a.txt", "+a.txt", "+b.txt", "-b.txt"}, 2},
        {{pbAbort}, {"+a.txt"}, 1},
    };
    for (const Case& c : cases) {
        ScriptedPrompt prompt;
        prompt.script = c.answers;
        Open(WithDamagedEntry({Entry("a.txt", "alpha"), Entry("b.txt", "bravo")}, 0));
        seen.clear();
        a.TestFiles(u"*.*", 10431, u"");
        EXPECT_EQ(Trace(), c.trace);
        ASSERT_EQ(prompt.texts.size(), c.boxes);
        EXPECT_EQ(prompt.texts[0],
                  u"Archiver: Invalid size or check sum of file or unsupported compression "
                  u"format - Native error: 00008. File processing error, possibly disk is full");
        EXPECT_EQ(prompt.buttons[0], (TZAPromptButtons{pbAbort, pbRetry, pbIgnore}));
        a.CloseArchive();
    }
}

TEST_F(Batch, UnconfirmedEntriesAndEmptySelectionsRaiseNoEntryEvents) {
    TempFolder folder;
    Open({Entry("a.txt", "alpha"), Entry("sub/b.txt", "bravo")});
    a.SetBaseDir(Utf8ToUtf16(folder.Path()));
    a.OnConfirmProcessFile = [](TZABaseArchiver*, const ZAString&, TZAProcessOperation,
                                bool& confirm) { confirm = false; };
    a.ExtractFiles(u"*", 10431, u"");
    EXPECT_EQ(Trace(), Names{});
    EXPECT_EQ(seen.size(), 2u);  // the overall start and end
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));

    a.OnConfirmProcessFile = nullptr;
    seen.clear();
    a.TestFiles(u"*.none", 10431, u"");
    EXPECT_EQ(seen.size(), 2u);
    seen.clear();
    a.Options().SetRecurse(false);
    a.ExtractFiles(u"missing.txt", 10431, u"");  // the single-entry form
    EXPECT_TRUE(seen.empty());
}

// Behind a stub that the offsets leave out, only files' offsets are moved; a folder's still
// points into another entry's data and is no overlap, as the batch reads no folder's data.
TEST_F(Batch, FoldersBehindAStubAreNoOverlap) {
    zipfix::ZipPlan plan;
    plan.stub = std::string(5000, 'S');
    plan.entries = {Entry("big.bin", std::string(6000, 'b')), Entry("sub/", ""),
                    Entry("sub/x.txt", "x")};
    Open(zipfix::BuildZip(plan));
    RecordFailures(fxaIgnore);
    a.TestFiles(u"*.*", 10431, u"");
    EXPECT_EQ(Trace(), (Names{"+big.bin", "-big.bin", "+sub\\", "-sub\\", "+sub\\x.txt",
                              "-sub\\x.txt"}));
}

// Two ways of sharing bytes: a second central header for the same local entry, and an
// entry whose stated compressed size runs over the next entry's local header.
TEST_F(Batch, OverlappingEntriesAreRefusedUnreadAndTheBatchGoesOn) {
    enum Layout { SameLocalHeader, SizeRunsIntoNext };
    for (const Layout layout : {SameLocalHeader, SizeRunsIntoNext}) {
        SCOPED_TRACE(layout);
        zipfix::ZipPlan plan;
        plan.entries = {Entry("one.txt", std::string(70000, '1')),
                        Entry("two.txt", std::string(70000, '2')), Entry("ok.txt", "fine")};
        zipfix::ZipLayout where;
        std::string bytes = zipfix::BuildZip(plan, &where);
        if (layout == SameLocalHeader)
            zipfix::Poke32(bytes, where.centralHeaders[1] + 42,
                           static_cast<uint32_t>(where.localHeaders[0]));
        else
            zipfix::Poke32(bytes, where.centralHeaders[0] + 20, 70000 + 40);
        Open(bytes);
        seen.clear();
        RecordFailures(fxaIgnore);
        a.TestFiles(u"*.*", 10431, u"");
        EXPECT_EQ(Trace(), (Names{"+one.txt", "!one.txt", "+two.txt", "!two.txt", "+ok.txt",
                                  "-ok.txt"}));
        for (const Seen& s : seen) {
            if (s.kind == 'X') {
                EXPECT_EQ(s.nativeError, 8);
                EXPECT_NE(s.message.find(u"\"" + s.name + u"\": invalid zip file with overlapped "
                                         u"components (possible zip bomb)"),
                          ZAString::npos);
            }
            // Refused entries are not read: only ok.txt makes progress.
            if (s.kind == 'F' && s.phase == ppProcess) {
                EXPECT_EQ(s.name, u"ok.txt");
            }
        }
        if (layout == SameLocalHeader) {
            // One entry at a time is read as before.
            TZAMemoryStream out;
            a.ExtractToStream(u"one.txt", out);
            EXPECT_EQ(out.Size(), 70000);
        }
        a.CloseArchive();
    }
}

TEST_F(Batch, CancelEndsTheBatchAndDropsThePartFile) {
    TempFolder folder;
    folder.Write("big.txt", "the old big file");
    Open({Entry("a.txt", "alpha"), Entry("big.txt", std::string(200000, 'x')),
          Entry("c.txt", "charlie")});
    a.SetBaseDir(Utf8ToUtf16(folder.Path()));
    cancelAt = u"big.txt";
    a.ExtractFiles(u"*.*", 10431, u"");
    EXPECT_EQ(Trace(), (Names{"+a.txt", "-a.txt", "+big.txt", "-big.txt"}));
    EXPECT_EQ(folder.Read("a.txt"), "alpha");
    EXPECT_EQ(folder.Read("big.txt"), "the old big file");
    EXPECT_FALSE(folder.Exists("c.txt"));
    size_t files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder.Path())) ++files;
    EXPECT_EQ(files, 2u);  // no part file left behind
}

// Batches of different archivers in one process run one after the other.
TEST(BatchLock, BatchesOfTwoArchiversDoNotInterleave) {
    zipfix::ZipPlan plan;
    plan.entries = {Entry("a.txt", "alpha"), Entry("b.txt", "bravo")};
    const std::string bytes = zipfix::BuildZip(plan);
    TZAMemoryStream s1, s2;
    s1.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
    s2.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
    TZipArchiver first, second;
    first.OpenArchive(s1, false);
    second.OpenArchive(s2, false);

    std::mutex m;
    std::vector<char> order;
    std::atomic<bool> firstInside{false}, secondCalling{false};
    first.OnFileProgress = [&](TZABaseArchiver*, const ZAString&, double, TZAProcessOperation,
                               TZAProgressPhase ph, bool&) {
        if (ph == ppStart) {
            firstInside = true;
            while (!secondCalling) std::this_thread::yield();
            // Give the second batch every chance to run now if nothing held it back.
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        std::lock_guard<std::mutex> g(m);
        order.push_back('1');
    };
    second.OnFileProgress = [&](TZABaseArchiver*, const ZAString&, double, TZAProcessOperation,
                                TZAProgressPhase, bool&) {
        std::lock_guard<std::mutex> g(m);
        order.push_back('2');
    };
    std::thread t([&] { first.TestFiles(u"*.*", 10431, u""); });
    while (!firstInside) std::this_thread::yield();
    secondCalling = true;
    second.TestFiles(u"*.*", 10431, u"");
    t.join();
    ASSERT_FALSE(order.empty());
    const std::string sequence(order.begin(), order.end());
    EXPECT_EQ(sequence.find_last_of('1') + 1, sequence.find_first_of('2')) << sequence;
}

}  // namespace
