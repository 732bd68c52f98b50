#pragma once
// The search record that FindFirst and FindNext fill for each entry they find, with the state
// of the search it carries from one call to the next.
#include <cstdint>

#include "ZATypes.h"

// The state of one search, kept inside the record between FindFirst and FindNext.
struct TInternalSearchRec {
    static constexpr int32_t MaxMaskLength = 259;

    int32_t ItemNo = 0;                            // the entry found last; the next step starts here
    char16_t CFindMask[MaxMaskLength + 1] = {};    // the search mask, zero-terminated
    bool FWildCards = false;                       // the mask holds "*" or "?"
    int32_t FFindAttr = 0;                         // the attribute filter of this search
    ZAString ExclusionMask;                        // the exclusion mask of a mask search
    bool UseProperties = false;                    // FileMasks/ExclusionMasks drive the search

    ZAString FindMask() const { return ZAString(CFindMask); }
};

struct TZAArchiveItem {
    ZAString FileName;             // file-name part of the entry name
    ZAString StoredPath;           // folder part with backslashes and a final one; empty at the root
    int64_t CompressedSize = 0;
    int64_t UncompressedSize = 0;
    double CompressionRate = 0.0;  // percent saved; 100 for an empty entry, never below 0
    bool Encrypted = false;
    uint16_t LastModFileDate = 0;
    uint16_t LastModFileTime = 0;
    int32_t CRC = 0;
    uint32_t ExternalFileAttributes = 0;
    ZAAnsiString Comment;
    TInternalSearchRec Handle;
};
