#pragma once
// Byte strings that decide the rules of a text load, for the tests that hold fast code to
// plain code.
#include <random>
#include <string>
#include <vector>

namespace utf8_samples {

using namespace std::string_literals;

// ASCII, the line controls, continuation bytes at the edges of the allowed ranges, and every
// kind of lead byte including the ones never allowed.
inline const std::string kInteresting =
    "a<\r\n\0\x7F\x80\x8F\x90\x9F\xA0\xBF\xC0\xC1\xC2\xDF\xE0\xE1\xEC\xED\xEE\xEF\xF0\xF1\xF3\xF4\xF5\xFE\xFF"s;

inline std::string RandomInteresting(std::mt19937& rng, size_t length) {
    std::string s;
    for (size_t i = 0; i < length; ++i) s += kInteresting[rng() % kInteresting.size()];
    return s;
}

// Text of words, breaks and multi-byte characters; with `damage`, one byte replaced by an
// interesting one.
inline std::string TextWithDefect(std::mt19937& rng, bool damage) {
    static const std::string pieces[] = {"Wald ", "M\xC3\xBChle", "\r\n", "\n", "\r", "\xE2\x82\xAC", "\xF0\x9F\x98\x80",
                                         "<groundspeak:date>", "\xEF\xBB\xBF"};
    std::string s;
    const size_t parts = rng() % 40;
    for (size_t i = 0; i < parts; ++i) s += pieces[rng() % std::size(pieces)];
    if (!s.empty() && damage) s[rng() % s.size()] = kInteresting[rng() % kInteresting.size()];
    return s;
}

// Sequences of two to four bytes from lead bytes and continuation edges.
inline std::vector<std::string> EdgeSequences() {
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
    return sequences;
}

}  // namespace utf8_samples
