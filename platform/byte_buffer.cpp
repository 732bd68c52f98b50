#include "byte_buffer.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace platform {

namespace {

// From this capacity on, a buffer lives in pages of its own, mapped from the system and
// marked for huge pages. A fault on a 4 KiB page costs several microseconds on virtual
// machines, so filling hundreds of megabytes a small page at a time cost more than the
// filling itself; with 2 MiB pages there are 512 times fewer faults.
constexpr size_t kOwnPagesFrom = size_t{4} << 20;

char* MapPages(size_t size) {
    void* pages = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pages == MAP_FAILED) throw std::bad_alloc();
    // Only a hint: without huge pages the buffer works the same.
    ::madvise(pages, size, MADV_HUGEPAGE);
    return static_cast<char*>(pages);
}

}  // namespace

bool TByteBuffer::MapFile(int fd, size_t size) {
    if (size == 0) return false;
    // Read-only: the process shares the page cache's pages and never copies them. The first
    // change of the content moves it into memory of its own (Own).
    void* pages = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    if (pages == MAP_FAILED) return false;
    Clear();
    data_ = static_cast<char*>(pages);
    size_ = size;
    capacity_ = size;
    storage_ = Storage::FileMapping;
    return true;
}

char* TByteBuffer::Data() {
    if (storage_ == Storage::FileMapping) Own(capacity_);
    return data_;
}

void TByteBuffer::Own(size_t capacity) {
    TByteBuffer owned;
    owned.Reserve(std::max(capacity, size_));
    if (size_ > 0) std::memcpy(owned.data_, data_, size_);
    owned.size_ = size_;
    *this = std::move(owned);
}

void TByteBuffer::Reserve(size_t capacity) {
    if (storage_ == Storage::FileMapping) {
        Own(std::max(capacity, capacity_));
        return;
    }
    if (capacity <= capacity_) return;
    if (storage_ == Storage::Pages) {
        void* grown = ::mremap(data_, capacity_, capacity, MREMAP_MAYMOVE);
        if (grown == MAP_FAILED) throw std::bad_alloc();
        data_ = static_cast<char*>(grown);
    } else if (capacity >= kOwnPagesFrom) {
        char* pages = MapPages(capacity);
        if (size_ > 0) std::memcpy(pages, data_, size_);
        std::free(data_);
        data_ = pages;
        storage_ = Storage::Pages;
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
    char* data = Data();  // a file mapping becomes memory of the buffer's own here
    if (!bytes.empty()) std::memcpy(data + size_, bytes.data(), bytes.size());
    size_ += bytes.size();
}

void TByteBuffer::Clear() {
    if (storage_ == Storage::Heap) std::free(data_);
    else ::munmap(data_, capacity_);
    data_ = nullptr;
    size_ = 0;
    capacity_ = 0;
    storage_ = Storage::Heap;
}

}  // namespace platform
