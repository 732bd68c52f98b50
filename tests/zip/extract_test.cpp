#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "CrampedStream.h"
#include "NativeErrorOf.h"
#include "TempFolder.h"
#include "fixtures/ZipBuilder.h"
#include "zip/ZADirManager.h"
#include "zip/ZAExcept.h"
#include "zip/ZipArchiver.h"

namespace {

using zipfix::Entry;
using zipfix::RandomBytes;

std::string Text(size_t n) { return zipfix::WaypointText(n); }

std::string Bytes(const TZAMemoryStream& s) {
    return {reinterpret_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size())};
}

struct Event {
    char kind;  // 'F' file progress, 'O' overall progress
    double progress;
    TZAProcessOperation operation;
    TZAProgressPhase phase;
    ZAString name;
};

class Extraction : public ::testing::Test {
protected:
    Extraction() {
        a.SetName(u"Archiver");
        a.OnFileProgress = [this](TZABaseArchiver*, const ZAString& name, double p,
                                  TZAProcessOperation op, TZAProgressPhase ph, bool& cancel) {
            events.push_back({'F', p, op, ph, name});
            if (onEvent) onEvent(events.back(), cancel);
        };
        a.OnOverallProgress = [this](TZABaseArchiver*, double p, TZAProcessOperation op,
                                     TZAProgressPhase ph, bool& cancel) {
            events.push_back({'O', p, op, ph, u""});
            if (onEvent) onEvent(events.back(), cancel);
        };
    }

    void Open(const std::string& bytes) {
        archive.Clear();
        archive.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
        a.OpenArchive(archive, false);
    }
    void Open(const zipfix::ZipPlan& plan) { Open(zipfix::BuildZip(plan)); }
    void Open(const zipfix::ZipEntry& e) {
        zipfix::ZipPlan plan;
        plan.entries = {e};
        Open(plan);
    }

    std::string Extract(const std::string& name) {
        TZAMemoryStream out;
        a.ExtractToStream(Utf8ToUtf16(name), out);
        return Bytes(out);
    }
    std::vector<Event> Processing() const {
        std::vector<Event> out;
        for (const auto& e : events)
            if (e.phase == ppProcess) out.push_back(e);
        return out;
    }

    // The archive stream outlives the archiver, which may still close on it.
    TZAMemoryStream archive;
    TZipArchiver a;
    std::vector<Event> events;
    std::function<void(const Event&, bool&)> onEvent;
};

// ---- what comes out -------------------------------------------------------------------------

struct RoundTripCase {
    const char* what;
    zipfix::ZipPlan plan;
};

zipfix::ZipPlan WithEntry(zipfix::ZipEntry e, const std::function<void(zipfix::ZipPlan&)>& tweak = {}) {
    zipfix::ZipPlan plan;
    plan.entries = {Entry("first.txt", "first entry"), e, Entry("last.txt", "last entry", 8)};
    if (tweak) tweak(plan);
    return plan;
}

