#include "byte_buffer.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace platform {
namespace {

void AdviseHugePages(void* data, size_t bytes) {
    constexpr uintptr_t kHuge = uintptr_t{2} << 20;
    const auto begin = (reinterpret_cast<uintptr_t>(data) + kHuge - 1) & ~(kHuge - 1);
    const auto end = (reinterpret_cast<uintptr_t>(data) + bytes) & ~(kHuge - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

}  // namespace

void TByteBuffer::Reserve(size_t capacity) {
    if (capacity <= capacity_) return;
    auto fresh = std::make_unique_for_overwrite<char[]>(capacity);
    AdviseHugePages(fresh.get(), capacity);
    if (size_ > 0) std::memcpy(fresh.get(), data_.get(), size_);
    data_ = std::move(fresh);
    capacity_ = capacity;
}

void TByteBuffer::Resize(size_t size) {
    Reserve(size);
    size_ = size;
}

void TByteBuffer::Append(std::string_view bytes) {
    if (size_ + bytes.size() > capacity_) Reserve(std::max(size_ + bytes.size(), capacity_ * 2));
    if (!bytes.empty()) std::memcpy(data_.get() + size_, bytes.data(), bytes.size());
    size_ += bytes.size();
}

void TByteBuffer::Clear() {
    data_.reset();
    size_ = 0;
    capacity_ = 0;
}

}  // namespace platform
