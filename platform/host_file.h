#pragma once
// Whole-file reads for the text loads of the application.
#include <string>

namespace platform {

// Reads every byte of the file at `path`. Other writers are kept out (advisory lock) while
// it reads. Throws HostError with "Datei %s kann nicht geöffnet werden. %s" when the file
// cannot be opened or read.
std::string ReadWholeFile(const std::string& path);

}  // namespace platform