TEST_F(Extraction, EntriesComeOutByteForByte) {
    const std::string text = Text(200000);
    const std::string noise = RandomBytes(3 * 1048576 + 123, 7);  // several chunks of input
    zipfix::ZipEntry described = Entry("x", text, 8);
    described.dataDescriptor = true;
    zipfix::ZipEntry huge = Entry("x", text, 8);
    huge.zip64Sizes = true;
    const RoundTripCase cases[] = {
        {"stored", WithEntry(Entry("x", text))},
        {"deflated", WithEntry(Entry("x", text, 8))},
        {"empty stored", WithEntry(Entry("x", ""))},
        {"empty deflated", WithEntry(Entry("x", "", 8))},
        {"one byte deflated", WithEntry(Entry("x", "!", 8))},
        {"stored, several chunks", WithEntry(Entry("x", noise))},
        {"deflated, several chunks", WithEntry(Entry("x", noise, 8))},
        {"data descriptor", WithEntry(described)},
        {"zip64 sizes", WithEntry(huge, [](zipfix::ZipPlan& s) { s.zip64 = true; })},
        {"stub, offsets from the archive",
         WithEntry(Entry("x", text, 8), [](zipfix::ZipPlan& s) { s.stub = std::string(777, 'M'); })},
        {"stub, offsets from the file", WithEntry(Entry("x", text, 8), [](zipfix::ZipPlan& s) {
             s.stub = std::string(777, 'M');
             s.offsetsCountStub = true;
         })},
        {"archive comment", WithEntry(Entry("x", text, 8), [](zipfix::ZipPlan& s) { s.comment = "PK\x05\x06 in a comment"; })},
        {"no central directory", WithEntry(Entry("x", text, 8), [](zipfix::ZipPlan& s) { s.writeCentralDir = false; })},
        {"zip64 end record with extensible data", WithEntry(huge, [](zipfix::ZipPlan& s) {
             s.zip64 = true;
             s.zip64ExtensibleData = zipfix::ExtraBlock(0x0017, std::string(10, 'e'));
         })},
        {"stub, every entry with a data descriptor", WithEntry(described, [](zipfix::ZipPlan& s) {
             s.stub = std::string(202, 'M');
             for (auto& e : s.entries) e.dataDescriptor = true;
         })},
        {"stub, directory in another order than the data",
         WithEntry(Entry("x", text, 8), [](zipfix::ZipPlan& s) {
             s.stub = std::string(200, 'M');
             s.centralOrder = {1, 2, 0};
         })},
        {"an empty Zip64 block behind the full one", WithEntry(huge, [](zipfix::ZipPlan& s) {
             s.zip64 = true;
             s.entries[1].centralExtraAfter = zipfix::ExtraBlock(0x0001, "");
         })},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // Every case is reported, also after one that fails with an error.
        EXPECT_NO_THROW({
            Open(c.plan);
            EXPECT_EQ(Extract("x"), c.plan.entries[1].data);
            EXPECT_EQ(Extract("last.txt"), "last entry");
        });
    }
}

TEST_F(Extraction, OutputGoesFromTheStreamPositionOn) {
    Open(Entry("x", "abcdef", 8));
    TZAMemoryStream out;
    const std::string before(30, '.');
    out.Write(before.data(), 30);
    out.SetPosition(10);
    a.ExtractToStream(u"x", out);
    EXPECT_EQ(Bytes(out), std::string(10, '.') + "abcdef" + std::string(14, '.'));
    EXPECT_EQ(out.Position(), 16);
}

// ---- progress --------------------------------------------------------------------------------

TEST_F(Extraction, StoredProgressComesPerPieceWithExactValues) {
    Open(Entry("sub/x.gpx", Text(150000)));
    Extract("sub/x.gpx");
    const double p1 = 65535.0 / 150000.0 * 100.0, p2 = 131070.0 / 150000.0 * 100.0;
    struct Expected {
        char kind;
        double progress;
        TZAProgressPhase phase;
    };
    const Expected expected[] = {{'O', 0.0, ppStart},   {'F', p1, ppProcess}, {'O', p1, ppProcess},
                                 {'F', p2, ppProcess},  {'O', p2, ppProcess}, {'F', 100.0, ppProcess},
                                 {'O', 100.0, ppProcess}, {'F', 100.0, ppEnd},  {'O', 100.0, ppEnd}};
    ASSERT_EQ(events.size(), std::size(expected));
    for (size_t i = 0; i < events.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(events[i].kind, expected[i].kind);
        EXPECT_DOUBLE_EQ(events[i].progress, expected[i].progress);
        EXPECT_EQ(events[i].phase, expected[i].phase);
        EXPECT_EQ(events[i].operation, poExtract);
        if (events[i].kind == 'F') {
            EXPECT_EQ(events[i].name, u"sub\\x.gpx");
        }
    }
    EXPECT_EQ(std::trunc(p1), 43);
    EXPECT_EQ(std::trunc(p2), 87);
}

TEST_F(Extraction, AnEmptyEntryRaisesOnlyStartAndEnd) {
    Open(Entry("x", ""));
    Extract("x");
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].phase, ppStart);
    EXPECT_EQ(events[1].phase, ppEnd);
    EXPECT_EQ(events[2].phase, ppEnd);
}

TEST_F(Extraction, DeflatedProgressStartsAtZeroAndStaysBelowHundred) {
    const std::string data = Text(5 * 1048576 + 12345);
    Open(Entry("x", data, 8));
    Extract("x");
    const auto processing = Processing();
    ASSERT_GE(processing.size(), 10u);  // 5 MiB of output need several inflate calls
    EXPECT_EQ(processing.front().progress, 0.0);
    double last = -1;
    for (size_t i = 0; i < processing.size(); i += 2) {
        EXPECT_EQ(processing[i].kind, 'F');
        EXPECT_EQ(processing[i + 1].kind, 'O');
        EXPECT_EQ(processing[i].progress, processing[i + 1].progress);
        EXPECT_GE(processing[i].progress, last);
        last = processing[i].progress;
    }
    EXPECT_LT(last, 100.0);
    EXPECT_EQ(events.back().progress, 100.0);
    EXPECT_EQ(events.back().phase, ppEnd);
}

