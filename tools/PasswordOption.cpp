#include "tools/PasswordOption.h"

#include "platform/codepage.h"
#include "zip/ZABaseArchiver.h"

void ApplyPasswordOption(TZABaseArchiver& Archiver, const std::string& Utf8Password) {
    Archiver.SetPassword(platform::Utf16ToCp1252(Utf8ToUtf16(Utf8Password)));
}

std::string SkippedEntryMessage(const ZAString& EntryName) {
    return "Skipped \"" + Utf16ToUtf8(EntryName) + "\": no valid password given";
}
