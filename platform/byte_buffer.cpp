#include "byte_buffer.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace platform {

bool TByteBuffer::MapFile(int fd, size_t size) {
    if (size == 0) return false;
    void* pages = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    if (pages == MAP_FAILED) return false;
    Clear();
    data_ = static_cast<char*>(pages);
    size_ = size;
    capacity_ = size;
    mapped_ = true;
    return true;
}

void TByteBuffer::Reserve(size_t capacity) {
    if (capacity <= capacity_) return;
    if (mapped_) {
        char* fresh = static_cast<char*>(std::malloc(capacity));
        if (fresh == nullptr) throw std::bad_alloc();
        std::memcpy(fresh, data_, size_);
        ::munmap(data_, capacity_);
        data_ = fresh;
        mapped_ = false;
    } else {
        char* grown = static_cast<char*>(std::realloc(data_, capacity));
        if (grown == nullptr) throw std::bad_alloc();
        data_ = grown;
    }
    capacity_ = capacity;
}

void TByteBuffer::Resize(size_t size) {
    Reserve(size);
    size_ = size;
}

void TByteBuffer::Append(std::string_view bytes) {
    if (size_ + bytes.size() > capacity_) Reserve(std::max(size_ + bytes.size(), capacity_ * 2));
    if (!bytes.empty()) std::memcpy(data_ + size_, bytes.data(), bytes.size());
    size_ += bytes.size();
}

void TByteBuffer::Clear() {
    if (mapped_) ::munmap(data_, capacity_);
    else std::free(data_);
    data_ = nullptr;
    size_ = 0;
    capacity_ = 0;
    mapped_ = false;
}

}  // namespace platform
