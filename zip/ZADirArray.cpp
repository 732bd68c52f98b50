#include "zip/ZADirArray.h"

#include <algorithm>
#include <utility>

#include "zip/ZAExcept.h"
#include "zip/ZAStream.h"

namespace {
constexpr int32_t kErrSetItemIndex = 1;
constexpr int32_t kErrGetItemIndex = 2;
constexpr int32_t kErrItemPtrIndex = 3;
constexpr int32_t kErrDeleteItemIndex = 4;
constexpr int32_t kErrSetItemNameList = 58;
constexpr int32_t kErrSetItemNameIndex = 59;
}  // namespace

TZADirArray::~TZADirArray() { Clear(); }

void TZADirArray::CheckIndex(int32_t Index, int32_t NativeError) const {
    if (Index < 0 || Index >= ItemCount) throw EZAException(NativeError);
}

void TZADirArray::SetCount(int32_t Value) {
    if (Value < 0) Value = 0;
    if (Value > AllocItemCount) {
        AllocBy = std::min(AllocBy * 2, MaxAllocBy);
        const int64_t stepped = static_cast<int64_t>(AllocItemCount) + AllocBy;
        AllocItemCount = stepped > Value ? static_cast<int32_t>(stepped) : Value;
        FItems.resize(static_cast<size_t>(AllocItemCount));
    } else if (Value == 0) {
        FItems.clear();
        FItems.shrink_to_fit();
        AllocItemCount = 0;
    }
    ItemCount = Value;
}

void TZADirArray::Clear() {
    for (int32_t i = 0; i < ItemCount; ++i) FItems[static_cast<size_t>(i)].ExtraFields.clear();
    ItemCount = 0;
    FItemNamesList.Clear();
}

void TZADirArray::Assign(const TZADirArray& da) {
    Clear();
    SetCount(da.Count());
    for (int32_t i = 0; i < da.Count(); ++i) SetItem(i, da.GetItem(i));
}

void TZADirArray::Append(const TZADirArray& da) {
    const int32_t n = ItemCount;
    const int32_t added = da.Count();
    SetCount(n + added);
    for (int32_t i = 0; i < added; ++i) SetItem(n + i, da.GetItem(i));
}

void TZADirArray::DeleteItem(int32_t Index) {
    CheckIndex(Index, kErrDeleteItemIndex);
    TDirItem& item = FItems[static_cast<size_t>(Index)];
    if (item.bDestroyStream) {
        delete item.Stream;
        item.Stream = nullptr;
        item.bDestroyStream = false;
    }
    item.ExtraFields.clear();
    // The entry's own position of the name list goes; a lookup by name could find another
    // entry of the same name instead.
    const ZAString key = LowerAscii(item.Name);
    if (Index < FItemNamesList.Count() && FItemNamesList.Get(Index) == key) {
        FItemNamesList.Delete(Index);
    } else {
        const int32_t found = FItemNamesList.IndexOfKey(key);
        if (found >= 0) FItemNamesList.Delete(found);
    }
    std::move(FItems.begin() + Index + 1, FItems.begin() + ItemCount, FItems.begin() + Index);
    FItems[static_cast<size_t>(ItemCount - 1)] = TDirItem();
    --ItemCount;
}

void TZADirArray::ClearTags() {
    for (int32_t i = 0; i < ItemCount; ++i) FItems[static_cast<size_t>(i)].Tagged = false;
}

bool TZADirArray::FileExists(const ZAString& FileName, int32_t& ItemNo) {
    ItemNo = FItemNamesList.IndexOfKey(LowerAscii(FileName));
    return ItemNo >= 0;
}

void TZADirArray::SetItemName(int32_t Index, ZAString Name) {
    CheckIndex(Index, kErrItemPtrIndex);
    TDirItem& item = FItems[static_cast<size_t>(Index)];
    const ZAString oldKey = LowerAscii(item.Name);
    // The lookup builds the value index on the first naming, as its growth rules expect. The
    // decision goes by position, so that an entry whose name equals an earlier one (the empty
    // name in particular) is named like any other.
    FItemNamesList.IndexOfKey(oldKey);
    const int32_t listed = FItemNamesList.Count();
    if (Index < listed && FItemNamesList.Get(Index) == oldKey) {
        FItemNamesList.Update(Index, LowerAscii(Name));
    } else if (Index == listed) {
        FItemNamesList.Add(LowerAscii(Name));
    } else {
        throw EZAException(kErrSetItemNameIndex);
    }
    item.Name = std::move(Name);
}

TDirItem TZADirArray::GetItem(int32_t Index) const {
    CheckIndex(Index, kErrGetItemIndex);
    return FItems[static_cast<size_t>(Index)];
}

TDirItem* TZADirArray::ItemPtr(int32_t Index) {
    CheckIndex(Index, kErrItemPtrIndex);
    return &FItems[static_cast<size_t>(Index)];
}

const TDirItem* TZADirArray::ItemPtr(int32_t Index) const {
    CheckIndex(Index, kErrItemPtrIndex);
    return &FItems[static_cast<size_t>(Index)];
}

void TZADirArray::SetItem(int32_t Index, const TDirItem& Item) {
    CheckIndex(Index, kErrSetItemIndex);
    const int32_t listed = FItemNamesList.Count();
    if (Index > listed) throw EZAException(kErrSetItemNameList);
    TDirItem copy = Item;  // Item may be this very slot
    if (Index < listed) {
        FItemNamesList.Update(Index, LowerAscii(copy.Name));
    } else {
        FItemNamesList.Add(LowerAscii(copy.Name));
    }
    FItems[static_cast<size_t>(Index)] = std::move(copy);
}
