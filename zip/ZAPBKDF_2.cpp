#include "ZAPBKDF_2.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <algorithm>
#include <stdexcept>

namespace {

ZAAnsiString Limited(const ZAAnsiString& Password) {
    return Password.size() > TPBKDF2::MaxPasswordLength
               ? Password.substr(0, TPBKDF2::MaxPasswordLength)
               : Password;
}

}  // namespace

TPBKDF2::TPBKDF2(const ZAAnsiString& Password, int32_t SaltSize, int32_t Iterations)
    : FIterationNumber(Iterations), FPassword(Limited(Password)) {
    // Salt bytes from the system's cryptographic generator; 255 is never used, so drawn
    // again.
    FSaltValue.reserve(static_cast<size_t>(std::max(SaltSize, 0)));
    while (static_cast<int32_t>(FSaltValue.size()) < SaltSize) {
        unsigned char b = 0;
        if (RAND_bytes(&b, 1) != 1) throw std::runtime_error("no random bytes for a salt");
        if (b != 255) FSaltValue.push_back(b);
    }
}

TPBKDF2::TPBKDF2(const ZAAnsiString& Password, const uint8_t* Salt, int32_t SaltLength,
                 int32_t Iterations)
    : FIterationNumber(Iterations),
      FSaltValue(Salt, Salt + std::max(SaltLength, 0)),
      FPassword(Limited(Password)) {}

std::vector<uint8_t> TPBKDF2::GetKeyBytes(int32_t Cb) const {
    std::vector<uint8_t> key(static_cast<size_t>(std::max(Cb, 0)));
    if (key.empty()) return key;
    if (PKCS5_PBKDF2_HMAC(FPassword.data(), static_cast<int>(FPassword.size()),
                          FSaltValue.data(), static_cast<int>(FSaltValue.size()),
                          FIterationNumber, EVP_sha1(), static_cast<int>(key.size()),
                          key.data()) != 1)
        throw std::runtime_error("PBKDF2 failed");
    return key;
}
