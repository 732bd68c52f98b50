#pragma once
// The one place where extraction writes to disk. Every folder and file is created relative to
// an open target folder, walking one name at a time without following symbolic links, so a
// name stored in an archive (or a link already lying in the target folder) can never lead
// outside it. A file is written under a temporary name in its own folder and takes its real
// name only when it is committed, so an existing file stays whole until its replacement is.
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "ZAStream.h"

// The folder names and the file name of a path below the target folder (UTF-8).
using TZAPathParts = std::vector<std::string>;

// Splits an entry name at '/' and '\' into its parts, drops empty and "." parts and folds
// "name/.." pairs. False for a name that would leave the target folder: absolute ('/' or '\'
// first), a drive ("C:" first), a share ("\\server"), ".." climbing above the start, or a
// zero byte anywhere (the system would end the name there).
bool ZASplitConfinedPath(const std::string& Name, TZAPathParts& Parts);

// What lies at a path: nothing, a file, a folder or something else (link, device, ...).
struct TZAPathState {
    enum TKind : uint8_t { None, File, Folder, Other } Kind = None;
    bool ReadOnly = false;   // no write permission for the owner
    time_t Modified = 0;
};

class TZAConfinedFolder {
public:
    // Opens Root, creating it with its missing parents (Root is the caller's folder: links in
    // it are followed). Throws EZAException neFolderCreateFailed naming Root on failure.
    explicit TZAConfinedFolder(const std::string& Root);
    ~TZAConfinedFolder();
    TZAConfinedFolder(const TZAConfinedFolder&) = delete;
    TZAConfinedFolder& operator=(const TZAConfinedFolder&) = delete;

    const std::string& Root() const { return FRoot; }
    // Root + "/" + the parts.
    std::string FullPath(const TZAPathParts& Parts, size_t Count) const;

    // Opens the folder made of the first Count parts, creating missing ones when Create is
    // set; -1 (errno set) when a part is missing, not a folder, or a link. The caller closes.
    int OpenFolder(const TZAPathParts& Parts, size_t Count, bool Create) const;
    // What lies at Name inside the open folder FolderFd (links are not followed).
    static TZAPathState StateAt(int FolderFd, const std::string& Name);

private:
    std::string FRoot;
    int FRootFd = -1;
};

// A new file written under a temporary name in an open folder. Commit gives it its name,
// replacing what is there; without Commit the temporary file is removed.
class TZAPendingFile : public TZAStream {
public:
    // Takes ownership of FolderFd. Throws EZAException neFileCreateFailed naming FullPath
    // when the file cannot be created.
    TZAPendingFile(int FolderFd, std::string Name, const std::string& FullPath);
    ~TZAPendingFile() override;

    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Size() const override { return FSize; }
    void SetSize(int64_t NewSize) override;

    void SetModified(time_t Time);
    void SetMode(uint32_t Mode);
    void FlushToDevice();
    // Renames the file over Name; false (file removed) when the rename fails.
    bool Commit();
    // Closes and removes the temporary file.
    void Discard();

private:
    void Close();

    int FFolderFd;
    int FFd = -1;
    std::string FName;
    std::string FTempName;
    int64_t FSize = 0;
};

// Sets the modification time of the folder made of the parts (links are not followed).
void ZASetFolderTime(const TZAConfinedFolder& Root, const TZAPathParts& Parts, time_t Time,
                     std::optional<uint32_t> Mode);

// An entry's DOS date and time read as local time.
time_t ZADosDateTimeToTime(uint16_t Date, uint16_t Time);
// A file time as a DOS date (high 16 bits) and time (low 16 bits) in local time.
uint32_t ZATimeToDosDateTime(time_t Time);
