#include "ZAStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/host_error.h"
#include "platform/host_files.h"

// ---- TZAStream -------------------------------------------------------------------------

int64_t TZAStream::Seek(int64_t Offset, TZASeekOrigin Origin) {
    switch (Origin) {
        case soBeginning: FPosition = Offset; break;
        case soCurrent: FPosition += Offset; break;
        case soEnd: FPosition = Size() + Offset; break;
    }
    return FPosition;
}

void TZAStream::ReadBuffer(void* Buffer, int64_t Count) {
    if (Count < 0 || (Count > 0 && Read(Buffer, Count) != Count)) throw EZAReadError();
}

void TZAStream::WriteBuffer(const void* Buffer, int64_t Count) {
    if (Count < 0 || (Count > 0 && Write(Buffer, Count) != Count)) throw EZAWriteError();
}

int64_t TZAStream::CopyFrom(TZAStream& Source, int64_t Count) {
    if (Count == 0) {
        Source.SetPosition(0);
        Count = Source.Size();
    }
    std::vector<uint8_t> chunk(static_cast<size_t>(std::min<int64_t>(Count, 1 << 16)));
    int64_t left = Count;
    while (left > 0) {
        const int64_t n = std::min<int64_t>(left, static_cast<int64_t>(chunk.size()));
        Source.ReadBuffer(chunk.data(), n);
        WriteBuffer(chunk.data(), n);
        left -= n;
    }
    return Count;
}

// ---- TZAMemoryStream -------------------------------------------------------------------

