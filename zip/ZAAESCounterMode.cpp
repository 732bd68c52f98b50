#include "ZAAESCounterMode.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

constexpr int64_t kBlock = 16;
// Counter blocks encrypted by one libcrypto call.
constexpr int64_t kBlocksPerCall = 4096;

const EVP_CIPHER* CipherFor(int32_t KeyLength) {
    switch (KeyLength) {
        case 16: return EVP_aes_128_ecb();
        case 24: return EVP_aes_192_ecb();
        case 32: return EVP_aes_256_ecb();
        default: throw std::invalid_argument("AES key of 16, 24 or 32 bytes expected");
    }
}

void Xor(const uint8_t* In, const uint8_t* Stream, uint8_t* Out, int64_t Count) {
    int64_t i = 0;
    for (; i + 8 <= Count; i += 8) {
        uint64_t a, b;
        std::memcpy(&a, In + i, 8);
        std::memcpy(&b, Stream + i, 8);
        a ^= b;
        std::memcpy(Out + i, &a, 8);
    }
    for (; i < Count; ++i) Out[i] = static_cast<uint8_t>(In[i] ^ Stream[i]);
}

}  // namespace

TZAAESCounterMode::TZAAESCounterMode(const uint8_t* Key, int32_t KeyLength) {
    const EVP_CIPHER* cipher = CipherFor(KeyLength);
    FContext = EVP_CIPHER_CTX_new();
    if (!FContext || EVP_EncryptInit_ex(FContext, cipher, nullptr, Key, nullptr) != 1 ||
        EVP_CIPHER_CTX_set_padding(FContext, 0) != 1) {
        EVP_CIPHER_CTX_free(FContext);
        throw std::runtime_error("AES cipher could not be set up");
    }
}

TZAAESCounterMode::~TZAAESCounterMode() { EVP_CIPHER_CTX_free(FContext); }

void TZAAESCounterMode::NextKeyStream(int64_t Blocks) {
    const auto bytes = static_cast<size_t>(Blocks * kBlock);
    if (FCounters.size() < bytes) {
        FCounters.assign(bytes, 0);  // bytes 8 to 15 of every counter block stay zero
        FStream.resize(bytes);
    }
    for (int64_t b = 0; b < Blocks; ++b) {
        uint64_t counter = ++FCounter;
        uint8_t* block = FCounters.data() + b * kBlock;
        for (int i = 0; i < 8; ++i, counter >>= 8) block[i] = static_cast<uint8_t>(counter);
    }
    EncryptBlocks(FCounters.data(), FStream.data(), static_cast<int64_t>(bytes));
}

void TZAAESCounterMode::EncryptBlocks(const uint8_t* Input, uint8_t* Output, int64_t Bytes) {
    const int64_t whole = Bytes / kBlock * kBlock;
    for (int64_t done = 0; done < whole;) {
        const int n = static_cast<int>(std::min<int64_t>(whole - done, kBlocksPerCall * kBlock));
        int produced = 0;
        if (EVP_EncryptUpdate(FContext, Output + done, &produced, Input + done, n) != 1 ||
            produced != n)
            throw std::runtime_error("AES encryption failed");
        done += n;
    }
}

void TZAAESCounterMode::Apply(const uint8_t* Input, uint8_t* Output, int64_t Count) {
    // The rest of the current block first.
    const int64_t head = std::min<int64_t>(Count, kBlock - FPosition);
    if (head > 0) {
        Xor(Input, FBlock + FPosition, Output, head);
        FPosition += static_cast<int32_t>(head);
        Input += head;
        Output += head;
        Count -= head;
    }
    // Whole blocks, many per libcrypto call.
    while (Count >= kBlock) {
        const int64_t blocks = std::min(Count / kBlock, kBlocksPerCall);
        NextKeyStream(blocks);
        const int64_t n = blocks * kBlock;
        Xor(Input, FStream.data(), Output, n);
        Input += n;
        Output += n;
        Count -= n;
    }
    // A piece of one more block, whose rest waits for the next call.
    if (Count > 0) {
        NextKeyStream(1);
        std::memcpy(FBlock, FStream.data(), kBlock);
        Xor(Input, FBlock, Output, Count);
        FPosition = static_cast<int32_t>(Count);
    }
}
