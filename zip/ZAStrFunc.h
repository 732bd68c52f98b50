#pragma once
// Path and name helpers of the archiver. A folder part ends at the last "/", "\" or ":"
// (the host's separator, the archiver's own separator and a drive colon).
#include "ZATypes.h"

bool IsZAPathDelimiter(char16_t c);
// The text after the last delimiter.
ZAString ZAExtractFileName(const ZAString& Path);
// The text up to and including the last delimiter (empty when there is none).
ZAString ZAExtractFilePath(const ZAString& Path);
// The text from the last "." on when no delimiter follows it; otherwise empty.
ZAString ZAExtractFileExt(const ZAString& Path);
// The first two characters when the second is ":"; otherwise empty.
ZAString ZAExtractFileDrive(const ZAString& Path);
// Only the ASCII letters A to Z are changed.
ZAString ZALowerAscii(ZAString Text);
ZAString ZAUpperAscii(ZAString Text);
