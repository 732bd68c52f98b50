// Loads of the line list against a plain statement of the load rules, byte by byte: the same
// lines, read in order and in any order, and every tag placed on its line. Texts range from a
// few bytes to several megabytes, so that lines cross the index's blocks and pieces.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "stats/LineList.h"
#include "stats/Utf8Check.h"
#include "utf8_samples.h"

namespace {

using namespace std::string_literals;

// The lines of `bytes` by the load rules; none when the bytes are not UTF-8.
std::vector<std::string> LinesByTheRules(std::string bytes) {
    if (!CheckUtf8OneByOne(bytes)) return {};
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
    bytes = bytes.substr(0, bytes.find('\0'));
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            lines.push_back(line);
            line.clear();
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            line += bytes[i];
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

void ExpectLoadFollowsTheRules(const std::string& bytes, std::mt19937& rng) {
    const std::vector<std::string> expected = LinesByTheRules(bytes);
    TLineList list;
    list.LoadFromUtf8(bytes);
    ASSERT_EQ(static_cast<size_t>(list.Count()), expected.size()) << testing::PrintToString(bytes.substr(0, 200));
    for (size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(list.Utf8Line(static_cast<qsizetype>(i)), expected[i]) << "line " << i;
    }
    // In any order, and each line's bytes placed back on it.
    std::vector<size_t> order(expected.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::shuffle(order.begin(), order.end(), rng);
    order.resize(std::min<size_t>(order.size(), 300));
    for (size_t i : order) {
        const std::string_view line = list.Utf8Line(static_cast<qsizetype>(i));
        ASSERT_EQ(line, expected[i]) << "line " << i;
        if (!line.empty()) {
            const std::string_view span = list.Utf8Span(0);
            const char* at = span.data() + (line.data() - span.data()) + line.size() / 2;
            ASSERT_EQ(list.LineOf(at, 0), static_cast<qsizetype>(i)) << "line " << i;
        }
    }
    if (!expected.empty()) {
        const std::string_view span = list.Utf8Span(0);
        ASSERT_EQ(span.substr(span.size() - expected.back().size()), expected.back());
    }
}

TEST(LineIndex, ShortTextsFollowTheRules) {
    std::mt19937 rng(7);
    for (int round = 0; round < 20000; ++round) {
        ExpectLoadFollowsTheRules(utf8_samples::RandomInteresting(rng, rng() % 150), rng);
        ExpectLoadFollowsTheRules(utf8_samples::TextWithDefect(rng, round % 4 == 0), rng);
    }
}

TEST(LineIndex, BreaksAndNulAtEveryPositionOfABlockEdge) {
    std::mt19937 rng(8);
    for (size_t at = 4090; at < 4102; ++at) {
        for (const std::string& mark : {"\r"s, "\n"s, "\r\n"s, "\n\r"s, "\0"s, "\r\0"s, "\r\r\n"s}) {
            std::string s(4200, 'x');
            for (size_t i = 50; i < s.size(); i += 97) s[i] = '\n';
            s.insert(at, mark);
            ExpectLoadFollowsTheRules(s, rng);
            ExpectLoadFollowsTheRules(s + "\r", rng);
        }
    }
}

// A text of `size` bytes of lines of every length from empty to two blocks, with every kind
// of break, umlauts and multi-byte characters.
std::string BigText(size_t size, std::mt19937& rng) {
    static const std::string breaks[] = {"\r\n", "\n", "\r", "\n\r"};
    static const std::string words[] = {"<groundspeak:date>", "M\xC3\xBChle ", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "x"};
    std::string s;
    s.reserve(size + 9000);
    while (s.size() < size) {
        const size_t length = rng() % 8 == 0 ? rng() % 9000 : rng() % 80;
        for (size_t n = 0; n < length;) {
            const std::string& w = words[rng() % std::size(words)];
            s += w;
            n += w.size();
        }
        s += breaks[rng() % std::size(breaks)];
    }
    return s;
}

TEST(LineIndex, BigTextsFollowTheRules) {
    std::mt19937 rng(9);
    const std::string text = BigText(size_t{9} << 20, rng);
    struct Case {
        const char* name;
        size_t damageAt;  // npos: none
        char damage;
    };
    const Case cases[] = {
        {"Sound", std::string::npos, 0},
        {"NulInTheFront", text.size() / 5, '\0'},
        {"NulInTheBack", text.size() * 4 / 5, '\0'},
        {"BadByteInTheFront", text.size() / 3, '\xFF'},
        {"BadByteInTheBack", text.size() * 2 / 3, '\xFF'},
        {"BadByteBehindANul", text.size() - 10, '\xC0'},
        {"CutOffSequenceAtTheEnd", text.size(), '\xE2'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = text;
        if (c.damageAt == text.size()) bytes += c.damage;
        else if (c.damageAt != std::string::npos) bytes[c.damageAt] = c.damage;
        if (std::string(c.name) == "BadByteBehindANul") bytes[text.size() / 2] = '\0';
        ExpectLoadFollowsTheRules(bytes, rng);
    }
}

}  // namespace
