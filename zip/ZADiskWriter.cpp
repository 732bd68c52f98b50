#include "ZADiskWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>

#include "ZAConst.h"
#include "ZAExcept.h"

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool IsDrive(const std::string& Name) {
    return Name.size() >= 2 && Name[1] == ':' &&
           ((Name[0] >= 'A' && Name[0] <= 'Z') || (Name[0] >= 'a' && Name[0] <= 'z'));
}

// Opens Name inside FolderFd as a folder, without following a link there.
int OpenSubfolder(int FolderFd, const std::string& Name) {
    return ::openat(FolderFd, Name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

}  // namespace

bool ZASplitConfinedPath(const std::string& Name, TZAPathParts& Parts) {
    Parts.clear();
    if (Name.empty()) return true;
    // A zero byte would end the name early for the system: "..\0" would be "..".
    if (IsSeparator(Name[0]) || IsDrive(Name) || Name.find('\0') != std::string::npos)
        return false;
    size_t start = 0;
    while (start <= Name.size()) {
        size_t end = start;
        while (end < Name.size() && !IsSeparator(Name[end])) ++end;
        const std::string part = Name.substr(start, end - start);
        if (part == "..") {
            if (Parts.empty()) return false;
            Parts.pop_back();
        } else if (!part.empty() && part != ".") {
            Parts.push_back(part);
        }
        start = end + 1;
    }
    return true;
}

// ---- TZAConfinedFolder ---------------------------------------------------------------------

TZAConfinedFolder::TZAConfinedFolder(const std::string& Root) : FRoot(Root) {
    while (FRoot.size() > 1 && FRoot.back() == '/') FRoot.pop_back();
    if (FRoot.empty()) FRoot = ".";
    std::error_code ec;
    std::filesystem::create_directories(FRoot, ec);
    FRootFd = ::open(FRoot.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (FRootFd < 0) throw EZAException(neFolderCreateFailed, {Utf8ToUtf16(FRoot)});
}

TZAConfinedFolder::~TZAConfinedFolder() {
    if (FRootFd >= 0) ::close(FRootFd);
}

std::string TZAConfinedFolder::FullPath(const TZAPathParts& Parts, size_t Count) const {
    std::string path = FRoot;
    for (size_t i = 0; i < Count && i < Parts.size(); ++i) {
        if (path.empty() || path.back() != '/') path += '/';
        path += Parts[i];
    }
    return path;
}

int TZAConfinedFolder::OpenFolder(const TZAPathParts& Parts, size_t Count, bool Create) const {
    int fd = ::dup(FRootFd);
    for (size_t i = 0; fd >= 0 && i < Count && i < Parts.size(); ++i) {
        int next = OpenSubfolder(fd, Parts[i]);
        if (next < 0 && errno == ENOENT && Create) {
            if (::mkdirat(fd, Parts[i].c_str(), 0777) == 0 || errno == EEXIST)
                next = OpenSubfolder(fd, Parts[i]);
        }
        const int saved = errno;
        ::close(fd);
        errno = saved;
        fd = next;
    }
    return fd;
}

TZAPathState TZAConfinedFolder::StateAt(int FolderFd, const std::string& Name) {
    TZAPathState state;
    struct stat st {};
    if (::fstatat(FolderFd, Name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return state;
    state.Kind = S_ISREG(st.st_mode)   ? TZAPathState::File
                 : S_ISDIR(st.st_mode) ? TZAPathState::Folder
                                       : TZAPathState::Other;
    state.ReadOnly = (st.st_mode & S_IWUSR) == 0;
    state.Modified = st.st_mtime;
    return state;
}

// ---- TZAPendingFile ------------------------------------------------------------------------

TZAPendingFile::TZAPendingFile(int FolderFd, std::string Name, const std::string& FullPath)
    : FFolderFd(FolderFd), FName(std::move(Name)) {
    std::random_device random;
    for (int attempt = 0; attempt < 100 && FFd < 0; ++attempt) {
        FTempName = ".kalvero-" + std::to_string(random()) + ".part";
        FFd = ::openat(FFolderFd, FTempName.c_str(),
                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (FFd < 0 && errno != EEXIST) break;
    }
    if (FFd < 0) {
        ::close(FFolderFd);
        throw EZAException(neFileCreateFailed, {Utf8ToUtf16(FullPath)});
    }
}

TZAPendingFile::~TZAPendingFile() {
    Discard();
    ::close(FFolderFd);
}

int64_t TZAPendingFile::Read(void*, int64_t) { return 0; }

int64_t TZAPendingFile::Write(const void* Buffer, int64_t Count) {
    if (FFd < 0 || Count <= 0 || FPosition < 0) return 0;
    const int64_t done = ZAWriteAt(FFd, FPosition, Buffer, Count);
    FPosition += done;
    if (FPosition > FSize) FSize = FPosition;
    return done;
}

void TZAPendingFile::SetSize(int64_t NewSize) {
    if (FFd >= 0 && NewSize >= 0 && ::ftruncate(FFd, static_cast<off_t>(NewSize)) == 0)
        FSize = NewSize;
}

void TZAPendingFile::SetModified(time_t Time) {
    if (FFd < 0) return;
    const struct timespec times[2] = {{Time, 0}, {Time, 0}};
    ::futimens(FFd, times);
}

void TZAPendingFile::SetMode(uint32_t Mode) {
    if (FFd >= 0) ::fchmod(FFd, static_cast<mode_t>(Mode & 0777));
}

void TZAPendingFile::FlushToDevice() {
    if (FFd >= 0) ::fsync(FFd);
}

void TZAPendingFile::Close() {
    if (FFd >= 0) ::close(FFd);
    FFd = -1;
}

bool TZAPendingFile::Commit() {
    if (FTempName.empty()) return false;
    Close();
    if (::renameat(FFolderFd, FTempName.c_str(), FFolderFd, FName.c_str()) == 0) {
        FTempName.clear();
        return true;
    }
    Discard();
    return false;
}

void TZAPendingFile::Discard() {
    Close();
    if (!FTempName.empty()) ::unlinkat(FFolderFd, FTempName.c_str(), 0);
    FTempName.clear();
}

// ---- folders and times ---------------------------------------------------------------------

void ZASetFolderTime(const TZAConfinedFolder& Root, const TZAPathParts& Parts, time_t Time,
                     std::optional<uint32_t> Mode) {
    const int fd = Root.OpenFolder(Parts, Parts.size(), false);
    if (fd < 0) return;
    const struct timespec times[2] = {{Time, 0}, {Time, 0}};
    ::futimens(fd, times);
    if (Mode) ::fchmod(fd, static_cast<mode_t>(*Mode & 0777));
    ::close(fd);
}

time_t ZADosDateTimeToTime(uint16_t Date, uint16_t Time) {
    struct tm t {};
    t.tm_year = 80 + (Date >> 9);
    t.tm_mon = ((Date >> 5) & 0x0F) - 1;
    t.tm_mday = Date & 0x1F;
    t.tm_hour = Time >> 11;
    t.tm_min = (Time >> 5) & 0x3F;
    t.tm_sec = (Time & 0x1F) * 2;
    t.tm_isdst = -1;
    return ::mktime(&t);
}

uint32_t ZATimeToDosDateTime(time_t Time) {
    struct tm t {};
    if (!::localtime_r(&Time, &t) || t.tm_year < 80) return (1 << 5 | 1) << 16;  // 1980-01-01
    const uint32_t date = static_cast<uint32_t>(((t.tm_year - 80) << 9) | ((t.tm_mon + 1) << 5) |
                                                t.tm_mday);
    const uint32_t time =
        static_cast<uint32_t>((t.tm_hour << 11) | (t.tm_min << 5) | (t.tm_sec / 2));
    return date << 16 | time;
}
