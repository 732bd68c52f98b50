#include "ZAAESEntryDecryption.h"

#include "ZADirItem.h"

TZAAESEntryDecryption::TZAAESEntryDecryption(const TDirItem& Item, int32_t Strength,
                                             uint16_t CompressionMethod)
    : FItem(Item), FTransform(Strength, 2, CompressionMethod) {
    FTransform.Initialize(TCryptoTransformMode::Decryption, Item);
}

int64_t TZAAESEntryDecryption::Overhead() const {
    return static_cast<int64_t>(FTransform.GetFileStorageStartBlockSize()) +
           FTransform.GetFileStorageEndBlockSize();
}

bool TZAAESEntryDecryption::TryPassword(TZAStream& Source, const ZAAnsiString& Password) {
    if (!FKeyed || Password != FTransform.GetPassword()) {
        FTransform.GenerateKey(Password);
        FKeyed = true;
    }
    FTransform.LoadFileStorageStartBlock(Source, 0);
    if (!FTransform.StartBlockComplete()) return true;
    return FTransform.CheckPassword(Password, FItem);
}

void TZAAESEntryDecryption::Decrypt(uint8_t* Buffer, int64_t Count) {
    FTransform.DecryptBuffer(Buffer, 0, Count, Buffer, 0);
}

bool TZAAESEntryDecryption::VerifyEntry(TZAStream& Source, const TDirItem& Item, uint32_t Crc) {
    FTransform.LoadFileStorageEndBlock(Source, 0);
    return !FTransform.IsDirItemCorrupted(Item, Crc);
}
