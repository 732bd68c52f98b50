#pragma once
// An entry under the traditional encryption: a password passes when the last byte of the
// 12-byte header decrypts to the check byte of the local header; the data is checked by its
// CRC-32.
#include "ZAClassicCrypt.h"
#include "ZAEntryDecryption.h"

class TZAClassicEntryDecryption : public TZAEntryDecryption {
public:
    explicit TZAClassicEntryDecryption(const TZAZipLocalHeader& LocalHeader)
        : FLocalHeader(LocalHeader) {}

    int64_t Overhead() const override { return ZA_CLASSIC_HEADER_SIZE; }
    bool TryPassword(TZAStream& Source, const ZAAnsiString& Password) override;
    void Decrypt(uint8_t* Buffer, int64_t Count) override;
    bool VerifyEntry(TZAStream& Source, const TDirItem& Item, uint32_t Crc) override;

private:
    TZAZipLocalHeader FLocalHeader;
    TZAClassicKeys FKeys;
};
