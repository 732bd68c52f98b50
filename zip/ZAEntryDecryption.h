#pragma once
// Decryption of one encrypted entry while it is extracted. The extraction pipeline runs the
// password attempts (asking through OnPassword or the password dialog between them), hands
// every chunk of stored data to Decrypt before it is decompressed, and lets the scheme judge
// the entry once its data has been read.
#include <cstdint>
#include <memory>

#include "ZARecords.h"
#include "ZATypes.h"

class TZAStream;
struct TDirItem;

class TZAEntryDecryption {
public:
    virtual ~TZAEntryDecryption() = default;

    // Bytes of the entry's stored data that are not encrypted content (header, salt,
    // verifier, authentication code).
    virtual int64_t Overhead() const = 0;
    // The part of the overhead that follows the encrypted content (the authentication code);
    // the rest comes before it.
    virtual int64_t TrailerSize() const { return 0; }
    // One password attempt with the archiver's current password (which OnPassword or the
    // password dialog may have replaced since the last attempt; a scheme whose keys depend
    // on it derives them anew). Source stands at the first byte of the entry's data; when the
    // attempt passes, it stands at the first byte of the encrypted content afterwards.
    virtual bool TryPassword(TZAStream& Source, const ZAAnsiString& Password) = 0;
    // Decrypts Count bytes in place, continuing from the bytes decrypted before.
    virtual void Decrypt(uint8_t* Buffer, int64_t Count) = 0;
    // The entry's test after all of its data has been read from Source: true when it
    // passes. Crc is the CRC-32 of the data produced.
    virtual bool VerifyEntry(TZAStream& Source, const TDirItem& Item, uint32_t Crc) = 0;
};

// The AES key length in bits (128, 192, 256) when the encrypted entry Item is read with
// WinZip's AES scheme, 0 when it is read with the traditional encryption.
int32_t AESStrengthOf(const TDirItem& Item);

// The decryption for an encrypted entry whose local header has just been read. Item must
// outlive it.
std::unique_ptr<TZAEntryDecryption> CreateEntryDecryption(const TDirItem& Item,
                                                          const TZAZipLocalHeader& LocalHeader);
