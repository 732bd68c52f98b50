#pragma once
// System facts for the information window: the executable's version numbers, the memory
// status, and the text of an operating-system failure.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>

// The extended memory-status record. Sizes are byte counts; the page-file figures hold the
// swap space of this host.
struct TMemoryStatusEx {
    uint32_t dwLength;
    uint32_t dwMemoryLoad;
    uint64_t ullTotalPhys;
    uint64_t ullAvailPhys;
    uint64_t ullTotalPageFile;
    uint64_t ullAvailPageFile;
    uint64_t ullTotalVirtual;
    uint64_t ullAvailVirtual;
    uint64_t ullAvailExtendedVirtual;
};
static_assert(sizeof(TMemoryStatusEx) == 64);
static_assert(offsetof(TMemoryStatusEx, ullAvailExtendedVirtual) == 56);

// The length the record must state at least: every field up to the available virtual memory.
constexpr uint32_t kMemoryStatusMinLength = 56;

// Fills `status` with the current memory figures. The caller sets dwLength first; fields
// beyond the stated length are not touched. False, with errno set, when the length is below
// kMemoryStatusMinLength (EINVAL, nothing written) or the system gives no figures.
bool QueryMemoryStatus(TMemoryStatusEx& status);

// The four version numbers from the version block of the file `fileName`. False, with the
// numbers untouched, when the file carries no version block. True when it has one, also if
// that block holds no readable version record (the numbers are then untouched too).
bool GetFileVersionNumbers(const QString& fileName, uint16_t& major, uint16_t& minor,
                           uint16_t& release, uint16_t& build);

// The message of a failed operating-system call with the error code `code`:
// "Systemfehler.  Code: <code>.\r\n<system text>", or a general text when the code is 0.
std::string OSErrorText(int code);

// Throws std::runtime_error with OSErrorText(errno).
[[noreturn]] void RaiseLastOSError();
