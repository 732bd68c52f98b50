#pragma once
// Opens bytes as an archive (from a memory stream, through the archiver) and walks its
// directory: every entry's fields, effective values and its lookup by name; then reads the
// first entries.
#include <cstddef>
#include <cstdint>
#include <string>

struct WalkResult {
    bool opened = false;
    int32_t entries = 0;
    std::string refusal;  // the archiver's or the stream layer's message when not opened
};

// The password the walk reads encrypted entries with (the encrypted seeds use it).
inline constexpr const char* kFuzzPassword = "kalvero";

// Archiver and stream errors are results; any other exception escapes (a fault to find).
// After the directory, the first entries are read with kFuzzPassword.
WalkResult WalkArchive(const uint8_t* data, size_t size, bool openCorrupted);
