// The CRC-32 of an entry's output, which large entries compute on a helper thread while the
// output is written and the next piece inflated.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CrampedStream.h"
#include "NativeErrorOf.h"
#include "OpenInMemory.h"
#include "fixtures/ZipBuilder.h"
#include "zip/ZAOutputCrc.h"
#include "zip/ZipArchiver.h"

namespace {

constexpr int64_t kMiB = 1 << 20;

struct Piece {
    int64_t length;
    bool dropped = false;  // taken back out right after it was added
};

struct CrcCase {
    const char* what;
    std::vector<Piece> pieces;
};

// Each piece is given in one of two buffers that take turns, as the extraction gives them:
// once the next piece has been added, the buffer of the one before is filled anew at once,
// so a piece that is still read after that shows as a wrong value.
TEST(OutputCrc, EqualsTheCrcOfThePiecesKeptInTheirOrder) {
    std::vector<Piece> manyMiB(10, Piece{kMiB});
    std::vector<Piece> mixed = {{3 * kMiB}, {kMiB + 1}, {100}, {kMiB}, {0},
                                {TZAOutputCrc::ThreadedPieceSize}, {TZAOutputCrc::ThreadedPieceSize - 1},
                                {2 * kMiB}, {7}};
    std::vector<Piece> drops = {{5 * kMiB}, {kMiB, true}, {kMiB}, {500, true}, {kMiB},
                                {kMiB, true}, {kMiB, true}, {300}};
    const CrcCase cases[] = {
        {"small pieces only", {{1}, {65535}, {65535}, {18930}}},
        {"ten pieces of 1 MiB", manyMiB},
        {"pieces of mixed sizes", mixed},
        {"pieces taken back out", drops},
        {"first piece taken back out", {{kMiB, true}, {kMiB}}},
        {"a long piece, then short ones", {{4 * kMiB}, {24 * kMiB}, {1}, {1}}},
    };
    const std::string source = zipfix::RandomBytes(static_cast<size_t>(32 * kMiB), 5);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> buffers[2];
        TZAOutputCrc crc;
        std::string kept;
        size_t from = 0;
        int turn = 0;
        for (const Piece& p : c.pieces) {
            std::vector<uint8_t>& buffer = buffers[turn];
            turn ^= 1;
            const auto piece = source.begin() + static_cast<std::ptrdiff_t>(from);
            buffer.assign(piece, piece + static_cast<std::ptrdiff_t>(p.length));
            if (!p.dropped) kept.append(piece, piece + static_cast<std::ptrdiff_t>(p.length));
            from = (from + static_cast<size_t>(p.length)) % (16 * kMiB);
            crc.Add(buffer.data(), p.length);
            std::fill(buffers[turn].begin(), buffers[turn].end(), uint8_t{0xA5});
            if (p.dropped) crc.DropLast();
        }
        EXPECT_EQ(crc.Value(), zipfix::Crc32(kept));
        EXPECT_EQ(crc.Value(), zipfix::Crc32(kept));  // asking again changes nothing
    }
}

// ---- large entries ---------------------------------------------------------------------------

std::string Bytes(const TZAMemoryStream& s) {
    return {reinterpret_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size())};
}

class LargeEntry : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        data = new std::string(zipfix::WaypointText(static_cast<size_t>(12 * kMiB + 4321)));
        zipfix::ZipPlan plan;
        plan.entries = {zipfix::Entry("big", *data, 8)};
        zipfix::ZipLayout layout;
        zip = new std::string(zipfix::BuildZip(plan, &layout));
        crcField = layout.centralHeaders[0] + 16;
    }
    static void TearDownTestSuite() {
        delete data;
        delete zip;
        data = zip = nullptr;
    }
    // The entry "big" holding the data, deflated, with Crc as the directory's CRC-32.
    void OpenWithCrc(uint32_t crc) {
        std::string bytes = *zip;
        zipfix::Poke32(bytes, crcField, crc);
        OpenInMemory(a, archive, bytes);
    }

    static std::string* data;
    static std::string* zip;
    static size_t crcField;
    TZAMemoryStream archive;
    TZipArchiver a;
};

std::string* LargeEntry::data = nullptr;
std::string* LargeEntry::zip = nullptr;
size_t LargeEntry::crcField = 0;

