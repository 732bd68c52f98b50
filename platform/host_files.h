#pragma once
// File operations of the host that the archiver needs: opening with the archiver's 16-bit
// file mode word, existence, removable media and free space.
#include <cstdint>
#include <string>

namespace platform {

// The file mode word: 0xFF00 creates the file (an existing one is emptied) for reading and
// writing; otherwise the low 2 bits give the access (0 read, 1 write, 2 read and write).
// The sharing bits (4 to 6) have no POSIX counterpart and are ignored.
constexpr uint16_t kFileModeCreate = 0xFF00;

// Opens `path` with the mode word and returns the descriptor. Failures throw HostError with
// "Datei %s kann nicht geöffnet werden. %s" (or, for 0xFF00, "Datei \"%s\" kann nicht
// erstellt werden. %s") with the expanded path.
int OpenFileWithMode(const std::string& path, uint16_t mode);

// The path made absolute against the current folder ("." and ".." are folded, symbolic
// links are not followed).
std::string ExpandFileName(const std::string& path);

// True when `path` names an existing file that is not a folder.
bool FileExists(const std::string& path);

// True when the file can be opened for reading and writing right now.
bool CanOpenForWriting(const std::string& path);

// True when the host reports the block device that holds `path` (or its nearest existing
// folder) as removable media.
bool IsOnRemovableMedia(const std::string& path);

// Free bytes available to the user on the file system of `path` (or its nearest existing
// folder); -1 when unknown.
int64_t FreeSpace(const std::string& path);

}  // namespace platform
