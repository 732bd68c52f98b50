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

// Cuts the bytes into the two or three volumes of a split set, writes them to files in a
// temporary folder (set.z01, [set.z02,] set.zip), opens the set through its last volume, walks
// the directory and reads the first entries as WalkArchive does. Layout of the bytes: the
// first byte chooses two (even) or three (odd) volumes, then the length of every volume but
// the last as 16 bits little-endian, then the volumes one after the other.
WalkResult WalkVolumeSet(const uint8_t* data, size_t size);