// Only the right CRC-32 of all the output passes, wherever in the entry a wrong one differs.
TEST_F(LargeEntry, TheWholeOutputIsChecked) {
    std::string lastByteChanged = *data;
    lastByteChanged.back() ^= 1;
    std::string middleByteChanged = *data;
    middleByteChanged[middleByteChanged.size() / 2] ^= 1;
    struct Case {
        const char* what;
        uint32_t crc;
        int32_t nativeError;
    };
    const Case cases[] = {
        {"right CRC-32", zipfix::Crc32(*data), 0},
        {"CRC-32 of the first 4 MiB only", zipfix::Crc32(data->substr(0, 4 * kMiB)), 8},
        {"CRC-32 of other data in the middle", zipfix::Crc32(middleByteChanged), 8},
        {"CRC-32 of other data at the end", zipfix::Crc32(lastByteChanged), 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OpenWithCrc(c.crc);
        TZAMemoryStream out;
        EXPECT_EQ(NativeErrorOf([&] { a.ExtractToStream(u"big", out); }), c.nativeError);
        EXPECT_TRUE(Bytes(out) == *data);
        a.CloseArchive();
    }
}

// Output that falls short far into the entry: written again after a handler made room, it
// passes its check; a handler that gives up ends the extraction without an error.
TEST_F(LargeEntry, DiskFullFarIntoTheEntry) {
    OpenWithCrc(zipfix::Crc32(*data));
    CrampedStream out;
    int calls = 0;
    a.OnDiskFull = [&](TZABaseArchiver*, int32_t, const ZAString&, bool&) {
        ++calls;
        out.Room += 3 * kMiB;
    };
    out.Room = 6 * kMiB + 5;
    EXPECT_EQ(NativeErrorOf([&] { a.ExtractToStream(u"big", out); }), 0);
    EXPECT_GE(calls, 2);
    EXPECT_TRUE(Bytes(out) == *data);

    a.OnDiskFull = [](TZABaseArchiver*, int32_t, const ZAString&, bool& cancel) { cancel = true; };
    out.Clear();
    out.SetPosition(0);
    out.Room = 6 * kMiB + 5;
    EXPECT_EQ(NativeErrorOf([&] { a.ExtractToStream(u"big", out); }), 0);
    EXPECT_TRUE(Bytes(out) == data->substr(0, static_cast<size_t>(6 * kMiB + 5)));
}

// A cancel far into the entry: nothing more is written, no error, and the next extraction
// of the entry gives it whole and checked.
TEST_F(LargeEntry, CancelFarIntoTheEntry) {
    OpenWithCrc(zipfix::Crc32(*data));
    TZAMemoryStream out;
    int64_t sizeAtCancel = -1;
    a.OnFileProgress = [&](TZABaseArchiver*, const ZAString&, double p, TZAProcessOperation,
                           TZAProgressPhase phase, bool& cancel) {
        if (phase == ppProcess && p > 60.0 && sizeAtCancel < 0) {
            sizeAtCancel = out.Size();
            cancel = true;
        }
    };
    EXPECT_EQ(NativeErrorOf([&] { a.ExtractToStream(u"big", out); }), 0);
    ASSERT_GT(sizeAtCancel, 6 * kMiB);
    EXPECT_TRUE(Bytes(out) == data->substr(0, static_cast<size_t>(sizeAtCancel)));

    a.OnFileProgress = nullptr;
    TZAMemoryStream again;
    EXPECT_EQ(NativeErrorOf([&] { a.ExtractToStream(u"big", again); }), 0);
    EXPECT_TRUE(Bytes(again) == *data);
}

// Output that inflates much faster than it is checksummed, written nowhere: inflate would
// catch up with the checksum if it refilled the buffer that is still being checksummed.
TEST(LargeEntries, FastOutputIntoADiscardingStreamIsChecked) {
    std::string data;
    for (int i = 0; data.size() < static_cast<size_t>(24 * kMiB); ++i)
        data += std::string(static_cast<size_t>(4000 + i % 97), static_cast<char>('a' + i % 26));
    zipfix::ZipPlan plan;
    plan.entries = {zipfix::Entry("fast", data, 8)};
    TZAMemoryStream archive;
    TZipArchiver a;
    OpenInMemory(a, archive, zipfix::BuildZip(plan));
    for (int round = 0; round < 3; ++round) {
        TNullStream out;
        EXPECT_EQ(NativeErrorOf([&] { a.ExtractToStream(u"fast", out); }), 0);
        EXPECT_EQ(out.Size(), static_cast<int64_t>(data.size()));
    }
}

}  // namespace
