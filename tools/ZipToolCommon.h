#pragma once
// What the commands of kalvero-zip share: their exit statuses, the search attributes that
// find every entry, and names shown as `list` shows them.
#include <cstdint>
#include <string>

#include "zip/ZATypes.h"

constexpr int kDone = 0;    // every selected entry was done
constexpr int kFailed = 1;  // the archiver failed, or an entry failed or was skipped
constexpr int kUsage = 2;   // wrong usage

constexpr int32_t kAnyAttributes = 10431;

// An entry name with '/' between its folders (stored names and handler names may use '\').
inline std::string ShownName(const ZAString& Name) {
    std::string name = Utf16ToUtf8(Name);
    for (char& c : name)
        if (c == '\\') c = '/';
    return name;
}
