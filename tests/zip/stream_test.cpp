#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "platform/host_error.h"
#include "zip/ZAStream.h"
#include "zip/ZAWindowStream.h"

namespace {

std::string Pattern(size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return s;
}

// The same behaviour is asked of each kind of stream that holds data.
struct StreamKind {
    const char* name;
    std::function<std::unique_ptr<TZAStream>(const TempFolder&)> make;
};

class DataStream : public ::testing::TestWithParam<StreamKind> {
protected:
    TempFolder folder;
    std::unique_ptr<TZAStream> stream = GetParam().make(folder);
};

TEST_P(DataStream, ReadsBackWhatWasWrittenAcrossSeeks) {
    const std::string data = Pattern(200000);
    stream->WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
    EXPECT_EQ(stream->Size(), 200000);
    EXPECT_EQ(stream->Position(), 200000);

    std::string back(data.size(), '\0');
    EXPECT_EQ(stream->Seek(0, soBeginning), 0);
    stream->ReadBuffer(back.data(), 100);  // small read, then a large one
    stream->ReadBuffer(back.data() + 100, static_cast<int64_t>(data.size()) - 100);
    EXPECT_EQ(back, data);

    EXPECT_EQ(stream->Seek(-10, soEnd), 199990);
    char tail[10];
    stream->ReadBuffer(tail, 10);
    EXPECT_EQ(std::string(tail, 10), data.substr(199990));
    EXPECT_EQ(stream->Seek(-20, soCurrent), 199980);
}

TEST_P(DataStream, ReportsShortReadsAndFailsTheExactForm) {
    stream->WriteBuffer("abcdef", 6);
    char buf[16] = {};
    stream->SetPosition(4);
    EXPECT_EQ(stream->Read(buf, 16), 2);
    EXPECT_EQ(std::string(buf, 2), "ef");
    EXPECT_EQ(stream->Read(buf, 16), 0);
    stream->SetPosition(-3);
    EXPECT_EQ(stream->Read(buf, 4), 0);
    stream->SetPosition(100);
    EXPECT_EQ(stream->Read(buf, 4), 0);

    stream->SetPosition(3);
    try {
        stream->ReadBuffer(buf, 4);
        FAIL() << "a short exact read must fail";
    } catch (const EZAReadError& e) {
        EXPECT_EQ(e.Message(), u"Stream-Lesefehler");
    }
}

TEST_P(DataStream, OverwritesInPlaceAndSeesTheNewBytes) {
    const std::string data = Pattern(5000);
    stream->WriteBuffer(data.data(), 5000);
    char buf[8];
    stream->SetPosition(1000);
    stream->ReadBuffer(buf, 8);  // the file stream now holds this region in its buffer
    stream->SetPosition(1002);
    stream->WriteBuffer("XYZ", 3);
    stream->SetPosition(1000);
    stream->ReadBuffer(buf, 8);
    EXPECT_EQ(std::string(buf, 8), data.substr(1000, 2) + "XYZ" + data.substr(1005, 3));
    EXPECT_EQ(stream->Size(), 5000);
}

TEST_P(DataStream, SetSizeTruncatesAndKeepsThePositionInside) {
    stream->WriteBuffer("0123456789", 10);
    stream->SetSize(4);
    EXPECT_EQ(stream->Size(), 4);
    EXPECT_EQ(stream->Position(), 4);
    char buf[10];
    stream->SetPosition(0);
    EXPECT_EQ(stream->Read(buf, 10), 4);
    EXPECT_EQ(std::string(buf, 4), "0123");
    stream->SetSize(0);
    EXPECT_EQ(stream->Size(), 0);
}

TEST_P(DataStream, CopiesFromAnotherStream) {
    TZAMemoryStream source;
    const std::string data = Pattern(70000);
    source.WriteBuffer(data.data(), 70000);
    source.SetPosition(10);
    EXPECT_EQ(stream->CopyFrom(source, 500), 500);
    EXPECT_EQ(stream->CopyFrom(source, 0), 70000);  // 0: the whole source from its start
    EXPECT_EQ(stream->Size(), 70500);
    std::string back(70500, '\0');
    stream->SetPosition(0);
    stream->ReadBuffer(back.data(), 70500);
    EXPECT_EQ(back, data.substr(10, 500) + data);
    source.SetPosition(69990);
    EXPECT_THROW(stream->CopyFrom(source, 20), EZAReadError);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DataStream,
    ::testing::Values(
        StreamKind{"Memory", [](const TempFolder&) { return std::make_unique<TZAMemoryStream>(); }},
        StreamKind{"File",
                   [](const TempFolder& f) {
                       return std::make_unique<TZAFileStream>(f.FileZA("s.bin"), 0xFF00);
                   }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FileStream, ManySmallReadsCostOneSystemCallPerBuffer) {
    TempFolder folder;
    const std::string data = Pattern(46 * 100000);
    folder.Write("dir.bin", data);
    TZAFileStream stream(folder.FileZA("dir.bin"), 0x40);
    char header[46];
    for (int i = 0; i < 100000; ++i) stream.ReadBuffer(header, 46);
    EXPECT_EQ(std::string(header, 46), data.substr(46 * 99999));
    const uint64_t buffers = (data.size() + TZAFileStream::kBufferSize - 1) /
                             static_cast<uint64_t>(TZAFileStream::kBufferSize);
    EXPECT_LE(stream.ReadCalls(), buffers + 1);
}

TEST(FileStream, CreateModeEmptiesAnExistingFile) {
    TempFolder folder;
    folder.Write("a.zip", "old contents");
    {
        TZAFileStream stream(folder.FileZA("a.zip"), 0xFF00);
        EXPECT_EQ(stream.Size(), 0);
        stream.WriteBuffer("new", 3);
    }
    EXPECT_EQ(folder.Read("a.zip"), "new");
}

TEST(FileStream, ReadOnlyModeRefusesWrites) {
    TempFolder folder;
    folder.Write("a.zip", "abc");
    TZAFileStream stream(folder.FileZA("a.zip"), 0x40);
    EXPECT_THROW(stream.WriteBuffer("x", 1), EZAWriteError);
    EXPECT_EQ(folder.Read("a.zip"), "abc");
}

struct OpenFailure {
    const char* name;
    uint16_t mode;
    const char* textStart;
};

class FileStreamOpenFailure : public ::testing::TestWithParam<OpenFailure> {};

TEST_P(FileStreamOpenFailure, RaisesTheHostsGermanFileError) {
    TempFolder folder;
    const std::string path = folder.File("missing/x.zip");
    try {
        TZAFileStream stream(Utf8ToUtf16(path), GetParam().mode);
        FAIL() << "opening must fail";
    } catch (const platform::HostError& e) {
        const std::string text = e.what();
        const std::string expectedStart = std::string(GetParam().textStart) + path;
        EXPECT_EQ(text.substr(0, expectedStart.size()), expectedStart) << text;
        EXPECT_NE(text.find(GetParam().mode == 0xFF00 ? "\" kann nicht erstellt werden. "
                                                      : " kann nicht geöffnet werden. "),
                  std::string::npos)
            << text;
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, FileStreamOpenFailure,
                         ::testing::Values(OpenFailure{"Open", 0x22, "Datei "},
                                           OpenFailure{"ReadOnly", 0x40, "Datei "},
                                           OpenFailure{"Create", 0xFF00, "Datei \""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FileStream, NamesTheExpandedPathInItsError) {
    TempFolder folder;
    const std::string cwd = std::filesystem::current_path().string();
    std::filesystem::current_path(folder.Path());
    try {
        TZAFileStream stream(u"./sub/../nothing.zip", 0x22);
        ADD_FAILURE() << "opening must fail";
    } catch (const platform::HostError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Datei " + folder.File("nothing.zip") + " kann", 0),
                  0u)
            << e.what();
    }
    std::filesystem::current_path(cwd);
}

TEST(NullStream, DiscardsWritesAndTracksTheirLength) {
    TNullStream stream;
    const std::string data = Pattern(1000);
    stream.WriteBuffer(data.data(), 1000);
    EXPECT_EQ(stream.Size(), 1000);
    EXPECT_EQ(stream.Position(), 1000);
    char buf[4];
    stream.SetPosition(0);
    EXPECT_EQ(stream.Read(buf, 4), 0);
    EXPECT_THROW(stream.ReadBuffer(buf, 4), EZAReadError);
}

TEST(WindowStream, KeepsOnlyTheWindowOfWhatPassesThrough) {
    const std::string data = Pattern(1000);
    struct Case {
        int64_t start;
        int32_t count;
        std::vector<size_t> pieces;  // lengths of the writes, in order
    };
    const Case cases[] = {
        {0, 10, {1000}},           {100, 16, {1000}},      {100, 16, {50, 50, 16, 884}},
        {100, 16, {99, 2, 899}},   {990, 10, {995, 5}},    {0, 1000, {1, 998, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.start) + "+" + std::to_string(c.count));
        TZAWindowStream window(c.start, c.count);
        size_t at = 0;
        for (const size_t n : c.pieces) {
            EXPECT_EQ(window.Write(data.data() + at, static_cast<int64_t>(n)), static_cast<int64_t>(n));
            at += n;
        }
        EXPECT_EQ(window.Size(), 1000);
        EXPECT_EQ(window.Position(), 1000);
        ASSERT_TRUE(window.Filled());
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(window.Window()), static_cast<size_t>(c.count)),
                  data.substr(static_cast<size_t>(c.start), static_cast<size_t>(c.count)));
    }
    // Output that ends inside the window leaves it unfilled; a write back in front of the
    // window after a rewind (the disk-full retry) changes nothing in it.
    TZAWindowStream short_(995, 10);
    short_.Write(data.data(), 1000);
    EXPECT_FALSE(short_.Filled());
    TZAWindowStream retried(10, 5);
    retried.Write(data.data(), 12);
    retried.SetPosition(0);
    retried.Write(data.data(), 20);
    EXPECT_TRUE(retried.Filled());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(retried.Window()), 5), data.substr(10, 5));
}

TEST(Stream, ExactWriteFailsWhenTheTargetTakesLess) {
    TNullStream stream;
    stream.SetPosition(-1);
    try {
        stream.WriteBuffer("x", 1);
        FAIL() << "a short exact write must fail";
    } catch (const EZAWriteError& e) {
        EXPECT_EQ(e.Message(), u"Stream-Schreibfehler");
    }
}

}  // namespace