// ---- failures --------------------------------------------------------------------------------

struct FailureCase {
    const char* what;
    std::function<std::string()> archive;
    int32_t nativeError;        // with ExtractCorruptedFiles false
    std::optional<std::string> corruptOutput;  // what the stream holds with ExtractCorruptedFiles true
};

// The archive of one entry whose central header fields are overwritten afterwards.
std::string WithPokes(zipfix::ZipEntry e, std::vector<std::pair<size_t, uint32_t>> pokes,
                      uint16_t versionNeeded = 20) {
    e.versionNeeded = versionNeeded;
    zipfix::ZipPlan plan;
    plan.entries = {e};
    zipfix::ZipLayout layout;
    std::string bytes = zipfix::BuildZip(plan, &layout);
    for (const auto& [field, value] : pokes)
        zipfix::Poke32(bytes, layout.centralHeaders[0] + field, value);
    return bytes;
}
std::string WithPoke(zipfix::ZipEntry e, size_t field, uint32_t value, uint16_t versionNeeded = 20) {
    return WithPokes(std::move(e), {{field, value}}, versionNeeded);
}

constexpr size_t kCrcField = 16, kCompSizeField = 20, kUncompSizeField = 24;

TEST_F(Extraction, DamagedEntriesTable) {
    const std::string data = Text(3000);
    zipfix::ZipEntry garbage = Entry("x", RandomBytes(500, 3));
    garbage.methodField = 8;  // random bytes are no deflate stream
    zipfix::ZipEntry deflate64 = Entry("x", data);
    deflate64.methodField = 9;
    zipfix::ZipEntry bzip2 = Entry("x", data);
    bzip2.methodField = 12;
    const FailureCase cases[] = {
        {"wrong CRC, deflated", [&] { return WithPoke(Entry("x", data, 8), kCrcField, 1); }, 8, data},
        {"wrong CRC, stored", [&] { return WithPoke(Entry("x", data), kCrcField, 1); }, 8, data},
        {"wrong CRC, extract version 16660",
         [&] { return WithPoke(Entry("x", data, 8), kCrcField, 1, 16660); }, 0, data},
        {"directory size too large",
         [&] { return WithPoke(Entry("x", data, 8), kUncompSizeField, 3001); }, 8, data},
        {"directory size too small, deflated",
         [&] { return WithPoke(Entry("x", data, 8), kUncompSizeField, 1000); }, 8, data},
        {"directory size too small, stored",
         [&] { return WithPoke(Entry("x", data), kUncompSizeField, 1000); }, 8, data},
        // Only the bytes in front of the central directory are read.
        {"sizes run into the directory",
         [&] { return WithPokes(Entry("x", data), {{kCompSizeField, 1000000}, {kUncompSizeField, 1000000}}); },
         8, data},
        {"not deflate data", [&] { return WithPoke(garbage, kCrcField, zipfix::Crc32(garbage.data)); }, 8, {}},
        {"bzip2", [&] { return WithPoke(bzip2, kCrcField, zipfix::Crc32(data)); }, 8, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Open(c.archive());
        a.SetExtractCorruptedFiles(false);
        TZAMemoryStream out;
        EXPECT_EQ(NativeErrorOf([&] { a.ExtractToStream(u"x", out); }), c.nativeError);
        EXPECT_LE(out.Size(), static_cast<int64_t>(data.size()));
        a.SetExtractCorruptedFiles(true);
        events.clear();
        TZAMemoryStream kept;
        EXPECT_EQ(NativeErrorOf([&] { a.ExtractToStream(u"x", kept); }), 0);
        if (c.corruptOutput) {
            EXPECT_EQ(Bytes(kept), *c.corruptOutput);
        }
        ASSERT_GE(events.size(), 2u);
        EXPECT_EQ(events[events.size() - 2].phase, ppEnd);
        EXPECT_EQ(events.back().phase, ppEnd);
    }
    a.SetExtractCorruptedFiles(false);
    Open(WithPoke(bzip2, kCrcField, zipfix::Crc32(data)));
    TZAMemoryStream out;
    EXPECT_EQ(NativeErrorOf([&] { a.ExtractToStream(u"x", out); }), 8);
    EXPECT_EQ(out.Size(), 0);  // no data is read for a method that is not supported
}

TEST_F(Extraction, Deflate64IsRefusedEvenForDamagedEntries) {
    zipfix::ZipEntry e = Entry("x", "data");
    e.methodField = 9;
    for (bool corrupted : {false, true}) {
        Open(e);
        a.SetExtractCorruptedFiles(corrupted);
        TZAMemoryStream out;
        try {
            a.ExtractToStream(u"x", out);
            ADD_FAILURE() << "no error";
        } catch (const EZAException& ex) {
            EXPECT_EQ(ex.NativeError, 55);
            EXPECT_EQ(ex.Message(), u"Deflate64 compression method is not supported - Native error: 00055");
        }
        EXPECT_EQ(out.Size(), 0);
    }
}

TEST_F(Extraction, AnEntryThatInflatesBeyondItsSizeStopsThere) {
    // 16 MiB of zeros deflate to about 16 KiB; the directory claims 1000 bytes.
    const std::string zeros(16u << 20, '\0');
    Open(WithPoke(Entry("bomb", zeros, 8), kUncompSizeField, 1000));
    size_t inflateCalls = 0;
    onEvent = [&](const Event& e, bool&) { inflateCalls += e.kind == 'F' && e.phase == ppProcess; };
    TZAMemoryStream out;
    try {
        a.ExtractToStream(u"bomb", out);
        ADD_FAILURE() << "no error";
    } catch (const EZAException& ex) {
        EXPECT_EQ(ex.NativeError, 8);
        EXPECT_EQ(ex.Message(),
                  u"Archiver: Invalid size or check sum of file or unsupported compression format - "
                  u"Native error: 00008");
    }
    EXPECT_EQ(Bytes(out), std::string(1000, '\0'));
    EXPECT_EQ(inflateCalls, 1u);  // the first 1 MiB of output already passes the size
}

TEST_F(Extraction, LocalHeaderCutOffIsAStreamReadError) {
    zipfix::ZipPlan plan;
    plan.entries = {Entry("x", "data")};
    zipfix::ZipLayout layout;
    std::string bytes = zipfix::BuildZip(plan, &layout);
    zipfix::Poke32(bytes, layout.centralHeaders[0] + 42, static_cast<uint32_t>(bytes.size() - 10));
    Open(bytes);
    TZAMemoryStream out;
    EXPECT_THROW(a.ExtractToStream(u"x", out), EZAReadError);
}

TEST_F(Extraction, MissingEntryAndClosedArchive) {
    Open(Entry("Finds.gpx", "data"));
    TZAMemoryStream out;
    try {
        a.ExtractToStream(u"Other.GPX", out);
        ADD_FAILURE() << "no error";
    } catch (const EZAException& ex) {
        EXPECT_EQ(ex.Message(), u"Archiver: File \"Other.GPX\" not found - Native error: 00015");
    }
    ASSERT_EQ(events.size(), 1u);  // ppStart came, no ppEnd
    EXPECT_EQ(events[0].phase, ppStart);
    EXPECT_TRUE(a.Options().Recurse());  // restored after the failure
    a.CloseArchive();
    EXPECT_EQ(NativeErrorOf([&] { a.ExtractToStream(u"Finds.gpx", out); }), 13);
    ZAString text;
    EXPECT_EQ(NativeErrorOf([&] { a.ExtractToString(u"Finds.gpx", text); }), 13);
}

// ---- cancel and disk full --------------------------------------------------------------------

TEST_F(Extraction, CancelStopsWritingAndRaisesNoError) {
    struct Case {
        const char* what;
        uint16_t method;
        size_t cancelAtFileEvent;  // counted from 1
        size_t written;
    };
    const std::string data = Text(150000);
    const Case cases[] = {
        {"stored, second piece", 0, 2, 65535},
        {"stored, first piece", 0, 1, 0},
        {"deflated, first inflate", 8, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Open(Entry("x", data, c.method));
        events.clear();
        size_t fileEvents = 0;
        onEvent = [&](const Event& e, bool& cancel) {
            if (e.kind == 'F' && e.phase == ppProcess && ++fileEvents == c.cancelAtFileEvent) cancel = true;
        };
        TZAMemoryStream out;
        EXPECT_NO_THROW(a.ExtractToStream(u"x", out));
        EXPECT_EQ(Bytes(out), data.substr(0, c.written));
        EXPECT_EQ(events.back().phase, ppEnd);
        EXPECT_EQ(events[events.size() - 1].kind, 'O');
    }
    onEvent = {};
    events.clear();
    TZAMemoryStream out;
    a.ExtractToStream(u"x", out);  // the next extraction starts with the flag cleared
    EXPECT_EQ(Bytes(out), data);
}

TEST_F(Extraction, DiskFullHandshake) {
    const std::string data = Text(100000);
    Open(Entry("x", data, 8));
    a.SetFileName(u"/some/Finds.zip");
    CrampedStream out;
    out.Room = 5000;
    // No handler: the write side's disk-full error.
    try {
        a.ExtractToStream(u"x", out);
        ADD_FAILURE() << "no error";
    } catch (const EZAException& ex) {
        EXPECT_EQ(ex.NativeError, 65);
        EXPECT_EQ(ex.Message(), u"Disk is full. There is not enough free space on disk. - Native error: 00065");
    }
    // A handler that makes room: the write is repeated from where it started.
    std::vector<std::pair<int32_t, ZAString>> calls;
    a.OnDiskFull = [&](TZABaseArchiver*, int32_t volume, const ZAString& name, bool& cancel) {
        calls.emplace_back(volume, name);
        EXPECT_FALSE(cancel);
        out.Room += 50000;
    };
    out.Clear();
    out.SetPosition(0);
    out.Room = 5000;
    a.ExtractToStream(u"x", out);
    EXPECT_EQ(Bytes(out), data);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0].first, 0);
    EXPECT_EQ(calls[0].second, u"/some/Finds.zip");
    // A handler that gives up: no error, the output keeps what was written.
    a.OnDiskFull = [](TZABaseArchiver*, int32_t, const ZAString&, bool& cancel) { cancel = true; };
    out.Clear();
    out.SetPosition(0);
    out.Room = 5000;
    EXPECT_NO_THROW(a.ExtractToStream(u"x", out));
    EXPECT_EQ(Bytes(out), data.substr(0, 5000));
}

