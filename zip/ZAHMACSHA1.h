#pragma once
// A running HMAC-SHA1 (libcrypto) over bytes that come in pieces.
#include <cstdint>

typedef struct evp_mac_ctx_st EVP_MAC_CTX;

class TZAHMACSHA1 {
public:
    static constexpr int32_t DigestSize = 20;

    TZAHMACSHA1(const uint8_t* Key, int32_t KeyLength);
    ~TZAHMACSHA1();
    TZAHMACSHA1(const TZAHMACSHA1&) = delete;
    TZAHMACSHA1& operator=(const TZAHMACSHA1&) = delete;

    void Update(const uint8_t* Data, int64_t Count);
    // The code over every byte given so far; later calls give the same code.
    void Final(uint8_t (&Digest)[DigestSize]);

private:
    EVP_MAC_CTX* FContext = nullptr;
    bool FFinished = false;
    uint8_t FDigest[DigestSize] = {};
};
