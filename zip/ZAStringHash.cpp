#include "zip/ZAStringHash.h"

#include <algorithm>
#include <utility>

namespace {
constexpr size_t kChunkLinks = 1024;
}

TZAStringHash::TZAStringHash(uint32_t aSize) : Buckets(aSize, nullptr), FSize(aSize) {}

TZAStringHash::~TZAStringHash() { Clear(); }

uint32_t TZAStringHash::HashKey(const ZAString& Key) const {
    uint32_t h = 0;
    for (char16_t c : Key) h = ((h << 2) | (h >> 30)) ^ static_cast<uint32_t>(c);
    return h;
}

THashItem* TZAStringHash::NewLink() {
    if (FFreeLinks) {
        THashItem* link = FFreeLinks;
        FFreeLinks = link->Next;
        link->Next = nullptr;
        return link;
    }
    if (FChunks.empty() || FChunkUsed == kChunkLinks) {
        FChunks.push_back(std::make_unique<THashItem[]>(kChunkLinks));
        FChunkUsed = 0;
    }
    return &FChunks.back()[FChunkUsed++];
}

void TZAStringHash::FreeLink(THashItem* Link) {
    Link->Key.clear();
    Link->Next = FFreeLinks;
    FFreeLinks = Link;
}

void TZAStringHash::Add(ZAString Key, int32_t Value) {
    if (FSize == 0) return;
    THashItem* link = NewLink();
    link->Hash = HashKey(Key);
    link->Key = std::move(Key);
    link->Value = Value;
    THashItem** head = Bucket(link->Hash);
    link->Next = *head;
    *head = link;
}

void TZAStringHash::Clear() {
    std::fill(Buckets.begin(), Buckets.end(), nullptr);
    FChunks.clear();
    FChunkUsed = 0;
    FFreeLinks = nullptr;
}

THashItem* TZAStringHash::FindLink(const ZAString& Key) const {
    if (FSize == 0) return nullptr;
    const uint32_t hash = HashKey(Key);
    for (THashItem* link = Buckets[hash % FSize]; link; link = link->Next) {
        if (link->Hash == hash && link->Key == Key) return link;
    }
    return nullptr;
}

int32_t TZAStringHash::ValueOf(const ZAString& Key) const {
    const THashItem* link = FindLink(Key);
    return link ? link->Value : -1;
}

bool TZAStringHash::Modify(const ZAString& Key, int32_t Value) {
    THashItem* link = FindLink(Key);
    if (!link) return false;
    link->Value = Value;
    return true;
}

void TZAStringHash::Remove(const ZAString& Key) {
    if (FSize == 0) return;
    const uint32_t hash = HashKey(Key);
    for (THashItem** prev = Bucket(hash); *prev; prev = &(*prev)->Next) {
        if ((*prev)->Hash == hash && (*prev)->Key == Key) {
            THashItem* link = *prev;
            *prev = link->Next;
            FreeLink(link);
            return;
        }
    }
}

void TZAStringHash::RemoveValue(const ZAString& Key, int32_t Value) {
    if (FSize == 0) return;
    const uint32_t hash = HashKey(Key);
    for (THashItem** prev = Bucket(hash); *prev; prev = &(*prev)->Next) {
        if ((*prev)->Hash == hash && (*prev)->Key == Key && (*prev)->Value == Value) {
            THashItem* link = *prev;
            *prev = link->Next;
            FreeLink(link);
            return;
        }
    }
    Remove(Key);
}
