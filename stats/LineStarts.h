#pragma once
// Compact tables of a line list: line positions in 4 bytes each, one bit per line.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/byte_buffer.h"

// An ascending sequence of byte positions. The low 32 bits are stored per entry; the high
// part is recovered from the (few) indices at which it grows, so a table of millions of lines
// costs 4 bytes per line also for texts above 4 GiB. The table grows like a byte buffer, by
// remapping rather than copying.
class TLineStarts {
public:
    void Clear();
    size_t Size() const { return size_; }
    bool Empty() const { return size_ == 0; }
    // `position` must not be below the last entry.
    void Push(uint64_t position) {
        if ((position >> 32) != highGrowsAt_.size() || (size_ + 1) * sizeof(uint32_t) > low_.Size()) {
            Grow(position);
        }
        reinterpret_cast<uint32_t*>(low_.Data())[size_++] = static_cast<uint32_t>(position);
    }
    uint64_t operator[](size_t index) const;
    uint64_t Back() const { return (*this)[size_ - 1]; }
    // The last index whose position is at most `position`, searching from `from` on
    // (whose position must be at most `position`).
    size_t LastAtOrBelow(uint64_t position, size_t from) const;

private:
    // Room for one more entry, and the high part of `position` noted.
    void Grow(uint64_t position);
    uint32_t Low(size_t index) const { return reinterpret_cast<const uint32_t*>(low_.Data())[index]; }

    platform::TByteBuffer low_;  // uint32_t entries
    size_t size_ = 0;
    std::vector<size_t> highGrowsAt_;  // entry k: first index whose high part exceeds k
};

class TLineBits {
public:
    void Clear() { words_.clear(); size_ = 0; }
    void Push(bool bit);
    void Set(size_t index, bool bit);
    bool operator[](size_t index) const { return (words_[index / 64] >> (index % 64)) & 1U; }
    size_t Size() const { return size_; }

private:
    std::vector<uint64_t> words_;
    size_t size_ = 0;
};