TEST_F(Extraction, AHandlerThatClosesTheArchiveEndsTheExtraction) {
    Open(Entry("x", Text(300000)));
    onEvent = [this](const Event& e, bool&) {
        if (e.phase == ppProcess) a.CloseArchive();
    };
    TZAMemoryStream out;
    EXPECT_EQ(NativeErrorOf([&] { a.ExtractToStream(u"x", out); }), 13);
}

// ---- buffer and text -------------------------------------------------------------------------

TEST_F(Extraction, BufferWindowTable) {
    const std::string data = RandomBytes(3 * 1048576, 11);  // incompressible: 3 chunks of input
    struct Case {
        uint16_t method;
        int64_t start;
        int32_t count;
    };
    const Case cases[] = {
        {0, 5, 10},         {8, 5, 10},         {8, 0, 10},
        {8, 1048576 - 3, 9},  // across the first chunk's end
        {8, 2500000, 1000}, {0, 2500000, 1000}, {8, 0, 3 * 1048576},
        {8, 3 * 1048576 - 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.method) + " " + std::to_string(c.start) + "+" + std::to_string(c.count));
        Open(Entry("x", data, c.method));
        events.clear();
        std::string buffer(static_cast<size_t>(c.count), '\0');
        a.ExtractToBuffer(u"x", buffer.data(), c.count, c.start);
        EXPECT_EQ(buffer, data.substr(static_cast<size_t>(c.start), static_cast<size_t>(c.count)));
        EXPECT_TRUE(events.empty());  // no progress events at all
    }
    // A window that runs past the end fails, also when earlier chunks left bytes behind.
    std::string buffer(10, '\0');
    for (const int64_t start : {int64_t{3 * 1048576 - 5}, int64_t{3 * 1048576 + 100}, int64_t{0}}) {
        Open(Entry("x", data.substr(0, start == 0 ? 5 : data.size()), 8));
        EXPECT_THROW(a.ExtractToBuffer(u"x", buffer.data(), 10, start), EZAReadError) << start;
    }
}

