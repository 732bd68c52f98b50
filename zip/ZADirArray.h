#pragma once
// The directory of an open archive: its entries in central directory order and, beside them, a
// name list whose position i holds the ASCII-lower-cased name of entry i, so that names are
// found through the list's hash index.
#include <cstdint>
#include <vector>

#include "zip/ZADirItem.h"
#include "zip/ZAHashedStringList.h"

class TZADirArray {
public:
    TZADirArray() = default;
    ~TZADirArray();
    TZADirArray(const TZADirArray&) = delete;
    TZADirArray& operator=(const TZADirArray&) = delete;

    int32_t Count() const { return ItemCount; }
    // Growing beyond the capacity enlarges it by a step that doubles each time (at most
    // MaxAllocBy), or to Value when the step does not reach it; 0 frees the storage; other
    // values change only the count. The name list is not touched.
    void SetCount(int32_t Value);
    int32_t Capacity() const { return AllocItemCount; }

    // Count 0 and an empty name list; the storage stays, the entries' extra blocks go.
    void Clear();
    void Assign(const TZADirArray& da);
    void Append(const TZADirArray& da);
    void DeleteItem(int32_t Index);
    void ClearTags();
    // ItemNo: the position of the entry named FileName (A to Z folded), -1 when there is none;
    // with several such entries the last one.
    bool FileExists(const ZAString& FileName, int32_t& ItemNo);
    // Names the entry at Index and keeps the name list in step.
    void SetItemName(int32_t Index, ZAString Name);

    TDirItem GetItem(int32_t Index) const;
    TDirItem* ItemPtr(int32_t Index);
    const TDirItem* ItemPtr(int32_t Index) const;
    void SetItem(int32_t Index, const TDirItem& Item);

    TZAHashedStringList& ItemNamesList() { return FItemNamesList; }

private:
    void CheckIndex(int32_t Index, int32_t NativeError) const;

    std::vector<TDirItem> FItems;
    TZAHashedStringList FItemNamesList;
    int32_t AllocBy = 500;
    int32_t MaxAllocBy = 10000;
    int32_t AllocItemCount = 0;
    int32_t ItemCount = 0;
};
