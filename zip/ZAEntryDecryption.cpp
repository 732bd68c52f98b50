// No encryption scheme is built into this archiver yet: encrypted entries are refused by the
// extraction pipeline with a clear "not supported" error.
#include "ZAEntryDecryption.h"

std::unique_ptr<TZAEntryDecryption> CreateEntryDecryption(const TDirItem&,
                                                          const TZAZipLocalHeader&) {
    return nullptr;
}
