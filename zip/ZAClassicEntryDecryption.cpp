#include "ZAClassicEntryDecryption.h"

#include "ZADirItem.h"

bool TZAClassicEntryDecryption::TryPassword(TZAStream& Source, const ZAAnsiString& Password) {
    // No password cannot pass: the header is not read, the user is asked.
    if (Password.empty()) return false;
    return CheckClassicHeader(Source, Password, FKeys, FLocalHeader.crc32,
                              FLocalHeader.lastModTime, FLocalHeader.genPurposeFlag);
}

void TZAClassicEntryDecryption::Decrypt(uint8_t* Buffer, int64_t Count) {
    DecryptClassicBuffer(Buffer, Count, FKeys);
}

bool TZAClassicEntryDecryption::VerifyEntry(TZAStream&, const TDirItem& Item, uint32_t Crc) {
    return Crc == Item.CentralDir.crc32;
}
