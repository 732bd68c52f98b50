#include "stats/LineStarts.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Positions on both sides of the 4 GiB boundaries come back whole, and the search for the
// line holding a position finds it across them.
TEST(LineStarts, PositionsBeyondFourGiB) {
    constexpr uint64_t kGiB = uint64_t{1} << 30;
    const std::vector<uint64_t> positions = {0,           10,          4 * kGiB - 1, 4 * kGiB,     4 * kGiB + 7,
                                             4 * kGiB + 7, 9 * kGiB,    12 * kGiB,    12 * kGiB + 1, 13 * kGiB};
    TLineStarts starts;
    for (uint64_t p : positions) starts.Push(p);
    ASSERT_EQ(starts.Size(), positions.size());
    for (size_t i = 0; i < positions.size(); ++i) EXPECT_EQ(starts[i], positions[i]) << i;
    EXPECT_EQ(starts.Back(), 13 * kGiB);

    struct Case {
        uint64_t position;
        size_t from;
        size_t line;
    };
    for (const Case& c : {Case{0, 0, 0}, Case{9, 0, 0}, Case{4 * kGiB - 1, 0, 2}, Case{4 * kGiB, 1, 3},
                          Case{4 * kGiB + 7, 0, 5}, Case{8 * kGiB, 3, 5}, Case{9 * kGiB, 0, 6},
                          Case{12 * kGiB + 5, 6, 8}, Case{20 * kGiB, 0, 9}}) {
        EXPECT_EQ(starts.LastAtOrBelow(c.position, c.from), c.line) << c.position;
    }
}

TEST(LineBits, SetAndReadAcrossWords) {
    TLineBits bits;
    for (size_t i = 0; i < 200; ++i) bits.Push(i % 3 == 0);
    bits.Set(64, true);
    bits.Set(63, false);
    for (size_t i = 0; i < 200; ++i) {
        const bool expected = i == 64 || (i != 63 && i % 3 == 0);
        EXPECT_EQ(bits[i], expected) << i;
    }
}

}  // namespace
