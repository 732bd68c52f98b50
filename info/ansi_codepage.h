#pragma once
// The Windows ANSI code page 1252, the encoding of texts that carry no byte-order mark.
#include <QString>
#include <string_view>

// The character for one byte. The five bytes the code page leaves open map to the control
// characters of the same number, as the system's own conversion does.
char16_t AnsiCharToUnicode(unsigned char byte);

QString AnsiToUnicode(std::string_view bytes);
