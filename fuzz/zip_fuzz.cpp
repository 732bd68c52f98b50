// libFuzzer entry: arbitrary bytes opened as an archive, once rebuilding damaged directories
// and once refusing them, and cut into the volumes of a split set read from files.
#include <cstddef>
#include <cstdint>

#include "zip_walk.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WalkArchive(data, size, true);
    WalkArchive(data, size, false);
    WalkVolumeSet(data, size);
    return 0;
}
