#pragma once
// A stream that keeps only a window of what is written to it: the Count bytes from position
// Start on. Writes anywhere succeed in full and move the position as on any stream; bytes
// outside the window are dropped, so memory stays at the window's size however much passes.
#include <cstdint>
#include <vector>

#include "ZAStream.h"

class TZAWindowStream : public TZAStream {
public:
    TZAWindowStream(int64_t Start, int32_t Count);

    // Nothing is read back through the stream: Window() gives the kept bytes.
    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    // The furthest position written, as if every byte had been kept.
    int64_t Size() const override { return FSize; }
    void SetSize(int64_t NewSize) override;

    // Whether every byte of the window has been written.
    bool Filled() const {
        return FWindow.empty() || FSize - FStart >= static_cast<int64_t>(FWindow.size());
    }
    // The window's bytes (zeros where nothing was written).
    const uint8_t* Window() const { return FWindow.data(); }

private:
    int64_t FStart;
    int64_t FSize = 0;
    std::vector<uint8_t> FWindow;
};
