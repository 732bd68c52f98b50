#pragma once
// Checked arithmetic for sizes, offsets and counts read from an archive. Whatever an archive
// says, these never wrap: a value that does not fit, or a sum that overflows, comes back as
// "no value" and the caller treats the record as damaged.
#include <cstdint>
#include <limits>
#include <optional>

// A stored unsigned 64-bit size or offset as a signed stream quantity; none beyond INT64_MAX.
constexpr std::optional<int64_t> ZAToInt64(uint64_t Value) {
    if (Value > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) return std::nullopt;
    return static_cast<int64_t>(Value);
}

// A + B, none when the sum does not fit.
constexpr std::optional<int64_t> ZACheckedAdd(int64_t A, int64_t B) {
    int64_t sum = 0;
    if (__builtin_add_overflow(A, B, &sum)) return std::nullopt;
    return sum;
}

constexpr std::optional<uint64_t> ZACheckedAdd(uint64_t A, uint64_t B) {
    uint64_t sum = 0;
    if (__builtin_add_overflow(A, B, &sum)) return std::nullopt;
    return sum;
}

// A - B, none when the difference does not fit.
constexpr std::optional<int64_t> ZACheckedSub(int64_t A, int64_t B) {
    int64_t difference = 0;
    if (__builtin_sub_overflow(A, B, &difference)) return std::nullopt;
    return difference;
}

// A stored 32-bit volume number in the signed range volume numbers use; a number beyond it
// becomes the largest, a volume no set has.
constexpr int32_t ZAVolumeNumberOf(uint32_t Number) {
    return Number > static_cast<uint32_t>(std::numeric_limits<int32_t>::max())
               ? std::numeric_limits<int32_t>::max()
               : static_cast<int32_t>(Number);
}

// The last volume number of a set of Count volumes (Count - 1), in the signed range volume
// numbers use: a count of 0 gives -1 (no volume), a count beyond that range the largest number.
constexpr int32_t ZALastVolumeOf(uint32_t Count) {
    const int64_t last = static_cast<int64_t>(Count) - 1;
    return last > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                      : static_cast<int32_t>(last);
}
