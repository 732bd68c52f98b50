#pragma once
// Basic text types of the archiver. Texts of its interface are UTF-16 (`ZAString`); passwords
// and comments are 8-bit text in the ANSI code page, used as bytes (`ZAAnsiString`).
#include <cstdint>
#include <string>
#include <string_view>

using ZAString = std::u16string;
using ZAAnsiString = std::string;

// Appends the code point `cp` (at most U+10FFFF) to `out`, as a surrogate pair above U+FFFF.
void AppendUtf16(std::u16string& out, char32_t cp);

// UTF-8 <-> UTF-16 for the host's paths and for printing. Ill-formed input becomes U+FFFD.
ZAString Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);
