#include "ZipArchiver.h"

#include "ZAExcept.h"

TZipArchiver::TZipArchiver(TZAComponent* AOwner) : TZABaseArchiver(AOwner) {
    isZIPFormat = true;
    FZip64Mode = zmDisabled;
    UpdateCompressionMethod();
}

void TZipArchiver::SetPassword(const ZAAnsiString& Value) { FPassword = Value; }

void TZipArchiver::UpdateCompressionMethod() { FCompressionMethod = FCompressionMode != 0 ? 8 : 0; }

void TZipArchiver::MergeWith(const ZAString&) { throw EZANotSupported(u"MergeWith"); }
