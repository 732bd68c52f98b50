#pragma once
// A growable byte buffer whose memory is not initialised before use, so big files are read
// straight into it without clearing it first. It grows with realloc: the C library moves a
// big block by remapping its pages, so growing a buffer of hundreds of megabytes neither
// copies it nor holds the old and the new block at once. (Huge pages were tried: clearing
// them on first touch made loads slower on the machines we measured.)
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <utility>

namespace platform {

class TByteBuffer {
public:
    TByteBuffer() = default;
    explicit TByteBuffer(size_t size) { Resize(size); }
    // A moved-from buffer is empty.
    TByteBuffer(TByteBuffer&& other) noexcept { *this = std::move(other); }
    TByteBuffer& operator=(TByteBuffer&& other) noexcept {
        data_ = std::move(other.data_);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
        return *this;
    }

    char* Data() { return data_.get(); }
    const char* Data() const { return data_.get(); }
    size_t Size() const { return size_; }
    std::string_view View() const { return {data_.get(), size_}; }

    // New bytes are left uninitialised; the content up to the smaller size is kept.
    void Resize(size_t size);
    void Append(std::string_view bytes);
    void Clear();
    // Makes room for `capacity` bytes without changing the size.
    void Reserve(size_t capacity);
    size_t Capacity() const { return capacity_; }

private:
    struct Free {
        void operator()(char* p) const { std::free(p); }
    };
    std::unique_ptr<char, Free> data_;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

}  // namespace platform