TEST_F(Extraction, AWindowNeedsOnlyTheBytesTheDirectoryVouchesFor) {
    // The data holds 10000 bytes; the directory says 5000.
    const std::string data = Text(10000);
    struct Case {
        uint16_t method;
        int64_t start;
        int32_t count;
        int32_t nativeError;  // 0: the window comes back
    };
    const Case cases[] = {
        {8, 100, 16, 0}, {0, 100, 16, 0}, {8, 4990, 10, 0},
        {8, 4995, 10, 8}, {8, 6000, 16, 8},  // reaching beyond the stated size
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.method) + " " + std::to_string(c.start));
        zipfix::ZipPlan plan;
        plan.entries = {Entry("x", data, c.method)};
        zipfix::ZipLayout layout;
        std::string bytes = zipfix::BuildZip(plan, &layout);
        zipfix::Poke32(bytes, layout.centralHeaders[0] + 24, 5000);
        Open(bytes);
        std::string buffer(static_cast<size_t>(c.count), '\0');
        EXPECT_EQ(NativeErrorOf([&] { a.ExtractToBuffer(u"x", buffer.data(), c.count, c.start); }),
                  c.nativeError);
        if (c.nativeError == 0) {
            EXPECT_EQ(buffer, data.substr(static_cast<size_t>(c.start), static_cast<size_t>(c.count)));
        }
        TZAMemoryStream whole;
        EXPECT_EQ(NativeErrorOf([&] { a.ExtractToStream(u"x", whole); }), 8);
    }
}

