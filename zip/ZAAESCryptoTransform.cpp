#include "ZAAESCryptoTransform.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "ZADirItem.h"
#include "ZAStream.h"

namespace {

// Reads up to Count bytes into Buffer (zeroed first); true when all of them came.
bool ReadWhole(TZAStream& Stream, TZABytes& Buffer, size_t Count) {
    Buffer.assign(Count, 0);
    if (Count == 0) return true;
    const int64_t got = Stream.Read(Buffer.data(), static_cast<int64_t>(Count));
    return got == static_cast<int64_t>(Count);
}

}  // namespace

TAESCryptoTransform::TAESCryptoTransform(int32_t Strength, uint16_t Crypt_version,
                                         uint16_t ActualCompMethod)
    : FKeyLengthBytes(static_cast<uint16_t>(std::lround(Strength / 8.0))),
      FVersion(Crypt_version),
      FActualCompressionMethod(ActualCompMethod) {
    if (FKeyLengthBytes != 16 && FKeyLengthBytes != 24 && FKeyLengthBytes != 32)
        throw std::invalid_argument("AES strength of 128, 192 or 256 bits expected");
}

TAESCryptoTransform::~TAESCryptoTransform() = default;

const TZABytes& TAESCryptoTransform::Derived(const ZAAnsiString& Password) {
    if (!FHaveDerived || Password != FDerivedPassword || FSaltValue != FDerivedSalt) {
        const TPBKDF2 generator(Password, FSaltValue.data(),
                                static_cast<int32_t>(FSaltValue.size()), Iterations);
        FDerived = generator.GetKeyBytes(2 * FKeyLengthBytes + 2);
        FDerivedPassword = Password;
        FDerivedSalt = FSaltValue;
        FHaveDerived = true;
    }
    return FDerived;
}

void TAESCryptoTransform::DeriveKeys() {
    const size_t k = FKeyLengthBytes;
    FKeyGenerator = std::make_unique<TPBKDF2>(FPassword, FSaltValue.data(),
                                              static_cast<int32_t>(FSaltValue.size()), Iterations);
    const TZABytes& bytes = Derived(FPassword);
    FEncryptionKey.assign(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(k));
    FHashKey.assign(bytes.begin() + static_cast<ptrdiff_t>(k),
                    bytes.begin() + static_cast<ptrdiff_t>(2 * k));
    FPasswordVerificationValue.assign(bytes.begin() + static_cast<ptrdiff_t>(2 * k), bytes.end());
    FHMAC_Context = std::make_unique<TZAHMACSHA1>(FHashKey.data(), static_cast<int32_t>(k));
    FCryptor = std::make_unique<TZAAESCounterMode>(FEncryptionKey.data(), static_cast<int32_t>(k));
    FKeysPending = false;
}

void TAESCryptoTransform::GenerateKey(const ZAAnsiString& Password) {
    FPassword = Password;
    if (FTransformMode == TCryptoTransformMode::Decryption && !FSaltValue.empty()) {
        DeriveKeys();
    } else if (FTransformMode == TCryptoTransformMode::Decryption) {
        // The entry's salt comes with its start block, which derives the keys again: wait
        // for it rather than derive from a salt that is thrown away.
        FKeysPending = true;
    } else {
        FSaltValue = TPBKDF2(Password, SaltLength(), Iterations).GetSaltValue();
        DeriveKeys();
    }
}

void TAESCryptoTransform::EnsureKeys() {
    if (!FKeysPending && FCryptor) return;
    if (FSaltValue.empty()) FSaltValue = TPBKDF2(FPassword, SaltLength(), Iterations).GetSaltValue();
    DeriveKeys();
}

bool TAESCryptoTransform::CheckPassword(const ZAAnsiString& Password, const TDirItem&) {
    if (FStartBlockShort || FPasswordVerificationValue.size() != 2) return false;
    const TZABytes& bytes = Derived(Password);
    const size_t at = 2u * FKeyLengthBytes;
    return bytes[at] == FPasswordVerificationValue[0] &&
           bytes[at + 1] == FPasswordVerificationValue[1];
}

const TZABytes& TAESCryptoTransform::GetKey() {
    EnsureKeys();
    return FEncryptionKey;
}

