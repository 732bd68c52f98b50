#include "byte_buffer.h"

#include <algorithm>
#include <cstring>

namespace platform {

void TByteBuffer::Reserve(size_t capacity) {
    if (capacity <= capacity_) return;
    auto fresh = std::make_unique_for_overwrite<char[]>(capacity);
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
