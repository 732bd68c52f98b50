#include "byte_buffer.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace platform {

void TByteBuffer::Reserve(size_t capacity) {
    if (capacity <= capacity_) return;
    char* grown = static_cast<char*>(std::realloc(data_.get(), capacity));
    if (grown == nullptr) throw std::bad_alloc();
    data_.release();
    data_.reset(grown);
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
