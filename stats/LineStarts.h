#pragma once
// Compact tables of a line list: line positions in 4 bytes each, one bit per line.
#include <cstddef>
#include <cstdint>
#include <vector>

// An ascending sequence of byte positions. The low 32 bits are stored per entry; the high
// part is recovered from the (few) indices at which it grows, so a table of millions of lines
// costs 4 bytes per line also for texts above 4 GiB.
class TLineStarts {
public:
    void Reserve(size_t count) { low_.reserve(count); }
    void Clear();
    size_t Size() const { return low_.size(); }
    bool Empty() const { return low_.empty(); }
    // `position` must not be below the last entry.
    void Push(uint64_t position);
    uint64_t operator[](size_t index) const;
    uint64_t Back() const { return (*this)[low_.size() - 1]; }
    // The last index whose position is at most `position`, searching from `from` on
    // (whose position must be at most `position`).
    size_t LastAtOrBelow(uint64_t position, size_t from) const;

private:
    std::vector<uint32_t> low_;
    std::vector<size_t> highGrowsAt_;  // entry k: first index whose high part exceeds k
};

class TLineBits {
public:
    void Reserve(size_t count) { words_.reserve((count + 63) / 64); }
    void Clear() { words_.clear(); size_ = 0; }
    void Push(bool bit);
    void Set(size_t index, bool bit);
    bool operator[](size_t index) const { return (words_[index / 64] >> (index % 64)) & 1U; }
    size_t Size() const { return size_; }

private:
    std::vector<uint64_t> words_;
    size_t size_ = 0;
};
