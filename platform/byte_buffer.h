#pragma once
// A growable byte buffer whose memory is not initialised before use, so big files are read
// straight into it without clearing it first. A small buffer lives on the heap; a big one in
// pages of its own, marked for huge pages, which it grows by remapping: growing a buffer of
// hundreds of megabytes neither copies it nor holds the old and the new block at once.
//
// A buffer may also hold a read-only mapping of a file's pages (MapFile): no copy is made of
// the file at all. The first change (or the first request for writable data) moves the
// content into memory of the buffer's own; the file is never written.
#include <cstddef>
#include <string_view>
#include <utility>

namespace platform {

class TByteBuffer {
public:
    TByteBuffer() = default;
    explicit TByteBuffer(size_t size) { Resize(size); }
    ~TByteBuffer() { Clear(); }
    TByteBuffer(const TByteBuffer&) = delete;
    TByteBuffer& operator=(const TByteBuffer&) = delete;
    // A moved-from buffer is empty.
    TByteBuffer(TByteBuffer&& other) noexcept { *this = std::move(other); }
    TByteBuffer& operator=(TByteBuffer&& other) noexcept {
        if (this != &other) {
            Clear();
            data_ = std::exchange(other.data_, nullptr);
            size_ = std::exchange(other.size_, 0);
            capacity_ = std::exchange(other.capacity_, 0);
            storage_ = std::exchange(other.storage_, Storage::Heap);
        }
        return *this;
    }

    // The first `size` bytes of the open file `fd`, mapped read-only with all pages present;
    // false (and this buffer unchanged) when the system cannot map it.
    bool MapFile(int fd, size_t size);

    // Writable data: a file mapping is first copied into memory of the buffer's own.
    char* Data();
    const char* Data() const { return data_; }
    size_t Size() const { return size_; }
    std::string_view View() const { return {data_, size_}; }

    // New bytes are left uninitialised; the content up to the smaller size is kept.
    void Resize(size_t size);
    void Append(std::string_view bytes);
    void Clear();
    // Makes room for `capacity` bytes without changing the size.
    void Reserve(size_t capacity);
    size_t Capacity() const { return capacity_; }

private:
    enum class Storage { Heap, Pages, FileMapping };
    // Moves the content into memory of the buffer's own with room for `capacity` bytes.
    void Own(size_t capacity);

    char* data_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
    Storage storage_ = Storage::Heap;
};

}  // namespace platform
