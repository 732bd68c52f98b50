#pragma once
// Key derivation from a password: PBKDF2 with HMAC-SHA1 (libcrypto) over the password and a
// salt, with a fixed iteration count.
#include <cstdint>
#include <vector>

#include "ZATypes.h"

class TPBKDF2 {
public:
    // The longest password handed to the derivation; longer ones are cut to this.
    static constexpr size_t MaxPasswordLength = 32768;

    // A fresh random salt of SaltSize bytes, each a value from 0 to 254.
    TPBKDF2(const ZAAnsiString& Password, int32_t SaltSize, int32_t Iterations);
    // A copy of the given salt.
    TPBKDF2(const ZAAnsiString& Password, const uint8_t* Salt, int32_t SaltLength,
            int32_t Iterations);

    // Cb derived bytes.
    std::vector<uint8_t> GetKeyBytes(int32_t Cb) const;
    std::vector<uint8_t> GetSaltValue() const { return FSaltValue; }
    int32_t IterationCount() const { return FIterationNumber; }
    void Initialize() {}
    void Reset() {}

private:
    int32_t FIterationNumber;
    std::vector<uint8_t> FSaltValue;
    ZAAnsiString FPassword;
};
