#include "LineStarts.h"

#include <algorithm>

void TLineStarts::Clear() {
    low_.Clear();
    size_ = 0;
    highGrowsAt_.clear();
}

void TLineStarts::Grow(uint64_t position) {
    while (highGrowsAt_.size() < (position >> 32)) highGrowsAt_.push_back(size_);
    // The buffer's whole size is room for entries; size_ counts those in use.
    if ((size_ + 1) * sizeof(uint32_t) > low_.Size()) low_.Resize(std::max<size_t>(low_.Size() * 2, 16384));
}

uint64_t TLineStarts::operator[](size_t index) const {
    uint64_t high = 0;
    if (!highGrowsAt_.empty()) {
        high = static_cast<uint64_t>(std::upper_bound(highGrowsAt_.begin(), highGrowsAt_.end(), index) -
                                     highGrowsAt_.begin());
    }
    return (high << 32) | Low(index);
}

size_t TLineStarts::LastAtOrBelow(uint64_t position, size_t from) const {
    // Galloping: the next hit is usually a few lines further on.
    size_t lo = from;
    size_t step = 1;
    size_t hi = from + step;
    while (hi < size_ && (*this)[hi] <= position) {
        lo = hi;
        step *= 2;
        hi = lo + step;
    }
    hi = std::min(hi, size_);
    // Invariant: entry lo is at most `position`, entry hi (if any) above it.
    while (hi - lo > 1) {
        const size_t mid = lo + (hi - lo) / 2;
        if ((*this)[mid] <= position) lo = mid;
        else hi = mid;
    }
    return lo;
}

void TLineBits::Push(bool bit) {
    if (size_ % 64 == 0) words_.push_back(0);
    ++size_;
    Set(size_ - 1, bit);
}

void TLineBits::Set(size_t index, bool bit) {
    const uint64_t mask = uint64_t{1} << (index % 64);
    if (bit) words_[index / 64] |= mask;
    else words_[index / 64] &= ~mask;
}
