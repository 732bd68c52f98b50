#pragma once
// The version block of an executable, the counterpart of a version resource: a fixed record
// with the file version that the build puts into the section ".kalvero.version" of every
// program linked with this library.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

constexpr uint32_t kFixedFileInfoSignature = 0xFEEF04BD;

// The fixed file-version record. The version words hold major << 16 | minor and
// release << 16 | build.
struct FixedFileInfo {
    uint32_t signature = 0;
    uint32_t structVersion = 0;
    uint32_t fileVersionMS = 0;
    uint32_t fileVersionLS = 0;
    uint32_t productVersionMS = 0;
    uint32_t productVersionLS = 0;
};

// The bytes of the version block of the ELF file at `path`; empty when the file cannot be
// read, is not an ELF file of this machine's byte order, or has no version block.
std::vector<unsigned char> ReadVersionResource(const std::string& path);

// The fixed record at the start of a version block; no value when the block is too short or
// does not start with the signature.
std::optional<FixedFileInfo> QueryRootBlock(const std::vector<unsigned char>& block);

}  // namespace platform
