#pragma once
// An entry under WinZip's AES scheme: a password passes when its derived verifier equals the
// stored one; the data is checked by its authentication code (whatever version the entry's
// AES block names), never by its CRC-32.
#include "ZAAESCryptoTransform.h"
#include "ZAEntryDecryption.h"

class TZAAESEntryDecryption : public TZAEntryDecryption {
public:
    // Strength in bits: 128, 192 or 256. Item must outlive the object.
    TZAAESEntryDecryption(const TDirItem& Item, int32_t Strength, uint16_t CompressionMethod);

    int64_t Overhead() const override;
    int64_t TrailerSize() const override { return FTransform.GetFileStorageEndBlockSize(); }
    // A start block cut off by the end of the archive passes without a password: the entry
    // is damaged whatever the password, and fails its check.
    bool TryPassword(TZAStream& Source, const ZAAnsiString& Password) override;
    void Decrypt(uint8_t* Buffer, int64_t Count) override;
    bool VerifyEntry(TZAStream& Source, const TDirItem& Item, uint32_t Crc) override;

private:
    const TDirItem& FItem;
    TAESCryptoTransform FTransform;
    bool FKeyed = false;
};
