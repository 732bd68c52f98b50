#include "ZAStrFunc.h"

bool IsZAPathDelimiter(char16_t c) { return c == u'/' || c == u'\\' || c == u':'; }

namespace {
size_t AfterLastDelimiter(const ZAString& Path) {
    for (size_t i = Path.size(); i > 0; --i)
        if (IsZAPathDelimiter(Path[i - 1])) return i;
    return 0;
}
}  // namespace

ZAString ZAExtractFileName(const ZAString& Path) { return Path.substr(AfterLastDelimiter(Path)); }

ZAString ZAExtractFilePath(const ZAString& Path) {
    return Path.substr(0, AfterLastDelimiter(Path));
}

ZAString ZAExtractFileExt(const ZAString& Path) {
    const size_t start = AfterLastDelimiter(Path);
    const size_t dot = Path.rfind(u'.');
    if (dot == ZAString::npos || dot < start) return {};
    return Path.substr(dot);
}

ZAString ZAExtractFileDrive(const ZAString& Path) {
    if (Path.size() >= 2 && Path[1] == u':') return Path.substr(0, 2);
    return {};
}

ZAString ZALowerAscii(ZAString Text) {
    for (auto& c : Text)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 0x20);
    return Text;
}

ZAString ZAUpperAscii(ZAString Text) {
    for (auto& c : Text)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 0x20);
    return Text;
}
