// The fast passes of a text load against the one-byte-at-a-time passes, over random and
// adversarial byte strings: same verdict, same lines. Every UTF-8 validator that simdjson
// offers on this processor is held to the strict rules, not only the one it picks.
#include "stats/Utf8Lines.h"

#include <gtest/gtest.h>
#include <simdjson.h>

#include <random>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

std::vector<TVectorUnit> VectorUnits() {
    std::vector<TVectorUnit> units;
    for (TVectorUnit u : {TVectorUnit::Sse2, TVectorUnit::Avx2}) {
        if (u <= BestVectorUnit()) units.push_back(u);
    }
    return units;
}

struct Lines {
    std::vector<uint64_t> starts;
    std::vector<bool> crLf;
    bool operator==(const Lines&) const = default;
};

Lines Of(const TCutLines& cut) {
    Lines lines;
    for (size_t i = 0; i < cut.starts.Size(); ++i) lines.starts.push_back(cut.starts[i]);
    for (size_t i = 0; i < cut.crLfBreaks.Size(); ++i) lines.crLf.push_back(cut.crLfBreaks[i]);
    return lines;
}

Lines Cut(const std::string& bytes, TVectorUnit unit) {
    TCutLines cut;
    CutLines(bytes, 5, cut, unit);
    return Of(cut);
}

// Compares every vector unit with the scalar pass on `bytes`, and the piecewise load in
// pieces of a few bytes (so that pieces end inside sequences and between CR and LF) with the
// two whole passes.
void ExpectSameAsScalar(const std::string& bytes) {
    const bool scalarValid = CheckUtf8OneByOne(bytes);
    const Lines scalarLines = Cut(bytes, TVectorUnit::None);
    ASSERT_EQ(CheckUtf8(bytes), scalarValid) << testing::PrintToString(bytes);
    for (const simdjson::implementation* checker : simdjson::get_available_implementations()) {
        if (!checker->supported_by_runtime_system()) continue;
        ASSERT_EQ(checker->validate_utf8(bytes.data(), bytes.size()), scalarValid)
            << checker->name() << " on " << testing::PrintToString(bytes);
    }
    for (TVectorUnit unit : VectorUnits()) {
        ASSERT_EQ(Cut(bytes, unit), scalarLines) << "unit " << static_cast<int>(unit) << " on "
                                                 << testing::PrintToString(bytes);
    }
    for (size_t piece : {1, 2, 3, 5, 17}) {
        TCutLines cut;
        ASSERT_EQ(CheckAndCutUtf8(bytes, 5, cut, piece), scalarValid) << piece << " " << testing::PrintToString(bytes);
        if (scalarValid) {
            ASSERT_EQ(Of(cut), scalarLines) << piece << " " << testing::PrintToString(bytes);
        }
    }
}

// Bytes that decide the rules: ASCII, the line controls, continuation bytes at the edges of
// the allowed ranges, and every kind of lead byte including the ones never allowed.
const std::string kInteresting =
    "a<\r\n\0\x7F\x80\x8F\x90\x9F\xA0\xBF\xC0\xC1\xC2\xDF\xE0\xE1\xEC\xED\xEE\xEF\xF0\xF1\xF3\xF4\xF5\xFE\xFF"s;

TEST(Utf8Lines, RandomStringsOfInterestingBytes) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < 20000; ++round) {
        const size_t length = rng() % 100;
        std::string s;
        for (size_t i = 0; i < length; ++i) s += kInteresting[rng() % kInteresting.size()];
        ExpectSameAsScalar(s);
    }
}

// Mostly valid text, as a real file is, with one damaged or unusual byte somewhere: the
// vector passes run long stretches before they meet it.
TEST(Utf8Lines, LongValidTextWithOneDefect) {
    const std::string pieces[] = {"Wald ", "M\xC3\xBChle", "\r\n", "\n", "\r", "\xE2\x82\xAC", "\xF0\x9F\x98\x80",
                                  "<groundspeak:date>", "\xEF\xBB\xBF"};
    std::mt19937 rng(4711);
    for (int round = 0; round < 3000; ++round) {
        std::string s;
        const size_t parts = rng() % 40;
        for (size_t i = 0; i < parts; ++i) s += pieces[rng() % std::size(pieces)];
        if (!s.empty() && round % 3 != 0) s[rng() % s.size()] = kInteresting[rng() % kInteresting.size()];
        ExpectSameAsScalar(s);
    }
}

// Every sequence of up to four bytes from lead bytes and continuation edges, placed at every
// offset across a 32-byte block boundary, with ASCII, a break or the start of a sequence
// behind it.
TEST(Utf8Lines, EverySequenceAtEveryBlockOffset) {
    const std::string leads = "\xC1\xC2\xDF\xE0\xE1\xED\xEF\xF0\xF4\xF5"s;
    const std::string follows = "\x7F\x80\x8F\x90\x9F\xA0\xBF\xC0"s;
    std::vector<std::string> sequences;
    for (char lead : leads) {
        for (char b1 : follows) {
            sequences.push_back(std::string{lead, b1});
            for (char b2 : {'\x80', '\xBF', 'x'}) {
                sequences.push_back(std::string{lead, b1, b2});
                sequences.push_back(std::string{lead, b1, b2, '\x80'});
            }
        }
    }
    for (const std::string& seq : sequences) {
        for (size_t offset = 24; offset <= 40; ++offset) {
            for (const std::string& tail : {""s, "z"s, "\n"s, "\r\n"s, "\xC3"s, "\0x"s}) {
                ExpectSameAsScalar(std::string(offset, 'a') + seq + tail);
                ExpectSameAsScalar(std::string(offset - 1, 'a') + "\r" + seq + tail + std::string(40, 'b'));
            }
        }
    }
}

// Breaks and NUL bytes at every position of a block: the lines come out the same.
TEST(Utf8Lines, BreaksAndNulAtEveryPosition) {
    for (size_t at = 0; at < 70; ++at) {
        for (const std::string& mark : {"\r"s, "\n"s, "\r\n"s, "\n\r"s, "\0"s, "\r\0"s}) {
            std::string s(70, 'x');
            s.insert(at, mark);
            ExpectSameAsScalar(s);
            ExpectSameAsScalar(s + "\r");
        }
    }
}

}  // namespace
