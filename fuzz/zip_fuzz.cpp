// libFuzzer entry: arbitrary bytes opened as an archive, once rebuilding damaged directories
// and once refusing them.
#include <cstddef>
#include <cstdint>

#include "zip_walk.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WalkArchive(data, size, true);
    WalkArchive(data, size, false);
    return 0;
}
