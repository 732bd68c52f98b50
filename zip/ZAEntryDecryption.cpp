// The choice of scheme for an encrypted entry: WinZip AES when the directory gave it an AES
// algorithm and its version needed to extract lies below the AES boundary, the traditional
// encryption for every other encrypted entry.
#include "ZAEntryDecryption.h"

#include "ZAAESEntryDecryption.h"
#include "ZAClassicEntryDecryption.h"
#include "ZADirItem.h"

int32_t AESStrengthOf(const TDirItem& Item) {
    if (Item.CentralDir.extractVersion >= ZA_AES_EXTRACT_VERSION_LIMIT) return 0;
    switch (Item.ZAEncryptionAlgorithm) {
        case caAES_128: return 128;
        case caAES_192: return 192;
        case caAES_256: return 256;
        default: return 0;
    }
}

std::unique_ptr<TZAEntryDecryption> CreateEntryDecryption(const TDirItem& Item,
                                                          const TZAZipLocalHeader& LocalHeader) {
    const int32_t strength = AESStrengthOf(Item);
    if (strength != 0)
        return std::make_unique<TZAAESEntryDecryption>(Item, strength, Item.CompressionMethod);
    return std::make_unique<TZAClassicEntryDecryption>(LocalHeader);
}
