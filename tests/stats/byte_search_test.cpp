// The byte searches of every vector unit against plain loops over the bytes.
#include "stats/ByteSearch.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

std::vector<TVectorUnit> Units() {
    std::vector<TVectorUnit> units;
    for (TVectorUnit u : {TVectorUnit::None, TVectorUnit::Sse2, TVectorUnit::Avx2}) {
        if (u <= BestVectorUnit()) units.push_back(u);
    }
    return units;
}

uint64_t CountedOneByOne(const std::string& s, bool crBefore) {
    uint64_t count = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const bool afterCr = i == 0 ? crBefore : s[i - 1] == '\r';
        if (s[i] == '\r' || (s[i] == '\n' && !afterCr)) ++count;
    }
    return count;
}

// Strings of up to 200 bytes, so that breaks fall on both sides of every block edge and into
// the short block at the end; bytes above 0x7F and NUL are no breaks.
TEST(LineBreaks, EveryUnitAgreesWithAPlainLoop) {
    const std::string alphabet = "\r\n\r\nab\0\xFF\x8D\x8A"s;
    std::mt19937 rng(31337);
    for (int round = 0; round < 20000; ++round) {
        const size_t length = rng() % 200;
        std::string s;
        for (size_t i = 0; i < length; ++i) s += alphabet[rng() % (round % 2 == 0 ? alphabet.size() : 6)];
        const size_t first = s.find_first_of("\r\n");
        const size_t last = s.find_last_of("\r\n");
        for (TVectorUnit unit : Units()) {
            const auto name = static_cast<int>(unit);
            for (bool crBefore : {false, true}) {
                ASSERT_EQ(CountLineEnds(s, crBefore, unit), CountedOneByOne(s, crBefore))
                    << name << crBefore << testing::PrintToString(s);
            }
            ASSERT_EQ(FindLineBreak(s, unit), first == std::string::npos ? s.size() : first)
                << name << testing::PrintToString(s);
            ASSERT_EQ(FindLastLineBreak(s, unit), last) << name << testing::PrintToString(s);
        }
    }
}

// Needles found as std::string_view::find finds them, with every pivot, in texts of few
// letters so that first and pivot bytes often match where the needle does not.
TEST(FindBytes, EveryUnitAndPivotAgreesWithFind) {
    std::mt19937 rng(4242);
    for (int round = 0; round < 5000; ++round) {
        const std::string letters = round % 3 == 0 ? "<>ab" : "<ab";
        std::string text;
        for (size_t i = 0, n = rng() % 300; i < n; ++i) text += letters[rng() % letters.size()];
        std::string needle;
        for (size_t i = 0, n = 1 + rng() % 20; i < n; ++i) needle += letters[rng() % letters.size()];
        if (round % 2 == 0 && text.size() > needle.size()) text.replace(rng() % (text.size() - needle.size()), needle.size(), needle);
        const size_t expected = text.find(needle);
        for (TVectorUnit unit : Units()) {
            for (size_t pivot = 0; pivot < needle.size(); ++pivot) {
                ASSERT_EQ(FindBytes(text, needle, pivot, unit), expected)
                    << static_cast<int>(unit) << " pivot " << pivot << " " << needle << " in " << text;
            }
        }
    }
}

}  // namespace
