// The fast UTF-8 check against the one-sequence-at-a-time statement of the rules, over random
// and adversarial byte strings. Every validator that simdjson offers on this processor is held
// to the strict rules, not only the one it picks.
#include "stats/Utf8Check.h"

#include <gtest/gtest.h>
#include <simdjson.h>

#include <random>
#include <string>
#include <vector>

#include "utf8_samples.h"

namespace {

using namespace std::string_literals;

void ExpectSameVerdict(const std::string& bytes) {
    const bool valid = CheckUtf8OneByOne(bytes);
    ASSERT_EQ(CheckUtf8(bytes), valid) << testing::PrintToString(bytes);
    for (const simdjson::implementation* checker : simdjson::get_available_implementations()) {
        if (!checker->supported_by_runtime_system()) continue;
        ASSERT_EQ(checker->validate_utf8(bytes.data(), bytes.size()), valid)
            << checker->name() << " on " << testing::PrintToString(bytes);
    }
}

TEST(Utf8Check, TheRulesOneByOne) {
    struct Case {
        std::string bytes;
        bool valid;
    };
    const Case cases[] = {
        {"", true},
        {"plain \0 NUL is a character"s, true},
        {"M\xC3\xBCller \xE2\x82\xAC \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF", true},
        {"\xC0\xAF", false},           // overlong two bytes
        {"\xE0\x9F\xBF", false},       // overlong three bytes
        {"\xF0\x8F\xBF\xBF", false},   // overlong four bytes
        {"\xED\xA0\x80", false},       // surrogate
        {"\xF4\x90\x80\x80", false},   // beyond U+10FFFF
        {"\xF5\x80\x80\x80", false},   // no lead byte
        {"euro \xE2\x82", false},      // cut off at the end
        {"\x80", false},               // continuation alone
        {"\xFF\xFEx", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckUtf8OneByOne(c.bytes), c.valid) << testing::PrintToString(c.bytes);
        ExpectSameVerdict(c.bytes);
    }
}

TEST(Utf8Check, RandomStringsOfInterestingBytes) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < 20000; ++round) ExpectSameVerdict(utf8_samples::RandomInteresting(rng, rng() % 100));
}

// Mostly valid text, as a real file is, with one damaged or unusual byte somewhere: the
// vector code runs long stretches before it meets it.
TEST(Utf8Check, LongValidTextWithOneDefect) {
    std::mt19937 rng(4711);
    for (int round = 0; round < 3000; ++round) ExpectSameVerdict(utf8_samples::TextWithDefect(rng, round % 3 != 0));
}

// Every sequence of up to four bytes from lead bytes and continuation edges, placed at every
// offset across a 64-byte block boundary, with ASCII, a break or the start of a sequence
// behind it.
TEST(Utf8Check, EverySequenceAtEveryBlockOffset) {
    for (const std::string& seq : utf8_samples::EdgeSequences()) {
        for (size_t offset = 56; offset <= 72; ++offset) {
            for (const std::string& tail : {""s, "z"s, "\n"s, "\xC3"s, "\0x"s}) {
                ExpectSameVerdict(std::string(offset, 'a') + seq + tail);
            }
        }
    }
}

// Pieces for checking one by one end where a sequence starts, so every piece of a valid
// text is valid and a damaged text has a damaged piece.
TEST(Utf8Check, PiecesEndAtSequenceStarts) {
    std::mt19937 rng(99);
    for (int round = 0; round < 3000; ++round) {
        const std::string text = utf8_samples::TextWithDefect(rng, round % 2 == 0);
        for (size_t size : {1, 2, 3, 5, 17}) {
            bool allValid = true;
            for (size_t from = 0; from < text.size();) {
                const size_t end = Utf8PieceEnd(text, from, size);
                ASSERT_GT(end, from);
                allValid = allValid && CheckUtf8(std::string_view(text).substr(from, end - from));
                from = end;
            }
            ASSERT_EQ(allValid, CheckUtf8OneByOne(text)) << size << " " << testing::PrintToString(text);
        }
    }
}

}  // namespace
