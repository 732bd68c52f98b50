// The building blocks of the AES scheme against published known answers, and WinZip's
// counter mode against its definition.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "zip/ZAAESCounterMode.h"
#include "zip/ZAHMACSHA1.h"
#include "zip/ZAPBKDF_2.h"

namespace {

std::vector<uint8_t> FromHex(const std::string& hex) {
    std::vector<uint8_t> out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return out;
}

std::string ToHex(const uint8_t* p, size_t n) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < n; ++i) {
        out.push_back(digits[p[i] >> 4]);
        out.push_back(digits[p[i] & 15]);
    }
    return out;
}

std::vector<uint8_t> Sequence(size_t n) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i);
    return v;
}

TEST(CryptoPrimitives, PBKDF2HmacSha1KnownAnswers) {
    // RFC 6070.
    struct Case {
        std::string password, salt;
        int32_t iterations, length;
        const char* derived;
    };
    const Case cases[] = {
        {"password", "salt", 1, 20, "0c60c80f961f0e71f3a9b524af6012062fe037a6"},
        {"password", "salt", 2, 20, "ea6c014dc72d6f8ccd1ed92ace1d41f0d8de8957"},
        {"password", "salt", 4096, 20, "4b007901b765489abead49d926f721d065a429c1"},
        {"passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096, 25,
         "3d2eec4fe41c849b80c8d83662c0e44a8b291a964cf2f07038"},
        {std::string("pass\0word", 9), std::string("sa\0lt", 5), 4096, 16,
         "56fa6aa75548099dcc37d7f03425e0c3"},
    };
    for (const Case& c : cases) {
        const TPBKDF2 kdf(c.password, reinterpret_cast<const uint8_t*>(c.salt.data()),
                          static_cast<int32_t>(c.salt.size()), c.iterations);
        const std::vector<uint8_t> key = kdf.GetKeyBytes(c.length);
        EXPECT_EQ(ToHex(key.data(), key.size()), c.derived) << c.password << " " << c.iterations;
        EXPECT_EQ(kdf.IterationCount(), c.iterations);
    }
}

TEST(CryptoPrimitives, PBKDF2RandomSaltHasTheSizeAndNeverTheByte255) {
    const TPBKDF2 kdf("pw", 4000, 1000);
    const std::vector<uint8_t> salt = kdf.GetSaltValue();
    ASSERT_EQ(salt.size(), 4000u);
    for (uint8_t b : salt) ASSERT_NE(b, 255);
    EXPECT_NE(TPBKDF2("pw", 16, 1000).GetSaltValue(), TPBKDF2("pw", 16, 1000).GetSaltValue());
}

TEST(CryptoPrimitives, AesKnownAnswers) {
    // FIPS 197, appendix C: one plaintext under a 128-, 192- and 256-bit key.
    const std::vector<uint8_t> plain = FromHex("00112233445566778899aabbccddeeff");
    struct Case {
        size_t keyLength;
        const char* cipher;
    };
    for (const Case& c : {Case{16, "69c4e0d86a7b0430d8cdb78070b4c55a"},
                          Case{24, "dda97ca4864cdfe06eaf70a0ec0d7191"},
                          Case{32, "8ea2b7ca516745bfeafc49904b496089"}}) {
        const std::vector<uint8_t> key = Sequence(c.keyLength);
        TZAAESCounterMode aes(key.data(), static_cast<int32_t>(key.size()));
        uint8_t out[16];
        aes.EncryptBlocks(plain.data(), out, 16);
        EXPECT_EQ(ToHex(out, 16), c.cipher) << c.keyLength;
    }
}

TEST(CryptoPrimitives, HmacSha1KnownAnswerInPieces) {
    // RFC 2202, test case 1, given in two pieces.
    const std::vector<uint8_t> key(20, 0x0b);
    TZAHMACSHA1 mac(key.data(), 20);
    mac.Update(reinterpret_cast<const uint8_t*>("Hi "), 3);
    mac.Update(reinterpret_cast<const uint8_t*>("There"), 5);
    uint8_t digest[TZAHMACSHA1::DigestSize];
    mac.Final(digest);
    EXPECT_EQ(ToHex(digest, sizeof digest), "b617318655057264e28bc0b6fb378c8ef146be00");
}

// The key stream is the AES of the counter values 1, 2, 3, ... written little-endian into
// the first 8 bytes of a block whose other 8 bytes are zero; it runs on across calls.
TEST(CryptoPrimitives, CounterModeIsWinZipsLittleEndianCounterInAnyPieces) {
    const std::vector<uint8_t> key = Sequence(32);
    // Past counter 256 (a carry into the second byte) and past one batch of blocks.
    const size_t size = 16 * 4200 + 7;
    std::vector<uint8_t> counters(size / 16 * 16 + 16, 0);
    for (size_t b = 0; b < counters.size() / 16; ++b) {
        uint64_t v = b + 1;
        for (int i = 0; i < 8; ++i, v >>= 8) counters[b * 16 + i] = static_cast<uint8_t>(v);
    }
    std::vector<uint8_t> expected(counters.size());
    TZAAESCounterMode(key.data(), 32).EncryptBlocks(counters.data(), expected.data(),
                                                    static_cast<int64_t>(counters.size()));
    expected.resize(size);  // XOR over zero bytes: the key stream itself

    for (size_t piece : {size, size_t{1}, size_t{15}, size_t{16}, size_t{17}}) {
        TZAAESCounterMode ctr(key.data(), 32);
        std::vector<uint8_t> data(size, 0);
        for (size_t pos = 0; pos < size; pos += piece)
            ctr.Apply(data.data() + pos, data.data() + pos,
                      static_cast<int64_t>(std::min(piece, size - pos)));
        EXPECT_EQ(data, expected) << "pieces of " << piece;
    }
}

}  // namespace
