#include "file_version.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {
namespace {

constexpr char kVersionSection[] = ".kalvero.version";
// A version block is one fixed record; anything much larger is not ours.
constexpr uint64_t kMaxVersionBlock = 4096;
// Section names of real programs fit easily; a larger table means a damaged file.
constexpr uint64_t kMaxSectionNames = 1 << 20;

#if defined(KALVERO_FILE_VERSION_MAJOR)
#define KALVERO_VERSION_WORD(high, low) ((uint32_t{high} << 16) | uint32_t{low})
// The version this build carries. It is never referenced; `used` keeps it in the program.
[[gnu::used, gnu::section(".kalvero.version")]] const FixedFileInfo kBuildVersion = {
    kFixedFileInfoSignature,
    0x00010000,
    KALVERO_VERSION_WORD(KALVERO_FILE_VERSION_MAJOR, KALVERO_FILE_VERSION_MINOR),
    KALVERO_VERSION_WORD(KALVERO_FILE_VERSION_RELEASE, KALVERO_FILE_VERSION_BUILD),
    KALVERO_VERSION_WORD(KALVERO_FILE_VERSION_MAJOR, KALVERO_FILE_VERSION_MINOR),
    KALVERO_VERSION_WORD(KALVERO_FILE_VERSION_RELEASE, KALVERO_FILE_VERSION_BUILD),
};
#undef KALVERO_VERSION_WORD
#endif

class ElfFile {
public:
    explicit ElfFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        struct stat st {};
        if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) {
            size_ = static_cast<uint64_t>(st.st_size);
        }
    }
    ~ElfFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    ElfFile(const ElfFile&) = delete;
    ElfFile& operator=(const ElfFile&) = delete;

    // Reads `length` bytes at `offset`, all of them inside the file.
    bool Read(uint64_t offset, void* out, uint64_t length) const {
        if (fd_ < 0 || offset > size_ || length > size_ - offset) return false;
        auto* dest = static_cast<unsigned char*>(out);
        while (length > 0) {
            const ssize_t n = ::pread(fd_, dest, length, static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            dest += n;
            offset += static_cast<uint64_t>(n);
            length -= static_cast<uint64_t>(n);
        }
        return true;
    }

    uint64_t size() const { return size_; }

private:
    int fd_;
    uint64_t size_ = 0;
};

// One section header, whatever the file's class.
struct Section {
    uint32_t name = 0;
    uint32_t type = 0;
    uint32_t link = 0;
    uint64_t offset = 0;
    uint64_t size = 0;
};

template <typename Ehdr, typename Shdr>
std::vector<unsigned char> FindVersionBlock(const ElfFile& file) {
    Ehdr header{};
    if (!file.Read(0, &header, sizeof header)) return {};
    if (header.e_shoff == 0 || header.e_shentsize < sizeof(Shdr)) return {};

    auto readSection = [&](uint64_t index, Section& section) {
        Shdr raw{};
        if (!file.Read(header.e_shoff + index * header.e_shentsize, &raw, sizeof raw)) {
            return false;
        }
        section = {raw.sh_name, raw.sh_type, raw.sh_link, raw.sh_offset, raw.sh_size};
        return true;
    };

    // Files with very many sections keep the count and the name table's index in section 0.
    uint64_t count = header.e_shnum;
    uint64_t namesIndex = header.e_shstrndx;
    if (count == 0 || namesIndex == SHN_XINDEX) {
        Section first;
        if (!readSection(0, first)) return {};
        if (count == 0) count = first.size;
        if (namesIndex == SHN_XINDEX) namesIndex = first.link;
    }
    // Every header must lie inside the file; this also keeps the offsets below from wrapping.
    if (header.e_shoff > file.size() ||
        count > (file.size() - header.e_shoff) / header.e_shentsize) {
        return {};
    }
    Section namesSection;
    if (namesIndex >= count || !readSection(namesIndex, namesSection)) return {};
    if (namesSection.size == 0 || namesSection.size > kMaxSectionNames) return {};
    std::vector<char> names(namesSection.size + 1, '\0');
    if (!file.Read(namesSection.offset, names.data(), namesSection.size)) return {};

    for (uint64_t i = 0; i < count; ++i) {
        Section section;
        if (!readSection(i, section)) return {};
        if (section.name >= namesSection.size || section.type == SHT_NOBITS) continue;
        if (std::strcmp(names.data() + section.name, kVersionSection) != 0) continue;
        if (section.size == 0 || section.size > kMaxVersionBlock) return {};
        std::vector<unsigned char> block(section.size);
        if (!file.Read(section.offset, block.data(), section.size)) return {};
        return block;
    }
    return {};
}

}  // namespace

std::vector<unsigned char> ReadVersionResource(const std::string& path) {
    const ElfFile file(path);
    unsigned char ident[EI_NIDENT] = {};
    if (!file.Read(0, ident, sizeof ident)) return {};
    if (std::memcmp(ident, ELFMAG, SELFMAG) != 0) return {};
    const unsigned char ownOrder =
        __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? ELFDATA2LSB : ELFDATA2MSB;
    if (ident[EI_DATA] != ownOrder) return {};
    if (ident[EI_CLASS] == ELFCLASS64) return FindVersionBlock<Elf64_Ehdr, Elf64_Shdr>(file);
    if (ident[EI_CLASS] == ELFCLASS32) return FindVersionBlock<Elf32_Ehdr, Elf32_Shdr>(file);
    return {};
}

std::optional<FixedFileInfo> QueryRootBlock(const std::vector<unsigned char>& block) {
    FixedFileInfo info;
    if (block.size() < sizeof info) return std::nullopt;
    std::memcpy(&info, block.data(), sizeof info);
    if (info.signature != kFixedFileInfoSignature) return std::nullopt;
    return info;
}

}  // namespace platform
