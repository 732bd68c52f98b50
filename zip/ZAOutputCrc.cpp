#include "ZAOutputCrc.h"

#include <zlib.h>

#include <system_error>

namespace {

// zlib's crc32_z over Length bytes (none when Length is 0 or less).
uint32_t UpdateCrc(uint32_t Crc, const uint8_t* Data, int64_t Length) {
    if (Length <= 0) return Crc;
    return static_cast<uint32_t>(crc32_z(Crc, Data, static_cast<z_size_t>(Length)));
}

}  // namespace

TZAOutputCrc::~TZAOutputCrc() {
    if (!FHelper.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FQuit = true;
    }
    FPieceGiven.notify_one();
    FHelper.join();
}

void TZAOutputCrc::Add(const uint8_t* Data, int64_t Length) {
    WaitForPiece();
    FBeforeLast = FValue;
    const bool threaded = Length >= ThreadedPieceSize && FAdded >= ThreadAfter;
    FAdded += Length;
    if (threaded && !FHelper.joinable()) {
        try {
            FHelper = std::thread(&TZAOutputCrc::HelperLoop, this);
        } catch (const std::system_error&) {
            // No thread to be had: the pieces are checksummed here, as small ones are.
        }
    }
    if (!threaded || !FHelper.joinable()) {
        FValue = UpdateCrc(FValue, Data, Length);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FPieceData = Data;
        FPieceLength = Length;
        FPieceState = TPieceState::Given;
    }
    FPieceGiven.notify_one();
}

void TZAOutputCrc::DropLast() {
    WaitForPiece();
    FValue = FBeforeLast;
}

uint32_t TZAOutputCrc::Value() {
    WaitForPiece();
    return FValue;
}

void TZAOutputCrc::WaitForPiece() {
    if (!FHelper.joinable()) return;
    std::unique_lock<std::mutex> lock(FMutex);
    if (FPieceState == TPieceState::Given) {
        FPieceState = TPieceState::None;
        lock.unlock();
        FValue = UpdateCrc(FValue, FPieceData, FPieceLength);
        return;
    }
    FPieceDone.wait(lock, [this] { return FPieceState == TPieceState::None; });
}

void TZAOutputCrc::HelperLoop() {
    std::unique_lock<std::mutex> lock(FMutex);
    for (;;) {
        FPieceGiven.wait(lock, [this] { return FPieceState == TPieceState::Given || FQuit; });
        if (FPieceState != TPieceState::Given) return;  // told to quit with nothing given
        FPieceState = TPieceState::InWork;
        const uint8_t* data = FPieceData;
        const int64_t length = FPieceLength;
        const uint32_t base = FValue;
        lock.unlock();
        const uint32_t value = UpdateCrc(base, data, length);
        lock.lock();
        FValue = value;
        FPieceState = TPieceState::None;
        FPieceDone.notify_one();
    }
}
