#pragma once
// AES (libcrypto) in the counter mode of WinZip's AES entries: the counter is the first 8
// bytes of the 16-byte block as an unsigned little-endian number (the other 8 stay zero),
// starting at 1, and the key stream runs on across calls, so data may come in pieces of any
// size. Decryption and encryption are the same operation.
#include <openssl/evp.h>

#include <cstdint>
#include <vector>

class TZAAESCounterMode {
public:
    // Key of 16, 24 or 32 bytes.
    TZAAESCounterMode(const uint8_t* Key, int32_t KeyLength);
    ~TZAAESCounterMode();
    TZAAESCounterMode(const TZAAESCounterMode&) = delete;
    TZAAESCounterMode& operator=(const TZAAESCounterMode&) = delete;

    // XORs Count bytes of key stream over Input into Output (which may be Input).
    void Apply(const uint8_t* Input, uint8_t* Output, int64_t Count);
    // AES of Bytes / 16 whole blocks, each on its own: the step the key stream is made of.
    void EncryptBlocks(const uint8_t* Input, uint8_t* Output, int64_t Bytes);

private:
    // Fills FStream with the key stream of Blocks counter values from the next one on.
    void NextKeyStream(int64_t Blocks);

    EVP_CIPHER_CTX* FContext = nullptr;
    uint64_t FCounter = 0;             // the last counter value used
    std::vector<uint8_t> FCounters;    // counter blocks handed to AES in one call
    std::vector<uint8_t> FStream;      // key stream of those blocks
    uint8_t FBlock[16] = {};           // key stream of the current block
    int32_t FPosition = 16;            // next unused byte of FBlock; 16: used up
};
