#pragma once
// printf-style formatting of the archiver's UTF-16 texts. Supported: %s (a text), %d and %u (a
// number), each with optional "-" (left-align), "0" (pad with zeros), a width and a precision
// (minimum digits for numbers, maximum characters for texts), and %% for a percent sign.
// An argument of the wrong kind or a missing argument formats as nothing; surplus arguments
// are ignored.
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <type_traits>
#include <variant>

#include "ZATypes.h"

class TZAFormatArg {
public:
    TZAFormatArg(ZAString text) : FValue(std::move(text)) {}
    TZAFormatArg(const char16_t* text) : FValue(ZAString(text)) {}
    TZAFormatArg(std::u16string_view text) : FValue(ZAString(text)) {}
    template <typename T, typename = std::enable_if_t<std::is_integral_v<T>>>
    TZAFormatArg(T number) : FValue(static_cast<int64_t>(number)) {}

    const ZAString* Text() const { return std::get_if<ZAString>(&FValue); }
    const int64_t* Number() const { return std::get_if<int64_t>(&FValue); }

private:
    std::variant<ZAString, int64_t> FValue;
};

ZAString ZAFormat(std::u16string_view format, std::initializer_list<TZAFormatArg> args);

// ASCII text to UTF-16 (for literals and numbers built with the C library).
ZAString AsciiToZA(std::string_view ascii);
