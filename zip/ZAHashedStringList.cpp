#include "zip/ZAHashedStringList.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace {
constexpr uint32_t kMinValueBuckets = 1000;
constexpr uint32_t kNameBuckets = 256;
constexpr uint32_t kStringsPerBucket = 5;
}  // namespace

ZAString LowerAscii(const ZAString& S) {
    ZAString out(S);
    for (char16_t& c : out) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 0x20);
    }
    return out;
}

void TZAHashedStringList::SetCaseSensitive(bool Value) {
    if (Value == FCaseSensitive) return;
    FCaseSensitive = Value;
    FValueHashValid = false;
    FNameHashValid = false;
}

void TZAHashedStringList::CheckIndex(int32_t Index) const {
    if (Index < 0 || Index >= Count()) throw std::out_of_range("List index out of bounds");
}

int32_t TZAHashedStringList::Add(ZAString S) {
    FStrings.push_back(std::move(S));
    const auto position = static_cast<int32_t>(FStrings.size() - 1);
    FNameHashValid = false;
    if (FValueHash && FValueHashValid) {
        FValueHash->Add(KeyOf(FStrings.back()), position);
        if (FStrings.size() > static_cast<size_t>(kStringsPerBucket) * FValueHash->Size()) {
            FValueHash.reset();
            FValueHashValid = false;
        }
    }
    return position;
}

void TZAHashedStringList::Update(int32_t Index, ZAString NewValue) {
    CheckIndex(Index);
    ZAString& slot = FStrings[static_cast<size_t>(Index)];
    if (FValueHash) {
        // The link of this position goes, not another string's link with the same key.
        FValueHash->RemoveValue(KeyOf(slot), Index);
        slot = std::move(NewValue);
        FValueHash->Add(KeyOf(slot), Index);
    } else {
        slot = std::move(NewValue);
    }
    FNameHashValid = false;
}

void TZAHashedStringList::Delete(int32_t Index) {
    CheckIndex(Index);
    FStrings.erase(FStrings.begin() + Index);
    FValueHashValid = false;
    FNameHashValid = false;
}

void TZAHashedStringList::Clear() {
    FStrings.clear();
    if (FValueHash) {
        FValueHash->Clear();
        FValueHashValid = true;
    }
    FNameHashValid = false;
}

void TZAHashedStringList::RebuildValueIndex() {
    if (!FValueHash) {
        FValueHash = std::make_unique<TZAStringHash>(
            std::max<uint32_t>(static_cast<uint32_t>(FStrings.size()), kMinValueBuckets));
        FValueHashValid = false;
    }
    if (!FValueHashValid) {
        FValueHash->Clear();
        for (size_t i = 0; i < FStrings.size(); ++i) {
            FValueHash->Add(KeyOf(FStrings[i]), static_cast<int32_t>(i));
        }
        FValueHashValid = true;
    }
}

void TZAHashedStringList::RebuildNameIndex() {
    if (FNameHashValid) return;
    if (!FNameHash) FNameHash = std::make_unique<TZAStringHash>(kNameBuckets);
    FNameHash->Clear();
    for (size_t i = 0; i < FStrings.size(); ++i) {
        const size_t eq = FStrings[i].find(u'=');
        if (eq == ZAString::npos) continue;
        FNameHash->Add(KeyOf(FStrings[i].substr(0, eq)), static_cast<int32_t>(i));
    }
    FNameHashValid = true;
}

int32_t TZAHashedStringList::IndexOf(const ZAString& S) {
    RebuildValueIndex();
    return FValueHash->ValueOf(KeyOf(S));
}

int32_t TZAHashedStringList::IndexOfKey(const ZAString& Key) {
    RebuildValueIndex();
    return FValueHash->ValueOf(Key);
}

int32_t TZAHashedStringList::IndexOfName(const ZAString& Name) {
    RebuildNameIndex();
    return FNameHash->ValueOf(KeyOf(Name));
}
