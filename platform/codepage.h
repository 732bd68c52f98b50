#pragma once
// The single-byte code pages of a German Windows: OEM 850 and ANSI 1252, with the conversion
// Windows performs from OEM to ANSI text (OemToCharA): each OEM character goes to its ANSI
// counterpart, or to Windows' best-fit character where 1252 lacks it (box drawing to "+", "-"
// or the broken bar, the dotless i to "i", ...).
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The UTF-16 code unit of a byte of code page 850.
char16_t Cp850ToUnicode(uint8_t b);
// The UTF-16 code unit of a byte of code page 1252; the five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control characters of the same value.
char16_t Cp1252ToUnicode(uint8_t b);
// The 1252 byte of a character: its own byte where the code page has it, Windows' best fit for
// the characters of code page 850 that 1252 lacks, and "?" for anything else.
uint8_t UnicodeToCp1252(char16_t c);

// OEM 850 bytes to ANSI 1252 bytes, in place, up to the first zero byte (the bytes behind it
// stay as they are).
void OemToAnsiInPlace(std::string& bytes);
// Code page 1252 bytes as UTF-16.
std::u16string Cp1252ToUtf16(std::string_view bytes);
// UTF-16 text as code page 1252 bytes, character by character as UnicodeToCp1252.
std::string Utf16ToCp1252(std::u16string_view text);

}  // namespace platform
