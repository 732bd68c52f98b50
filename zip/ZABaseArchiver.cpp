#include "ZABaseArchiver.h"

#include "ZADirManager.h"
#include "ZAExcept.h"
#include "platform/host_files.h"

TZABaseArchiver::TZABaseArchiver(TZAComponent* AOwner) : TZAComponent(AOwner) {
    UpdateCompressionMethod();
}

TZABaseArchiver::~TZABaseArchiver() { CloseArchive(); }

// ---- properties --------------------------------------------------------------------------

void TZABaseArchiver::SetCompressionLevel(TZACompressionLevel Value) {
    static constexpr uint8_t kModeOfLevel[] = {0, 1, 6, 9};
    FCompressionLevel = Value;
    FCompressionMode = kModeOfLevel[Value <= clMax ? Value : clMax];
    UpdateCompressionMethod();
}

void TZABaseArchiver::SetCompressionMode(uint8_t Value) {
    if (Value > 9) throw EZAException(5, this);
    FCompressionMode = Value;
    if (Value == 0) FCompressionLevel = clNone;
    else if (Value <= 3) FCompressionLevel = clFastest;
    else if (Value <= 6) FCompressionLevel = clNormal;
    else FCompressionLevel = clMax;
    UpdateCompressionMethod();
}

ZAString TZABaseArchiver::CurrentVersion() const {
    // The version 6.5 with two decimals and "." whatever the locale, then one blank. Built
    // from hundredths, so no locale-dependent formatting is involved.
    constexpr int kVersionHundredths = 650;
    return ZAFormat(u"%d.%.2d ", {kVersionHundredths / 100, kVersionHundredths % 100});
}

void TZABaseArchiver::SetCurrentVersion(const ZAString&) {}

void TZABaseArchiver::SetPassword(const ZAAnsiString& Value) { FPassword = Value; }

void TZABaseArchiver::SetSpanningMode(TZASpanningMode Value) {
    if (FActive) throw EZAError(u"Cannot set spanning mode on open archive");
    FSpanningMode = Value;
}

void TZABaseArchiver::SetInMemory(bool Value) {
    if (Value == FInMemory) return;
    if (!Value && FFileName.empty()) throw EZAException(29, this);
    // An open archive would be reopened in the other mode, which writes it.
    if (FActive) throw EZANotSupported(u"Switching InMemory on an open archive");
    FInMemory = Value;
}

int64_t TZABaseArchiver::Size() const {
    CheckActive();
    return FCompressedStream ? FCompressedStream->Size() : 0;
}

int32_t TZABaseArchiver::FileCount() {
    CheckActive();
    // A search for "*.*" with the attributes 16 (and Recurse on) visits every entry whose
    // attributes carry none of the hidden, system and volume bits; of those, the ones with
    // the directory bit are folders and are not counted.
    const bool savedRecurse = FOptions.Recurse();
    FOptions.SetRecurse(true);
    const int32_t count = DMHandle->CDir.Count();
    int32_t folders = 0;
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t attr = DMHandle->CDir.ItemPtr(i)->CentralDir.externalAttr;
        if ((attr & 0x10) != 0 && (attr & 0x0E) == 0) ++folders;
    }
    FOptions.SetRecurse(savedRecurse);
    return count - folders;
}

bool TZABaseArchiver::Exists() const { return platform::FileExists(Utf16ToUtf8(FFileName)); }

void TZABaseArchiver::SetActive(bool Value) {
    if (Value == FActive) return;
    if (Value) OpenArchive();
    else CloseArchive();
}

ZAAnsiString TZABaseArchiver::Comment() const {
    if (!FActive || !DMHandle) return {};
    return DMHandle->ArchiveComment;
}

void TZABaseArchiver::SetComment(const ZAAnsiString&) {
    throw EZANotSupported(u"Changing the archive comment");
}

// ---- guards ------------------------------------------------------------------------------

void TZABaseArchiver::CheckActive() const {
    if (!FActive) throw EZAException(13, this);
}

void TZABaseArchiver::CheckNotInUpdate() const {
    if (InUpdate()) throw EZAException(26, this);
}

// ---- virtual operations ------------------------------------------------------------------

void TZABaseArchiver::UpdateCompressionMethod() { FCompressionMethod = 0xFFFF; }

ZAString TZABaseArchiver::ToHandlerName(const ZAString& EntryName) {
    ZAString name = EntryName;
    for (auto& c : name)
        if (c == u'/') c = u'\\';
    return name;
}
