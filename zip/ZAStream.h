#pragma once
// Byte streams of the archiver. Read and Write report the bytes moved; ReadBuffer and
// WriteBuffer move exactly the bytes asked for or fail with "Stream-Lesefehler" /
// "Stream-Schreibfehler". A position may be set anywhere; at a negative position, or at or
// beyond the end for reading, nothing is moved.
#include <cstdint>
#include <string>
#include <vector>

#include "ZAExcept.h"
#include "ZATypes.h"
#include "platform/byte_buffer.h"

enum TZASeekOrigin : uint8_t { soBeginning, soCurrent, soEnd };

// Failures of the stream layer (not archiver errors; they pass through unchanged).
class EZAStreamError : public EZAError {
public:
    using EZAError::EZAError;
};
class EZAReadError : public EZAStreamError {
public:
    EZAReadError() : EZAStreamError(u"Stream-Lesefehler") {}
};
class EZAWriteError : public EZAStreamError {
public:
    EZAWriteError() : EZAStreamError(u"Stream-Schreibfehler") {}
};

class TZAStream {
public:
    virtual ~TZAStream() = default;
    TZAStream() = default;
    TZAStream(const TZAStream&) = delete;
    TZAStream& operator=(const TZAStream&) = delete;

    // Reads up to Count bytes at the position and advances it; returns the bytes read.
    virtual int64_t Read(void* Buffer, int64_t Count) = 0;
    // Writes up to Count bytes at the position and advances it; returns the bytes written.
    virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
    // Moves the position and returns the new one.
    virtual int64_t Seek(int64_t Offset, TZASeekOrigin Origin);
    virtual int64_t Size() const = 0;
    virtual void SetSize(int64_t NewSize) = 0;

    int64_t Position() const { return FPosition; }
    void SetPosition(int64_t Value) { FPosition = Value; }

    void ReadBuffer(void* Buffer, int64_t Count);
    void WriteBuffer(const void* Buffer, int64_t Count);
    // Copies Count bytes from Source's position (all of Source from 0 when Count is 0);
    // fails with "Stream-Lesefehler" when Source delivers fewer. Returns the bytes copied.
    int64_t CopyFrom(TZAStream& Source, int64_t Count);

protected:
    int64_t FPosition = 0;
};

// A stream in memory.
class TZAMemoryStream : public TZAStream {
public:
    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Size() const override { return static_cast<int64_t>(FData.Size()); }
    void SetSize(int64_t NewSize) override;

    const uint8_t* Memory() const { return reinterpret_cast<const uint8_t*>(FData.Data()); }
    uint8_t* Memory() { return reinterpret_cast<uint8_t*>(FData.Data()); }
    // Hands the content over (the stream is empty afterwards).
    platform::TByteBuffer TakeBuffer();
    void Clear();

private:
    // Grows without clearing: written bytes are copied in, and only SetSize clears new room.
    platform::TByteBuffer FData;
};

// Writes Count bytes to the open file Fd at Offset, going on after partial and interrupted
// writes; returns the bytes written (fewer when the device takes no more).
int64_t ZAWriteAt(int Fd, int64_t Offset, const void* Buffer, int64_t Count);
// The same at Fd's own position, for files that have none to seek to (pipes, terminals).
int64_t ZAWriteAll(int Fd, const void* Buffer, int64_t Count);

// A file on disk, opened with the archiver's file mode word (0xFF00 creates). Reads are
// served from a buffer so that many small reads in a row cost one system call per buffer.
class TZAFileStream : public TZAStream {
public:
    static constexpr int64_t kBufferSize = 64 * 1024;

    // Throws platform::HostError ("Datei %s kann nicht geöffnet werden. %s", or for 0xFF00
    // "Datei \"%s\" kann nicht erstellt werden. %s") when the file cannot be opened.
    TZAFileStream(const ZAString& FileName, uint16_t Mode);
    ~TZAFileStream() override;

    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Size() const override { return FSize; }
    void SetSize(int64_t NewSize) override;

    const ZAString& FileName() const { return FFileName; }
    uint16_t Mode() const { return FMode; }
    // Writes the file's data through to its device.
    void FlushToDevice();
    // System calls that read file data so far (buffer fills and direct reads).
    uint64_t ReadCalls() const { return FReadCalls; }

private:
    int64_t ReadAt(int64_t offset, void* buffer, int64_t count);

    ZAString FFileName;
    uint16_t FMode;
    int FHandle = -1;
    int64_t FSize = 0;
    std::vector<uint8_t> FBuffer;
    int64_t FBufferStart = 0;
    int64_t FBufferLength = 0;
    uint64_t FReadCalls = 0;
};

// Discards what is written; reads deliver nothing. Position and Size follow the writes.
class TNullStream : public TZAStream {
public:
    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Size() const override { return FSize; }
    void SetSize(int64_t NewSize) override;

private:
    int64_t FSize = 0;
};