void TAESCryptoTransform::Reset() {
    FPassword.clear();
    FKeyLengthBytes = 0;
    FEncryptionKey.clear();
    FHashKey.clear();
    FSaltValue.clear();
    FPasswordVerificationValue.clear();
    FAuthenticationCode.clear();
    FKeyGenerator.reset();
    FHMAC_Context.reset();
    FCryptor.reset();
    FKeysPending = false;
    FHaveDerived = false;
}

int64_t TAESCryptoTransform::DecryptBuffer(const uint8_t* Input, int64_t InputOffset,
                                           int64_t InputCount, uint8_t* Output,
                                           int64_t OutputOffset) {
    if (InputCount <= 0) return 0;
    EnsureKeys();
    FHMAC_Context->Update(Input + InputOffset, InputCount);
    FCryptor->Apply(Input + InputOffset, Output + OutputOffset, InputCount);
    return InputCount;
}

int64_t TAESCryptoTransform::EncryptBuffer(const uint8_t* Input, int64_t InputOffset,
                                           int64_t InputCount, uint8_t* Output,
                                           int64_t OutputOffset) {
    if (InputCount <= 0) return 0;
    EnsureKeys();
    FCryptor->Apply(Input + InputOffset, Output + OutputOffset, InputCount);
    FHMAC_Context->Update(Output + OutputOffset, InputCount);
    return InputCount;
}

int32_t TAESCryptoTransform::GetFileStorageStartBlockSize() const { return SaltLength() + 2; }

TZABytes TAESCryptoTransform::GetFileStorageStartBlock() {
    EnsureKeys();
    TZABytes block = FSaltValue;
    block.insert(block.end(), FPasswordVerificationValue.begin(), FPasswordVerificationValue.end());
    return block;
}

void TAESCryptoTransform::LoadFileStorageStartBlock(TZAStream& Stream, int64_t Offset) {
    Stream.Seek(Offset, soCurrent);
    bool whole = ReadWhole(Stream, FSaltValue, static_cast<size_t>(SaltLength()));
    DeriveKeys();
    TZABytes verifier;
    whole = ReadWhole(Stream, verifier, 2) && whole;
    FPasswordVerificationValue = verifier;
    FStartBlockShort = !whole;
}

int32_t TAESCryptoTransform::GetFileStorageEndBlockSize() const {
    return FVersion == 1 ? 0 : FAuthenticationCodeSize;
}

TZABytes TAESCryptoTransform::GetFileStorageEndBlock() {
    if (FVersion == 1) return {};
    EnsureKeys();
    uint8_t digest[TZAHMACSHA1::DigestSize];
    FHMAC_Context->Final(digest);
    FAuthenticationCode.assign(digest, digest + FAuthenticationCodeSize);
    return FAuthenticationCode;
}

void TAESCryptoTransform::LoadFileStorageEndBlock(TZAStream& Stream, int64_t Offset) {
    if (FVersion == 1) return;
    Stream.Seek(Offset, soCurrent);
    FEndBlockShort = !ReadWhole(Stream, FAuthenticationCode,
                                static_cast<size_t>(FAuthenticationCodeSize));
}

bool TAESCryptoTransform::IsDirItemCorrupted(const TDirItem& Item, uint32_t Crc32) {
    if (FVersion == 1) return Crc32 != Item.CentralDir.crc32;
    // A code or salt cut off by the end of the file is never taken as a match.
    if (FStartBlockShort || FEndBlockShort || !FHMAC_Context ||
        FAuthenticationCode.size() != static_cast<size_t>(FAuthenticationCodeSize))
        return true;
    uint8_t digest[TZAHMACSHA1::DigestSize];
    FHMAC_Context->Final(digest);
    return !std::equal(FAuthenticationCode.begin(), FAuthenticationCode.end(), digest);
}

TZAExtraFieldDataBlock TAESCryptoTransform::GetExtraFieldData() const {
    TZAExtraFieldDataBlock block;
    block.headerID = ZA_EXTRA_AES;
    block.dataSize = 7;
    const uint8_t strength = FKeyLengthBytes == 16 ? 1 : FKeyLengthBytes == 24 ? 2 : 3;
    block.pData = {static_cast<uint8_t>(FVersion),
                   static_cast<uint8_t>(FVersion >> 8),
                   'A',
                   'E',
                   strength,
                   static_cast<uint8_t>(FActualCompressionMethod),
                   static_cast<uint8_t>(FActualCompressionMethod >> 8)};
    return block;
}
