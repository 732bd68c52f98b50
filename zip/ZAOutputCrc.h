#pragma once
// The running CRC-32 of an entry's output. Once an entry has produced a few MiB, large pieces
// are checksummed on a helper thread while the extraction writes them and inflates the next
// piece into another buffer; the value handed back is always that of the pieces kept, in
// their order, exactly as if each had been added on the caller's thread.
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

class TZAOutputCrc {
public:
    // Pieces of at least this size go to the helper thread...
    static constexpr int64_t ThreadedPieceSize = 128 * 1024;
    // ...once the entry has produced this much: a small entry never starts the thread.
    static constexpr int64_t ThreadAfter = 4 * 1024 * 1024;

    TZAOutputCrc() = default;
    ~TZAOutputCrc();  // waits for the piece in work and ends the helper thread
    TZAOutputCrc(const TZAOutputCrc&) = delete;
    TZAOutputCrc& operator=(const TZAOutputCrc&) = delete;

    // Adds Length bytes at Data behind the pieces added before. The bytes must stay unchanged
    // until the next call of Add, DropLast or Value (or the end of this object).
    void Add(const uint8_t* Data, int64_t Length);
    // Takes the piece added last back out, as if it had never been added.
    void DropLast();
    // The CRC-32 (zlib's value, register inverted) of the pieces kept.
    uint32_t Value();
    // Until the piece handed over is checksummed: its buffer may then be reused or released.
    // A piece the helper thread has not begun yet (it may be waiting for a core) is taken
    // back and checksummed here.
    void WaitForPiece();

private:
    enum class TPieceState { None, Given, InWork };

    void HelperLoop();

    uint32_t FValue = 0;       // the pieces added, once no piece is given or in work
    uint32_t FBeforeLast = 0;  // the value before the piece added last
    int64_t FAdded = 0;        // bytes added so far

    std::mutex FMutex;
    std::condition_variable FPieceGiven;
    std::condition_variable FPieceDone;
    const uint8_t* FPieceData = nullptr;
    int64_t FPieceLength = 0;
    TPieceState FPieceState = TPieceState::None;
    bool FQuit = false;
    std::thread FHelper;
};
