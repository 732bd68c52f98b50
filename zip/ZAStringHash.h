#pragma once
// A chained hash table from UTF-16 keys to 32-bit values: the index behind the archive's name
// list. Keys compare exactly, code unit by code unit; duplicate keys are allowed and a new key
// goes to the head of its chain, so a lookup finds the one added last.
#include <cstdint>
#include <memory>
#include <vector>

#include "zip/ZATypes.h"

struct THashItem {
    THashItem* Next = nullptr;
    ZAString Key;
    int32_t Value = 0;
    uint32_t Hash = 0;  // HashKey of Key, compared before the key itself
};

class TZAStringHash {
public:
    explicit TZAStringHash(uint32_t aSize);
    virtual ~TZAStringHash();
    TZAStringHash(const TZAStringHash&) = delete;
    TZAStringHash& operator=(const TZAStringHash&) = delete;

    void Add(ZAString Key, int32_t Value);
    void Clear();
    bool Modify(const ZAString& Key, int32_t Value);
    void Remove(const ZAString& Key);
    // Unlinks the first link of Key that holds Value; when none does, the first link of Key.
    void RemoveValue(const ZAString& Key, int32_t Value);
    int32_t ValueOf(const ZAString& Key) const;

    // h starts at 0; for every code unit c: h := (h rotated left by 2) xor c.
    virtual uint32_t HashKey(const ZAString& Key) const;

    uint32_t Size() const { return FSize; }

protected:
    THashItem* FindLink(const ZAString& Key) const;

private:
    THashItem** Bucket(uint32_t Hash) { return &Buckets[Hash % FSize]; }
    THashItem* NewLink();
    void FreeLink(THashItem* Link);

    std::vector<THashItem*> Buckets;
    uint32_t FSize;
    // Links come from chunks owned by the table; freed links are kept for reuse.
    std::vector<std::unique_ptr<THashItem[]>> FChunks;
    size_t FChunkUsed = 0;
    THashItem* FFreeLinks = nullptr;
};
