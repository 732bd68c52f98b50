#pragma once
// The benchmark archive: many small stored entries in folders, names in mixed case.
#include <cstdint>
#include <string>
#include <vector>

// Little-endian fields of ZIP records.
void Put16(std::string& out, uint32_t v);
void Put32(std::string& out, uint32_t v);

// Raw deflate data (no zlib header) of `data` at the zlib compression level `level`.
std::string RawDeflate(const std::string& data, int level);
// The name of entry i (UTF-8, ASCII only).
std::string BenchEntryName(int32_t i);
// Writes an archive of `entries` entries to `path`; returns false when the file cannot be
// written.
bool WriteBenchArchive(const std::string& path, int32_t entries);