TEST_F(Extraction, SizesNoStreamCanHoldFailAsDamaged) {
    struct Case {
        size_t field;  // offset of the value inside the Zip64 block: 0 uncompressed, 8 compressed
        uint64_t value;
    };
    const Case cases[] = {{8, 0x7FFFFFFFFFFFFFF0ull}, {8, 0xFFFFFFFFFFFFFFF0ull},
                          {0, 0x7FFFFFFFFFFFFFF0ull}, {0, 0xFFFFFFFFFFFFFFF0ull}};
    for (const auto& c : cases) {
        for (const bool corrupted : {false, true}) {
            SCOPED_TRACE(std::to_string(c.field) + " " + std::to_string(c.value) + " " +
                         std::to_string(corrupted));
            zipfix::ZipEntry e = Entry("x", "some data");
            e.zip64Sizes = true;
            zipfix::ZipPlan plan;
            plan.entries = {e};
            plan.zip64 = true;
            zipfix::ZipLayout layout;
            std::string bytes = zipfix::BuildZip(plan, &layout);
            // The Zip64 block stands behind the 46-byte header and the one-byte name.
            const size_t at = layout.centralHeaders[0] + 46 + 1 + 4 + c.field;
            zipfix::Poke32(bytes, at, static_cast<uint32_t>(c.value));
            zipfix::Poke32(bytes, at + 4, static_cast<uint32_t>(c.value >> 32));
            Open(bytes);
            a.SetExtractCorruptedFiles(corrupted);
            TZAMemoryStream out;
            EXPECT_EQ(NativeErrorOf([&] { a.ExtractToStream(u"x", out); }), corrupted ? 0 : 8);
            EXPECT_LE(out.Size(), 9);
        }
    }
}

TEST_F(Extraction, TextIsDecodedInTheAnsiCodePage) {
    Open(Entry("x", "\xC3\xBC\x80", 8));
    ZAString text;
    a.ExtractToString(u"X", text);
    EXPECT_EQ(text, u"\u00C3\u00BC\u20AC");
    EXPECT_TRUE(events.empty());
}

// ---- volumes ---------------------------------------------------------------------------------

TEST_F(Extraction, DataRunsOnIntoTheNextVolumeOfASplitSet) {
    // One stored entry whose data starts in Set.Z01 and ends in Set.zip, which also holds the
    // central directory.
    const std::string data = Text(20000);
    zipfix::ZipPlan plan;
    plan.entries = {Entry("x.txt", data)};
    zipfix::ZipLayout layout;
    std::string bytes = zipfix::BuildZip(plan, &layout);
    const size_t split = 30 + 5 + 7000;  // inside the entry's data
    std::string first = bytes.substr(0, split), last = bytes.substr(split);
    const size_t end = layout.endRecord - split;
    zipfix::Poke16(last, end + 4, 1);  // this volume's number
    zipfix::Poke16(last, end + 6, 1);  // the directory's volume
    zipfix::Poke32(last, end + 16, static_cast<uint32_t>(layout.centralDir - split));
    TempFolder folder;
    folder.Write("Set.Z01", first);
    folder.Write("Set.zip", last);
    a.SetFileName(folder.FileZA("Set.zip"));
    a.OpenArchive();
    EXPECT_EQ(a.SpanningMode(), smSplitting);
    EXPECT_EQ(Extract("x.txt"), data);
    a.CloseArchive();
}

}  // namespace
