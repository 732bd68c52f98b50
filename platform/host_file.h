#pragma once
// Whole-file reads for the text loads of the application.
#include <string>

#include "byte_buffer.h"

namespace platform {

// Reads every byte of the file at `path`. Other writers are kept out (advisory lock) while
// it reads. Throws HostError with "Datei %s kann nicht geöffnet werden. %s" when the file
// cannot be opened or read.
TByteBuffer ReadWholeFile(const std::string& path);

}  // namespace platform
