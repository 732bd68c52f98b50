#include "ZAHMACSHA1.h"

#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/params.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

// The HMAC algorithm, fetched once for the process.
EVP_MAC* HmacAlgorithm() {
    static EVP_MAC* const mac = EVP_MAC_fetch(nullptr, "HMAC", nullptr);
    if (!mac) throw std::runtime_error("HMAC is not available");
    return mac;
}

}  // namespace

TZAHMACSHA1::TZAHMACSHA1(const uint8_t* Key, int32_t KeyLength) {
    FContext = EVP_MAC_CTX_new(HmacAlgorithm());
    char digest[] = "SHA1";
    const OSSL_PARAM params[] = {
        OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST, digest, 0),
        OSSL_PARAM_construct_end(),
    };
    if (!FContext || EVP_MAC_init(FContext, Key, static_cast<size_t>(KeyLength), params) != 1) {
        EVP_MAC_CTX_free(FContext);
        throw std::runtime_error("HMAC-SHA1 could not be set up");
    }
}

TZAHMACSHA1::~TZAHMACSHA1() { EVP_MAC_CTX_free(FContext); }

void TZAHMACSHA1::Update(const uint8_t* Data, int64_t Count) {
    if (FFinished) throw std::logic_error("HMAC updated after it was finished");
    constexpr int64_t kStep = int64_t{1} << 30;
    while (Count > 0) {
        const int64_t n = std::min(Count, kStep);
        if (EVP_MAC_update(FContext, Data, static_cast<size_t>(n)) != 1)
            throw std::runtime_error("HMAC-SHA1 failed");
        Data += n;
        Count -= n;
    }
}

void TZAHMACSHA1::Final(uint8_t (&Digest)[DigestSize]) {
    if (!FFinished) {
        size_t length = 0;
        if (EVP_MAC_final(FContext, FDigest, &length, sizeof FDigest) != 1 ||
            length != sizeof FDigest)
            throw std::runtime_error("HMAC-SHA1 failed");
        FFinished = true;
    }
    std::memcpy(Digest, FDigest, sizeof FDigest);
}
