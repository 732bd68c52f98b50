#pragma once
// WinZip's AES scheme for one entry: keys derived from the password and the entry's salt
// (PBKDF2-HMAC-SHA1, 1000 iterations), AES in WinZip's counter mode over the data, and an
// HMAC-SHA1 over the encrypted bytes whose first 10 bytes follow the data. Stored layout:
// salt (k/2 bytes), password verifier (2 bytes), encrypted data, authentication code.
#include <memory>

#include "ZAAESCounterMode.h"
#include "ZACryptoTransform.h"
#include "ZAHMACSHA1.h"
#include "ZAPBKDF_2.h"

class TAESCryptoTransform : public TZACryptoTransform {
public:
    static constexpr int32_t Iterations = 1000;

    // Strength: the key length in bits (128, 192 or 256). Crypt_version: 1 (AE-1, checked by
    // the CRC-32) or 2 (AE-2, checked by the authentication code).
    TAESCryptoTransform(int32_t Strength, uint16_t Crypt_version, uint16_t ActualCompMethod);
    ~TAESCryptoTransform() override;

    void GenerateKey(const ZAAnsiString& Password) override;
    bool CheckPassword(const ZAAnsiString& Password, const TDirItem& Item) override;
    const TZABytes& GetKey() override;
    const ZAAnsiString& GetPassword() const override { return FPassword; }
    void Reset() override;
    int64_t DecryptBuffer(const uint8_t* Input, int64_t InputOffset, int64_t InputCount,
                          uint8_t* Output, int64_t OutputOffset) override;
    int64_t EncryptBuffer(const uint8_t* Input, int64_t InputOffset, int64_t InputCount,
                          uint8_t* Output, int64_t OutputOffset) override;
    TZABytes GetFileStorageStartBlock() override;
    void LoadFileStorageStartBlock(TZAStream& Stream, int64_t Offset) override;
    int32_t GetFileStorageStartBlockSize() const override;
    TZABytes GetFileStorageEndBlock() override;
    void LoadFileStorageEndBlock(TZAStream& Stream, int64_t Offset) override;
    int32_t GetFileStorageEndBlockSize() const override;
    bool IsDirItemCorrupted(const TDirItem& Item, uint32_t Crc32) override;
    TZAExtraFieldDataBlock GetExtraFieldData() const override;

    // Whether the last load of the start block found its salt and verifier whole; a cut-off
    // block leaves zeros in their place and never passes a check.
    bool StartBlockComplete() const { return !FStartBlockShort; }

private:
    int32_t SaltLength() const { return FKeyLengthBytes / 2; }
    // Keys, verifier, HMAC and cipher from FPassword and FSaltValue.
    void DeriveKeys();
    // A decryption keyed before its salt was known derives on first use.
    void EnsureKeys();
    // PBKDF2 of Password and FSaltValue, 2k + 2 bytes. The last result is kept: one password
    // attempt derives once, though the keys and the check both need it.
    const TZABytes& Derived(const ZAAnsiString& Password);

    std::unique_ptr<TPBKDF2> FKeyGenerator;
    std::unique_ptr<TZAHMACSHA1> FHMAC_Context;
    std::unique_ptr<TZAAESCounterMode> FCryptor;
    uint16_t FKeyLengthBytes;
    TZABytes FHashKey;
    TZABytes FEncryptionKey;
    TZABytes FPasswordVerificationValue;
    TZABytes FSaltValue;
    TZABytes FAuthenticationCode;
    ZAAnsiString FPassword;
    uint16_t FVersion;
    uint16_t FActualCompressionMethod;
    int32_t FAuthenticationCodeSize = 10;

    bool FKeysPending = false;
    bool FStartBlockShort = false;
    bool FEndBlockShort = false;
    bool FHaveDerived = false;
    ZAAnsiString FDerivedPassword;
    TZABytes FDerivedSalt;
    TZABytes FDerived;
};