int64_t TZAMemoryStream::Read(void* Buffer, int64_t Count) {
    const int64_t size = Size();
    if (Count <= 0 || FPosition < 0 || FPosition >= size) return 0;
    const int64_t n = std::min(Count, size - FPosition);
    std::memcpy(Buffer, FData.Data() + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

int64_t TZAMemoryStream::Write(const void* Buffer, int64_t Count) {
    if (Count <= 0 || FPosition < 0) return 0;
    const int64_t end = FPosition + Count;
    if (end > Size()) {
        if (FData.Capacity() < static_cast<size_t>(end))
            FData.Reserve(std::max(static_cast<size_t>(end), FData.Capacity() * 2));
        // A write past the end leaves no gap undefined: the bytes between are cleared.
        if (FPosition > Size()) std::memset(FData.Data() + Size(), 0, static_cast<size_t>(FPosition - Size()));
        FData.Resize(static_cast<size_t>(end));
    }
    std::memcpy(FData.Data() + FPosition, Buffer, static_cast<size_t>(Count));
    FPosition = end;
    return Count;
}

void TZAMemoryStream::SetSize(int64_t NewSize) {
    if (NewSize < 0) throw EZAWriteError();
    const int64_t old = Size();
    FData.Resize(static_cast<size_t>(NewSize));
    if (NewSize > old) std::memset(FData.Data() + old, 0, static_cast<size_t>(NewSize - old));
    if (FPosition > NewSize) FPosition = NewSize;
}

void TZAMemoryStream::Clear() {
    FData.Clear();
    FPosition = 0;
}

platform::TByteBuffer TZAMemoryStream::TakeBuffer() {
    platform::TByteBuffer taken = std::move(FData);
    FPosition = 0;
    return taken;
}

// ---- TZAFileStream ---------------------------------------------------------------------

TZAFileStream::TZAFileStream(const ZAString& FileName, uint16_t Mode)
    : FFileName(FileName), FMode(Mode) {
    FHandle = platform::OpenFileWithMode(Utf16ToUtf8(FileName), Mode);
    struct stat st {};
    if (::fstat(FHandle, &st) == 0 && S_ISREG(st.st_mode)) FSize = st.st_size;
    else FSize = ::lseek(FHandle, 0, SEEK_END);
    if (FSize < 0) FSize = 0;
}

TZAFileStream::~TZAFileStream() {
    if (FHandle >= 0) ::close(FHandle);
}

int64_t TZAFileStream::ReadAt(int64_t offset, void* buffer, int64_t count) {
    int64_t done = 0;
    auto* out = static_cast<uint8_t*>(buffer);
    while (done < count) {
        ++FReadCalls;
        const ssize_t n = ::pread(FHandle, out + done, static_cast<size_t>(count - done),
                                  static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

int64_t TZAFileStream::Read(void* Buffer, int64_t Count) {
    if (Count <= 0 || FPosition < 0 || FPosition >= FSize) return 0;
    Count = std::min(Count, FSize - FPosition);
    auto* out = static_cast<uint8_t*>(Buffer);
    int64_t done = 0;
    while (done < Count) {
        const int64_t pos = FPosition + done;
        if (pos >= FBufferStart && pos < FBufferStart + FBufferLength) {
            const int64_t n = std::min(Count - done, FBufferStart + FBufferLength - pos);
            std::memcpy(out + done, FBuffer.data() + (pos - FBufferStart),
                        static_cast<size_t>(n));
            done += n;
            continue;
        }
        const int64_t left = Count - done;
        if (left >= kBufferSize) {  // a large read goes straight to the caller's memory
            const int64_t n = ReadAt(pos, out + done, left);
            done += n;
            break;
        }
        if (FBuffer.empty()) FBuffer.resize(static_cast<size_t>(kBufferSize));
        FBufferStart = pos;
        FBufferLength = ReadAt(pos, FBuffer.data(), kBufferSize);
        if (FBufferLength == 0) break;
    }
    FPosition += done;
    return done;
}

namespace {

// Calls WriteSome(bytes, count, done) until Count bytes are written, going on after partial
// and interrupted writes; the bytes written.
template <typename TWriteSome>
int64_t WriteAllWith(const void* Buffer, int64_t Count, TWriteSome WriteSome) {
    const auto* in = static_cast<const uint8_t*>(Buffer);
    int64_t done = 0;
    while (done < Count) {
        const ssize_t n = WriteSome(in + done, static_cast<size_t>(Count - done), done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

}  // namespace

int64_t ZAWriteAt(int Fd, int64_t Offset, const void* Buffer, int64_t Count) {
    return WriteAllWith(Buffer, Count, [&](const uint8_t* bytes, size_t n, int64_t done) {
        return ::pwrite(Fd, bytes, n, static_cast<off_t>(Offset + done));
    });
}

int64_t ZAWriteAll(int Fd, const void* Buffer, int64_t Count) {
    return WriteAllWith(Buffer, Count, [&](const uint8_t* bytes, size_t n, int64_t) { return ::write(Fd, bytes, n); });
}

int64_t TZAFileStream::Write(const void* Buffer, int64_t Count) {
    if (Count <= 0 || FPosition < 0) return 0;
    FBufferLength = 0;  // the buffered bytes may be stale now
    const int64_t done = ZAWriteAt(FHandle, FPosition, Buffer, Count);
    FPosition += done;
    FSize = std::max(FSize, FPosition);
    return done;
}

void TZAFileStream::SetSize(int64_t NewSize) {
    if (NewSize < 0 || ::ftruncate(FHandle, static_cast<off_t>(NewSize)) != 0)
        throw EZAWriteError();
    FBufferLength = 0;
    FSize = NewSize;
    if (FPosition > NewSize) FPosition = NewSize;
}

void TZAFileStream::FlushToDevice() { ::fsync(FHandle); }

// ---- TNullStream -----------------------------------------------------------------------

int64_t TNullStream::Read(void*, int64_t) { return 0; }

int64_t TNullStream::Write(const void*, int64_t Count) {
    if (Count <= 0 || FPosition < 0) return 0;
    FPosition += Count;
    FSize = std::max(FSize, FPosition);
    return Count;
}

void TNullStream::SetSize(int64_t NewSize) {
    FSize = std::max<int64_t>(NewSize, 0);
    if (FPosition > FSize) FPosition = FSize;
}
