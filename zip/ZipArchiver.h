#pragma once
// The ZIP archiver: the component the application uses.
#include "ZABaseArchiver.h"

class TZipArchiver : public TZABaseArchiver {
public:
    explicit TZipArchiver(TZAComponent* AOwner = nullptr);

    void SetPassword(const ZAAnsiString& Value) override;

    // Write-side properties published by the ZIP archiver.
    bool UnicodeFilenames() const { return FUnicodeFilenames; }
    void SetUnicodeFilenames(bool Value) { FUnicodeFilenames = Value; }
    TZACryptoAlgorithm EncryptionMethod() const { return FZACryptoAlgorithm; }
    void SetEncryptionMethod(TZACryptoAlgorithm Value) { FZACryptoAlgorithm = Value; }

    // Archive writing: raises EZANotSupported.
    void MergeWith(const ZAString& ArchiveFileName);

protected:
    void UpdateCompressionMethod() override;
};
