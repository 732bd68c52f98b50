#pragma once
// An unsorted string list (duplicates allowed) whose lookups go through hash indexes: one from
// each string to its position, one from the part of each string before its first "=" to its
// position. Unless the list is case-sensitive, keys are folded with LowerAscii (only A to Z).
#include <cstdint>
#include <memory>
#include <vector>

#include "zip/ZAStringHash.h"
#include "zip/ZATypes.h"

// Maps the code units A to Z to a to z and leaves every other code unit as it is.
ZAString LowerAscii(const ZAString& S);

class TZAHashedStringList {
public:
    TZAHashedStringList() = default;
    ~TZAHashedStringList() = default;
    TZAHashedStringList(const TZAHashedStringList&) = delete;
    TZAHashedStringList& operator=(const TZAHashedStringList&) = delete;

    int32_t Count() const { return static_cast<int32_t>(FStrings.size()); }
    // The string at Index; Index must lie below Count.
    const ZAString& Get(int32_t Index) const { return FStrings[static_cast<size_t>(Index)]; }

    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value);

    // Appends S and returns its position. A valid value index takes the new key at once; when
    // the list then holds more than five strings per bucket, the index is dropped so that the
    // next lookup builds it anew with as many buckets as strings.
    int32_t Add(ZAString S);
    // Replaces the string at Index and moves its key in the value index.
    void Update(int32_t Index, ZAString NewValue);
    void Delete(int32_t Index);
    void Clear();

    int32_t IndexOf(const ZAString& S);
    // IndexOf for a key that is already folded as the list folds (LowerAscii unless the list
    // is case-sensitive), without folding it again.
    int32_t IndexOfKey(const ZAString& Key);
    int32_t IndexOfName(const ZAString& Name);

    // The value index as it stands (nullptr while absent) and whether it matches the list.
    const TZAStringHash* ValueHash() const { return FValueHash.get(); }
    bool ValueHashValid() const { return FValueHashValid; }

private:
    ZAString KeyOf(const ZAString& S) const { return FCaseSensitive ? S : LowerAscii(S); }
    void RebuildValueIndex();
    void RebuildNameIndex();
    void CheckIndex(int32_t Index) const;

    std::vector<ZAString> FStrings;
    bool FCaseSensitive = false;
    std::unique_ptr<TZAStringHash> FValueHash;
    std::unique_ptr<TZAStringHash> FNameHash;
    bool FValueHashValid = false;
    bool FNameHashValid = false;
};
