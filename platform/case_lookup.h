#pragma once
// Finding a file whose name differs only in the case of its letters. Volumes of a split set
// are named by fixed rules (finds.Z01), but writers on case-sensitive file systems often use
// other case (finds.z01).
#include <string>

namespace platform {

// The path of the existing file that `path` names: `path` itself when a file (not a folder)
// of that name exists; otherwise the one file in the same folder whose name equals the last
// part of `path` with the ASCII letters A to Z compared without case. Empty when there is no
// such file, or when several files match (an ambiguous name counts as missing).
std::string FindFileIgnoringCase(const std::string& path);

}  // namespace platform
